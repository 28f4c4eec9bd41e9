#include "ui/upload/BackendSessionCard.h"

#include "ui/components/LabeledField.h"
#include "ui/components/MenuPicker.h"
#include "ui/components/PlainLabel.h"
#include "ui/components/StatusPill.h"
#include "ui/components/SymbolView.h"
#include "ui/components/TintedButton.h"
#include "ui/components/ToggleSwitch.h"
#include "ui/theme/IconProvider.h"
#include "ui/theme/WrenlowFont.h"
#include "ui/upload/UploadParts.h"
#include "workflow/DashboardViewModel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QVBoxLayout>

namespace wrenlow {

namespace {

using Model = DashboardViewModel;

// A rounded shape of one theme colour: a translucent fill, optionally an outline, optionally a symbol in the
// middle. The header's icon tile and the offline notice's background.
class TintedShape : public QWidget
{
public:
    TintedShape(ThemeRole color, qreal fill, qreal stroke, QWidget *parent)
        : QWidget(parent)
        , m_color(color)
        , m_fill(fill)
        , m_stroke(stroke)
    {}

    void setSymbol(const QString &symbol, int pixelSize)
    {
        m_symbol = symbol;
        m_symbolSize = pixelSize;
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath shape;
        shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 12, 12);
        painter.fillPath(shape, WrenlowTheme::color(m_color, this, m_fill));
        if (m_stroke > 0) {
            painter.setPen(QPen(WrenlowTheme::color(m_color, this, m_stroke), 1));
            painter.drawPath(shape);
        }
        if (!m_symbol.isEmpty()) {
            const QRectF square(QPointF(0, 0), QSizeF(m_symbolSize, m_symbolSize));
            IconProvider::paint(painter, square.translated(QRectF(rect()).center() - square.center()), m_symbol,
                                WrenlowTheme::color(m_color, this));
        }
    }

private:
    ThemeRole m_color;
    qreal m_fill;
    qreal m_stroke;
    QString m_symbol;
    int m_symbolSize = 0;
};

QComboBox *menu(const char *name, const QString &title, QWidget *parent)
{
    auto *combo = new MenuPicker(parent);
    combo->setObjectName(QLatin1String(name));
    combo->setAccessibleName(title);
    return combo;
}

std::optional<qint64> chosenId(const QComboBox *combo, int index)
{
    const QVariant value = combo->itemData(index);
    return value.isValid() ? std::optional<qint64>(value.toLongLong()) : std::nullopt;
}

QVariant idValue(std::optional<qint64> id)
{
    return id ? QVariant(*id) : QVariant();
}

} // namespace

BackendSessionCard::BackendSessionCard(DashboardViewModel &model, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
{
    setObjectName(QStringLiteral("backendSessionCard"));
    auto *stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(16);
    stack->addWidget(makeHeader());
    stack->addWidget(makeOfflineNotice());
    stack->addWidget(makeSignInRow());
    stack->addWidget(makeSignedInBlock());
    m_status = upload::makeOutsideText("korvaneStatusLine", 10, QFont::Normal, ThemeRole::Muted, this);
    stack->addWidget(m_status);
    refresh();
}

QWidget *BackendSessionCard::makeHeader()
{
    auto *header = new QWidget(this);
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);
    auto *tile = new TintedShape(ThemeRole::Accent2, 0.13, 0, header);
    tile->setSymbol(QStringLiteral("server.rack"), 17);
    tile->setFixedSize(42, 42);
    row->addWidget(tile);

    auto *titles = new QVBoxLayout;
    titles->setSpacing(3);
    titles->addWidget(upload::makeText(QStringLiteral("Korvane Session"), 15, QFont::Bold, FontDesign::Rounded,
                                       ThemeRole::Primary, header));
    titles->addWidget(upload::makeText(QStringLiteral("Native auth, lot/category context, and canonical Mac resolve."),
                                       10, QFont::Normal, FontDesign::Default, ThemeRole::Muted, header));
    row->addLayout(titles);
    row->addStretch();
    m_pill = new StatusPill(QString(), ThemeRole::Accent2, header);
    m_pill->setObjectName(QStringLiteral("korvanePill"));
    row->addWidget(m_pill);
    return header;
}

QWidget *BackendSessionCard::makeOfflineNotice()
{
    auto *notice = new TintedShape(ThemeRole::Orange, 0.07, 0.2, this);
    m_offlineNotice = notice;
    notice->setObjectName(QStringLiteral("offlineNotice"));
    auto *row = new QHBoxLayout(notice);
    row->setContentsMargins(12, 12, 12, 12);
    row->setSpacing(10);
    row->addWidget(new SymbolView(QStringLiteral("key.slash"), 16, ThemeRole::Orange, notice));
    row->addWidget(upload::makeWrappedText(QStringLiteral("The Wrenlow backend gateway is unavailable. DB and Sheets "
                                                          "actions stay locked until the gateway is reachable."),
                                           11, ThemeRole::Muted, notice),
                   1);
    // Without a way back, one unreachable probe would lock sign-in for the rest of the process.
    m_tryAgain =
        new TintedButton(QStringLiteral("Try Again"), TintedButton::Style::Bordered, ThemeRole::Orange, notice);
    m_tryAgain->setObjectName(QStringLiteral("tryAgainButton"));
    m_tryAgain->setSymbol(QStringLiteral("arrow.clockwise"));
    connect(m_tryAgain, &TintedButton::clicked, this, [this] { signIn(); });
    row->addWidget(m_tryAgain);
    return notice;
}

