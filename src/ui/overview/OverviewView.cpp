#include "ui/overview/OverviewView.h"

#include "common/FixedDecimal.h"
#include "ui/components/AdaptiveGridLayout.h"
#include "ui/components/GlassCard.h"
#include "ui/components/LabeledField.h"
#include "ui/components/ModelRefresh.h"
#include "ui/components/PlainLabel.h"
#include "ui/components/Spinner.h"
#include "ui/components/StatusPill.h"
#include "ui/components/SymbolTile.h"
#include "ui/overview/Code128BarcodeView.h"
#include "ui/overview/HardwareCard.h"
#include "ui/theme/WrenlowFont.h"
#include "workflow/DashboardViewModel.h"

#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>

namespace wrenlow {

namespace {

constexpr int barcodePadding = 7;
const QSize barcodeSize(190, 46);

// The white ground of the barcode; the hero's card is translucent and the code needs contrast in either theme.
class BarcodeFrame : public QWidget
{
public:
    explicit BarcodeFrame(Code128BarcodeView *barcode)
    {
        setObjectName(QStringLiteral("barcodeFrame"));
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(barcodePadding, barcodePadding, barcodePadding, barcodePadding);
        barcode->setFixedSize(barcodeSize);
        layout->addWidget(barcode);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(WrenlowTheme::color(ThemeRole::White, this));
        painter.drawRoundedRect(QRectF(rect()), 8, 8);
    }
};

} // namespace

QString elapsedText(double seconds)
{
    return fixedDecimal(seconds, 1) + QLatin1Char('s');
}

OverviewView::OverviewView(DashboardViewModel &model, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
{
    setObjectName(QStringLiteral("overviewPage"));
    auto *scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("overviewScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Left to itself the viewport paints the palette's base colour over the window's gradient.
    scroll->viewport()->setAutoFillBackground(false);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);

    auto *content = new QWidget;
    content->setObjectName(QStringLiteral("overviewContent"));
    auto *stack = new QVBoxLayout(content);
    stack->setContentsMargins(24, 24, 24, 24);
    stack->setSpacing(18);
    stack->addWidget(buildHero());
    m_readingCard = buildReadingCard();
    stack->addWidget(m_readingCard);
    m_grid = new QWidget;
    m_grid->setObjectName(QStringLiteral("sectionGrid"));
    m_gridLayout = new AdaptiveGridLayout(300, 14, m_grid);
    m_gridLayout->setContentsMargins(0, 0, 0, 0);
    stack->addWidget(m_grid);
    stack->addStretch(1);
    scroll->setWidget(content);
    // The scroll area makes its widget paint the window colour; the page stands on the window's gradient instead.
    content->setAutoFillBackground(false);

    // Only the snapshot shows here; marks re-announce it with unchanged sections, which costs no widget.
    new ModelRefresh(m_model, this, [this](const ModelRefresh::Fields &changed) {
        if (changed.contains(DashboardViewModel::Field::snapshot))
            refresh();
    });
    refresh();
}

QWidget *OverviewView::buildHero()
{
    auto *hero = new GlassCard;
    hero->setObjectName(QStringLiteral("heroCard"));
    auto *row = new QHBoxLayout;
    row->setSpacing(22);
    hero->contentLayout()->addLayout(row);

    m_heroIcon = new SymbolTile({SymbolTile::Fill::AccentGradient, 108, 22, 50, ThemeRole::HeroIcon});
    m_heroIcon->setObjectName(QStringLiteral("heroIcon"));
    row->addWidget(m_heroIcon, 0, Qt::AlignVCenter);

    // Only as high as its texts and centred in the row: stretched to the scan column's height, the caption would
    // take the spare room and push the model name down.
    auto *identityColumn = new QWidget;
    identityColumn->setObjectName(QStringLiteral("heroIdentity"));
    auto *identity = new QVBoxLayout(identityColumn);
    identity->setContentsMargins(0, 0, 0, 0);
    identity->setSpacing(7);
    QLabel *caption = makeLabel(QStringLiteral("MAC ASSESSMENT"),
                                WrenlowFont::font(10, QFont::Bold, FontDesign::Rounded, 1.8), ThemeRole::Accent);
    caption->setObjectName(QStringLiteral("heroCaption"));
    identity->addWidget(caption);
    m_heroTitle = new PlainLabel;
    m_heroTitle->setObjectName(QStringLiteral("heroTitle"));
    m_heroTitle->setFont(WrenlowFont::font(27, QFont::Bold, FontDesign::Rounded));
    identity->addWidget(m_heroTitle);
    QLabel *description = makeLabel(
        QStringLiteral("Native inventory and technician diagnostics, tuned for both Apple Silicon and Intel Macs."),
        WrenlowFont::font(13), ThemeRole::Muted);
    description->setWordWrap(true);
    identity->addWidget(description);

    m_pills = new QWidget;
    m_pills->setObjectName(QStringLiteral("heroPills"));
    auto *pills = new QHBoxLayout(m_pills);
    pills->setContentsMargins(0, 3, 0, 0);
    pills->setSpacing(9);
    m_architecturePill = new StatusPill({}, ThemeRole::Accent);
    m_architecturePill->setObjectName(QStringLiteral("architecturePill"));
    m_sectionsPill = new StatusPill({}, ThemeRole::Accent2);
    m_sectionsPill->setObjectName(QStringLiteral("sectionsPill"));
    m_checksPill = new StatusPill({}, ThemeRole::Green);
    m_checksPill->setObjectName(QStringLiteral("checksPill"));
    for (StatusPill *pill : {m_architecturePill, m_sectionsPill, m_checksPill})
        pills->addWidget(pill);
    pills->addStretch(1);
    identity->addWidget(m_pills);
    row->addWidget(identityColumn, 1, Qt::AlignVCenter);

    row->addWidget(buildScanColumn(), 0, Qt::AlignVCenter);
    return hero;
}

QWidget *OverviewView::buildScanColumn()
{
    m_scanColumn = new QWidget;
    m_scanColumn->setObjectName(QStringLiteral("scanColumn"));
    auto *column = new QVBoxLayout(m_scanColumn);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);

    m_elapsed = new QLabel;
    m_elapsed->setObjectName(QStringLiteral("elapsedTime"));
    m_elapsed->setFont(WrenlowFont::withTabularDigits(WrenlowFont::font(28, QFont::Light, FontDesign::Rounded)));
    column->addWidget(m_elapsed, 0, Qt::AlignTrailing);
    column->addWidget(makeCaption(QStringLiteral("LAST SCAN")), 0, Qt::AlignTrailing);

    m_barcode = new Code128BarcodeView;
    m_barcodeFrame = new BarcodeFrame(m_barcode);
    column->addWidget(m_barcodeFrame, 0, Qt::AlignTrailing);
    m_serial = new PlainLabel;
    m_serial->setObjectName(QStringLiteral("serialText"));
    m_serial->setWordWrap(false);
    m_serial->setFont(WrenlowFont::font(9, QFont::DemiBold, FontDesign::Monospaced));
    WrenlowTheme::setForeground(m_serial, ThemeRole::Muted);
    column->addWidget(m_serial, 0, Qt::AlignTrailing);
    return m_scanColumn;
}

GlassCard *OverviewView::buildReadingCard()
{
    auto *card = new GlassCard;
    card->setObjectName(QStringLiteral("readingCard"));
    auto *row = new QHBoxLayout;
    row->setSpacing(8);
    row->addWidget(new Spinner(16, ThemeRole::Muted));
    QLabel *text = makeLabel(QStringLiteral("Reading this Mac…"), WrenlowFont::font(13), ThemeRole::Muted);
    text->setObjectName(QStringLiteral("readingText"));
    row->addWidget(text);
    row->addStretch(1);
    card->contentLayout()->addLayout(row);
    return card;
}

void OverviewView::refresh()
{
    const std::optional<InventorySnapshot> &snapshot = m_model.snapshot();
    showHero(snapshot ? &*snapshot : nullptr);
    m_readingCard->setVisible(!snapshot);
    m_grid->setVisible(snapshot.has_value());
    showSections(snapshot ? snapshot->sections : QList<InventorySection>());
}

void OverviewView::showHero(const InventorySnapshot *snapshot)
{
    const bool laptop = snapshot && snapshot->model.contains(QStringLiteral("MacBook"), Qt::CaseInsensitive);
    m_heroIcon->setSymbol(laptop ? QStringLiteral("laptopcomputer") : QStringLiteral("desktopcomputer"));
    m_heroTitle->setOutsideText(snapshot ? snapshot->model : QStringLiteral("Scanning hardware"));
    m_pills->setVisible(snapshot != nullptr);
    m_scanColumn->setVisible(snapshot != nullptr);
    if (!snapshot)
        return;

    m_architecturePill->setText(snapshot->architecture == u"arm64" ? QStringLiteral("Apple Silicon")
                                                                   : QStringLiteral("Intel"));
    m_sectionsPill->setText(QString::number(snapshot->sections.size()) + QStringLiteral(" sections"));
    m_checksPill->setText(QString::number(snapshot->diagnostics.size()) + QStringLiteral(" checks"));
    m_elapsed->setText(elapsedText(snapshot->elapsedSeconds));
    const bool reported = snapshot->serial != u"Not reported";
    m_barcode->setValue(reported ? snapshot->serial : QString());
    m_serial->setOutsideText(reported ? snapshot->serial : QString());
    m_barcodeFrame->setVisible(reported);
    m_serial->setVisible(reported);
}

void OverviewView::showSections(const QList<InventorySection> &sections)
{
    // A card follows its section by id from scan to scan; only new sections get new cards.
    QMultiHash<QString, HardwareCard *> existing;
    for (HardwareCard *card : std::as_const(m_cards))
        existing.insert(card->section().id, card);
    QList<HardwareCard *> cards;
    cards.reserve(sections.size());
    for (const InventorySection &section : sections) {
        if (HardwareCard *card = existing.take(section.id)) {
            card->setSection(section);
            cards.append(card);
        } else {
            cards.append(new HardwareCard(section, m_grid));
        }
    }
    qDeleteAll(existing);
    if (cards == m_cards)
        return;
    for (HardwareCard *card : std::as_const(cards))
        m_gridLayout->removeWidget(card);
    for (HardwareCard *card : std::as_const(cards))
        m_gridLayout->addWidget(card);
    m_cards = cards;
}

} // namespace wrenlow
