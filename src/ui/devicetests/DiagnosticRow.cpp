#include "DiagnosticRow.h"

#include "ui/components/LabeledField.h"
#include "ui/components/PlainLabel.h"
#include "ui/components/StatusPill.h"
#include "ui/components/TintedButton.h"
#include "ui/theme/IconProvider.h"
#include "ui/theme/WrenlowFont.h"
#include "workflow/DashboardViewModel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace wrenlow {

// The state's symbol on a faint circle of the state's colour.
class DiagnosticRow::Badge : public QWidget
{
public:
    explicit Badge(QWidget *parent)
        : QWidget(parent)
    {
        setFixedSize(42, 42);
    }

    void set(const QString &symbol, ThemeRole color)
    {
        if (symbol == m_symbol && color == m_color)
            return;
        m_symbol = symbol;
        m_color = color;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(WrenlowTheme::color(m_color, this, 0.13));
        painter.drawEllipse(rect());
        IconProvider::paint(painter, QRectF(13, 13, 16, 16), m_symbol, WrenlowTheme::color(m_color, this));
    }

private:
    QString m_symbol;
    ThemeRole m_color = ThemeRole::Accent;
};

namespace {

// In the small control size of a row.
TintedButton *rowButton(const QString &text, const QString &name, TintedButton::Style style, ThemeRole tint,
                        QWidget *parent)
{
    auto *button = new TintedButton(text, style, tint, parent);
    button->setObjectName(name);
    button->setFont(WrenlowFont::font(11, QFont::DemiBold));
    button->setFixedHeight(22);
    button->setHorizontalPadding(9);
    return button;
}

} // namespace

DiagnosticRow::DiagnosticRow(DashboardViewModel &model, DiagnosticItem item, std::function<void()> onRun,
                             QWidget *parent)
    : GlassCard(nullptr, parent)
    , m_model(model)
    , m_item(std::move(item))
    , m_onRun(std::move(onRun))
{
    setObjectName(QStringLiteral("diagnosticRow"));
    auto *row = new QHBoxLayout;
    row->setSpacing(15);
    contentLayout()->addLayout(row);

    m_badge = new Badge(this);
    row->addWidget(m_badge, 0, Qt::AlignVCenter);

    auto *text = new QVBoxLayout;
    text->setSpacing(4);
    auto *titleRow = new QHBoxLayout;
    titleRow->setSpacing(8);
    m_title = makeLabel(QString(), WrenlowFont::font(13, QFont::Bold), ThemeRole::Primary, this);
    m_state = new StatusPill(QString(), ThemeRole::Accent, this);
    m_state->setObjectName(QStringLiteral("statePill"));
    titleRow->addWidget(m_title);
    titleRow->addWidget(m_state);
    titleRow->addStretch();
    text->addLayout(titleRow);
    m_detail = new PlainLabel(this);
    m_detail->setObjectName(QStringLiteral("detail"));
    m_detail->setFont(WrenlowFont::font(11));
    WrenlowTheme::setForeground(m_detail, ThemeRole::Muted);
    text->addWidget(m_detail);
    m_devices = new PlainLabel(this);
    m_devices->setObjectName(QStringLiteral("devices"));
    m_devices->setFont(WrenlowFont::font(10, QFont::Normal, FontDesign::Monospaced));
    WrenlowTheme::setForeground(m_devices, ThemeRole::Subtle);
    text->addWidget(m_devices);
    row->addLayout(text, 1);

    m_buttons = new QWidget(this);
    auto *buttons = new QHBoxLayout(m_buttons);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(7);
    if (supportsRun()) {
        m_run =
            rowButton(runLabel(), QStringLiteral("run"), TintedButton::Style::Prominent, ThemeRole::Accent2, m_buttons);
        buttons->addWidget(m_run);
        connect(m_run, &QAbstractButton::clicked, this, [this] {
            if (m_onRun)
                m_onRun();
        });
    }
    const std::tuple<QString, QString, DiagnosticState> marks[] = {
        {tr("Pass"), QStringLiteral("pass"), DiagnosticState::Pass},
        {tr("Review"), QStringLiteral("review"), DiagnosticState::Review},
        {tr("Fail"), QStringLiteral("fail"), DiagnosticState::Fail}};
    for (const auto &[label, name, state] : marks) {
        auto *button =
            rowButton(label, name, TintedButton::Style::Bordered, WrenlowTheme::stateColor(state), m_buttons);
        buttons->addWidget(button);
        // Captured by an initializer: clang before 16 cannot capture a structured binding.
        connect(button, &QAbstractButton::clicked, this,
                [this, state = state] { m_model.markDiagnostic(m_item.id, state); });
    }
    row->addWidget(m_buttons, 0, Qt::AlignVCenter);

    refresh();
}

void DiagnosticRow::setItem(DiagnosticItem item)
{
    if (item == m_item)
        return;
    m_item = std::move(item);
    refresh();
}

bool DiagnosticRow::supportsRun() const
{
    return m_item.id == QLatin1String("keyboard") || m_item.id == QLatin1String("sound") ||
           m_item.id == QLatin1String("camera") || m_item.id == QLatin1String("microphone");
}

QString DiagnosticRow::runLabel() const
{
    if (m_item.id == QLatin1String("camera"))
        return tr("Open Test");
    if (m_item.id == QLatin1String("sound"))
        return tr("Play Test");
    if (m_item.id == QLatin1String("microphone"))
        return tr("Record Test");
    return tr("Run Test");
}

void DiagnosticRow::refresh()
{
    const ThemeRole color = WrenlowTheme::stateColor(m_item.state);
    m_badge->set(m_item.symbol, color);
    m_title->setText(m_item.title);
    m_state->setText(rawValue(m_item.state));
    m_state->setColor(color);
    m_detail->setOutsideText(m_item.detail);
    m_devices->setOutsideText(m_item.devices.join(QStringLiteral("  \u2022  ")));
    m_devices->setVisible(!m_item.devices.isEmpty());
    m_buttons->setVisible(m_item.state != DiagnosticState::NotApplicable);
    if (m_run)
        m_run->setEnabled(m_item.state != DiagnosticState::Running);
}

} // namespace wrenlow