QWidget *BackendSessionCard::makeSignInRow()
{
    m_signInRow = new QWidget(this);
    m_signInRow->setObjectName(QStringLiteral("signInRow"));
    auto *row = new QHBoxLayout(m_signInRow);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);
    m_user = new LabeledField(QStringLiteral("KORVANE USER"),
                              upload::textBinding(m_model, &Model::korvaneIdentifier, &Model::setKorvaneIdentifier),
                              QStringLiteral("Username / identifier"), m_signInRow);
    m_user->setObjectName(QStringLiteral("korvaneUserField"));
    row->addWidget(m_user, 1, Qt::AlignBottom);
    m_credential = new SecureLabeledField(
        QString(), upload::textBinding(m_model, &Model::korvaneCredential, &Model::setKorvaneCredential), QString(),
        m_signInRow);
    m_credential->setObjectName(QStringLiteral("korvaneCredentialField"));
    row->addWidget(m_credential, 1, Qt::AlignBottom);

    m_usePin = new ToggleSwitch(QStringLiteral("Use PIN"), m_signInRow);
    m_usePin->setObjectName(QStringLiteral("usePinSwitch"));
    m_usePin->setFont(WrenlowFont::font(10, QFont::DemiBold));
    connect(m_usePin, &ToggleSwitch::clicked, this, [this](bool checked) { m_model.setKorvaneUsePin(checked); });
    // As tall as the entry boxes and bottom-aligned with them, so the switch and the button sit on the boxes'
    // middle line rather than below it.
    m_usePin->setFixedHeight(LabeledField::boxHeight);
    row->addWidget(m_usePin, 0, Qt::AlignBottom);

    m_signIn =
        new TintedButton(QStringLiteral("Sign In"), TintedButton::Style::Prominent, ThemeRole::Accent2, m_signInRow);
    m_signIn->setObjectName(QStringLiteral("signInButton"));
    m_signIn->setSymbol(QStringLiteral("person.crop.circle.badge.checkmark"));
    m_signIn->setFixedHeight(LabeledField::boxHeight);
    connect(m_signIn, &TintedButton::clicked, this, [this] { signIn(); });
    row->addWidget(m_signIn, 0, Qt::AlignBottom);
    return m_signInRow;
}

QWidget *BackendSessionCard::makeSignedInBlock()
{
    m_signedIn = new QWidget(this);
    m_signedIn->setObjectName(QStringLiteral("signedInBlock"));
    auto *stack = new QVBoxLayout(m_signedIn);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(16);

    auto *userRow = new QHBoxLayout;
    auto *names = new QVBoxLayout;
    names->setSpacing(3);
    m_userName = upload::makeOutsideText("korvaneUserName", 13, QFont::Bold, ThemeRole::Primary, m_signedIn);
    m_userStatus = upload::makeOutsideText("korvaneUserStatus", 10, QFont::Normal, ThemeRole::Muted, m_signedIn);
    names->addWidget(m_userName);
    names->addWidget(m_userStatus);
    userRow->addLayout(names, 1);
    m_signOut = new TintedButton(QStringLiteral("Sign Out"), TintedButton::Style::Bordered, std::nullopt, m_signedIn);
    m_signOut->setObjectName(QStringLiteral("signOutButton"));
    m_signOut->setSymbol(QStringLiteral("rectangle.portrait.and.arrow.right"));
    connect(m_signOut, &TintedButton::clicked, this, [this] { m_model.logoutFromKorvane(); });
    userRow->addWidget(m_signOut);
    stack->addLayout(userRow);

    auto *contextRow = new QHBoxLayout;
    contextRow->setSpacing(12);
    const auto menuBlock = [this, contextRow](const QString &caption, QComboBox *combo) {
        auto *block = new QVBoxLayout;
        block->setSpacing(6);
        block->addWidget(makeCaption(caption, m_signedIn));
        block->addWidget(combo);
        contextRow->addLayout(block, 1);
    };
    m_lots = menu("lotMenu", QStringLiteral("Lot"), m_signedIn);
    connect(m_lots, &QComboBox::activated, this,
            [this](int index) { m_model.setSelectedKorvaneLotId(chosenId(m_lots, index)); });
    menuBlock(QStringLiteral("LOT"), m_lots);
    m_categories = menu("categoryMenu", QStringLiteral("Category"), m_signedIn);
    connect(m_categories, &QComboBox::activated, this,
            [this](int index) { m_model.setSelectedKorvaneCategoryId(chosenId(m_categories, index)); });
    menuBlock(QStringLiteral("UNIT CATEGORY"), m_categories);

    m_resolve = new TintedButton(QStringLiteral("Resolve This Mac"), TintedButton::Style::Prominent, ThemeRole::Accent2,
                                 m_signedIn);
    m_resolve->setObjectName(QStringLiteral("resolveButton"));
    m_resolve->setSymbol(QStringLiteral("arrow.triangle.branch"));
    connect(m_resolve, &TintedButton::clicked, this, [this] { m_model.resolveInKorvane(); });
    m_resolve->setFixedHeight(LabeledField::boxHeight);
    // Level with the pickers beside it, below their captions.
    auto *resolveColumn = new QVBoxLayout;
    resolveColumn->addStretch();
    resolveColumn->addWidget(m_resolve);
    contextRow->addLayout(resolveColumn);
    stack->addLayout(contextRow);

    m_summary = new QWidget(m_signedIn);
    m_summary->setObjectName(QStringLiteral("resolveSummary"));
    auto *summaryRow = new QHBoxLayout(m_summary);
    summaryRow->setContentsMargins(0, 0, 0, 0);
    summaryRow->setSpacing(9);
    m_summarySymbol = new SymbolView(QStringLiteral("checkmark.circle"), 14, ThemeRole::Accent, m_summary);
    m_summarySymbol->setObjectName(QStringLiteral("resolveSummarySymbol"));
    summaryRow->addWidget(m_summarySymbol, 0, Qt::AlignTop);
    m_summaryText = upload::makeOutsideText("resolveSummaryText", 10, QFont::Normal, ThemeRole::Muted, m_summary);
    summaryRow->addWidget(m_summaryText, 1);
    stack->addWidget(m_summary);

    QLabel *note = upload::makeWrappedText(
        QStringLiteral("Resolve is read/preflight only in this build. No Korvane unit is committed or changed until "
                       "the review/commit step is added and explicitly confirmed."),
        9, ThemeRole::Subtle, m_signedIn);
    stack->addWidget(note);
    return m_signedIn;
}

QCoro::Task<> BackendSessionCard::signIn()
{
    const QPointer<BackendSessionCard> self(this);
    m_signingIn = true;
    refresh();
    co_await m_model.loginToKorvane();
    if (self) {
        m_signingIn = false;
        refresh();
    }
}

void BackendSessionCard::refresh()
{
    const bool configured = m_model.korvaneConfigured();
    const bool signedIn = m_model.korvaneSignedIn();
    const bool busy = m_model.isKorvaneBusy();
    const QString &status = m_model.korvaneStatus();

    if (signedIn) {
        m_pill->setText(QStringLiteral("Signed In"));
        m_pill->setColor(ThemeRole::Green);
    } else if (configured) {
        m_pill->setText(QStringLiteral("Ready to Sign In"));
        m_pill->setColor(ThemeRole::Accent2);
    } else {
        m_pill->setText(QStringLiteral("Backend Offline"));
        m_pill->setColor(ThemeRole::Orange);
    }
    m_offlineNotice->setVisible(!configured);
    m_signInRow->setVisible(configured && !signedIn);
    m_signedIn->setVisible(configured && signedIn);

    const bool signInFree = !busy && !m_signingIn;
    m_tryAgain->setEnabled(signInFree);
    m_tryAgain->setBusy(m_signingIn);
    m_user->refresh();
    const bool pin = m_model.korvaneUsePin();
    m_credential->setTitle(pin ? QStringLiteral("6-DIGIT PIN") : QStringLiteral("PASSWORD"));
    m_credential->setPrompt(pin ? QStringLiteral("PIN") : QStringLiteral("Password"));
    m_credential->refresh();
    m_usePin->setChecked(pin);
    m_signIn->setEnabled(signInFree);
    m_signIn->setBusy(m_signingIn);

    m_userName->setOutsideText(m_model.korvaneUserName());
    m_userStatus->setOutsideText(status);
    m_signOut->setEnabled(!busy);
    QList<upload::Entry> lots{{QStringLiteral("Select lot"), QVariant()}};
    for (const KorvaneLot &lot : m_model.korvaneLots())
        lots.append({upload::menuText(lot.name), QVariant(lot.lotId)});
    upload::showEntries(m_lots, lots, idValue(m_model.selectedKorvaneLotId()));
    QList<upload::Entry> categories{{QStringLiteral("Select category"), QVariant()}};
    for (const KorvaneUnitCategory &category : m_model.korvaneCategories())
        categories.append({upload::menuText(category.label), QVariant(category.configValueId)});
    upload::showEntries(m_categories, categories, idValue(m_model.selectedKorvaneCategoryId()));
    m_resolve->setEnabled(m_model.korvaneResolveReady() && !busy);

    const QString &summary = m_model.korvaneResolveSummary();
    m_summary->setVisible(!summary.isEmpty());
    m_summaryText->setOutsideText(summary);
    const bool review = m_model.korvaneSummaryNeedsReview();
    m_summarySymbol->setSymbol(review ? QStringLiteral("exclamationmark.bubble") : QStringLiteral("checkmark.circle"));
    m_summarySymbol->setColor(review ? ThemeRole::Orange : ThemeRole::Accent);

    m_status->setOutsideText(status);
    m_status->setVisible(!status.isEmpty() && !signedIn);
}

} // namespace wrenlow
