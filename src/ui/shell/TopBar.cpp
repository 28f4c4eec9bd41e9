#include "ui/shell/TopBar.h"

#include "ui/components/CrossFade.h"
#include "ui/components/Hairline.h"
#include "ui/components/LabeledField.h"
#include "ui/components/PlainLabel.h"
#include "ui/components/StatusPill.h"
#include "ui/components/TintedButton.h"
#include "ui/theme/IconProvider.h"
#include "ui/theme/ThemeSetting.h"
#include "ui/theme/UiPlatform.h"
#include "ui/theme/WrenlowFont.h"
#include "ui/theme/WrenlowTheme.h"

#include "workflow/DashboardViewModel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include <cmath>

namespace wrenlow {

namespace {

// Texts from the scan are tool output: one line that gives way to the controls beside it, ending in an ellipsis
// when it must, the whole text in its tooltip.
PlainLabel *makeOutsideText(const QFont &font, ThemeRole role, QWidget *parent)
{
    auto *label = new PlainLabel(parent);
    label->setLineLimit(1);
    label->setWholeTextInToolTip(true);
    label->setFont(font);
    WrenlowTheme::setForeground(label, role);
    return label;
}

constexpr int togglePadding = 10;
constexpr int toggleSpacing = 6;
constexpr int toggleSymbol = 10;

} // namespace

TopBar::TopBar(DashboardViewModel &model, ThemeSetting &theme, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
{
    setObjectName(QStringLiteral("topBar"));
    // Where the window's buttons stand in the content (macOS), the bar's colour reaches up behind them and its
    // controls keep below.
    const int inset = uiplatform::titleBarInset();
    setFixedHeight(inset + height);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(24, inset, 24, 1);
    row->setSpacing(16);

    auto *identityBlock = new QWidget(this);
    auto *identity = new QVBoxLayout(identityBlock);
    identity->setContentsMargins(0, 0, 0, 0);
    identity->setSpacing(3);
    m_title = makeOutsideText(WrenlowFont::font(19, QFont::Bold, FontDesign::Rounded), ThemeRole::Primary, this);
    m_title->setObjectName(QStringLiteral("topBarTitle"));
    identity->addWidget(m_title);
    auto *subtitle = new QHBoxLayout;
    subtitle->setSpacing(7);
    m_serial = makeOutsideText(WrenlowFont::font(11, QFont::Medium, FontDesign::Monospaced), ThemeRole::Muted, this);
    m_serial->setObjectName(QStringLiteral("topBarSerial"));
    m_separator = makeLabel(QStringLiteral("\u2022"), WrenlowFont::font(13), ThemeRole::Subtle, this);
    m_separator->setObjectName(QStringLiteral("topBarSeparator"));
    m_architecture =
        makeLabel(QString(), WrenlowFont::font(9, QFont::Bold, FontDesign::Rounded, 0.5), ThemeRole::Accent, this);
    m_architecture->setObjectName(QStringLiteral("topBarArchitecture"));
    subtitle->addWidget(m_serial);
    subtitle->addWidget(m_separator);
    subtitle->addWidget(m_architecture);
    subtitle->addStretch(1);
    identity->addLayout(subtitle);
    row->addWidget(identityBlock, 1, Qt::AlignVCenter);

    auto *toggle = new ThemeToggle(theme, this);
    toggle->setObjectName(QStringLiteral("themeToggle"));
    row->addWidget(toggle);

    m_version = new StatusPill(QString(), ThemeRole::Accent2, this);
    m_version->setObjectName(QStringLiteral("osVersionPill"));
    row->addWidget(m_version);

    m_scan = new TintedButton(QString(), TintedButton::Style::Prominent, ThemeRole::Accent, this);
    m_scan->setObjectName(QStringLiteral("scanButton"));
    m_scan->setFont(WrenlowFont::font(12, QFont::Bold));
    m_scan->setHorizontalPadding(14);
    m_scan->setSpacing(8);
    m_scan->setFixedHeight(36);
    m_scan->setSymbol(QStringLiteral("arrow.clockwise"));
    // Started and left to run: the view model ignores a request while a scan runs.
    connect(m_scan, &QAbstractButton::clicked, this, [this] { m_model.scan(); });
    row->addWidget(m_scan);
    refresh();
}

void TopBar::refresh()
{
    const std::optional<InventorySnapshot> &snapshot = m_model.snapshot();
    m_title->setOutsideText(snapshot ? snapshot->model : QStringLiteral("Mac"));
    m_serial->setOutsideText(snapshot ? snapshot->serial : QStringLiteral("Waiting for scan"));
    m_separator->setVisible(snapshot.has_value());
    m_architecture->setVisible(snapshot.has_value());
    m_architecture->setText(snapshot && snapshot->architecture == u"arm64" ? QStringLiteral("APPLE SILICON")
                                                                           : QStringLiteral("INTEL"));
    m_version->setVisible(snapshot.has_value());
    m_version->setText(snapshot ? snapshot->osVersion : QString());

    const bool scanning = m_model.isScanning();
    m_scan->setEnabled(!scanning);
    m_scan->setBusy(scanning);
    m_scan->setText(scanning ? QStringLiteral("Scanning") : QStringLiteral("Scan Mac"));
    m_scan->updateGeometry();
}

void TopBar::paintEvent(QPaintEvent *)
{
    const Appearance appearance = WrenlowTheme::appearanceOf(this);
    QPainter painter(this);
    painter.fillRect(rect(), WrenlowTheme::color(ThemeRole::Topbar, appearance));
    painter.fillRect(
        Hairline::snappedLine(painter.deviceTransform(), QRect(0, QWidget::height() - 1, width(), 1), Qt::Horizontal),
        WrenlowTheme::color(ThemeRole::Line, appearance));
}

ThemeToggle::ThemeToggle(ThemeSetting &theme, QWidget *parent)
    : QAbstractButton(parent)
    , m_theme(theme)
{
    setFont(WrenlowFont::font(9, QFont::Bold, FontDesign::Rounded, 0.7));
    setFixedHeight(30);
    // A long model name beside it gives way instead.
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
    // As a button on the Mac: Tab reaches it (on the Mac only with keyboard navigation turned on, which Qt reads
    // from the system), a click does not take the focus.
    setFocusPolicy(Qt::TabFocus);
    const auto follow = [this] {
        setText(m_theme.isLight() ? QStringLiteral("DARK") : QStringLiteral("LIGHT"));
        setToolTip(m_theme.isLight() ? QStringLiteral("Switch to dark mode") : QStringLiteral("Switch to light mode"));
        updateGeometry();
        update();
    };
    connect(&theme, &ThemeSetting::changed, this, follow);
    follow();
    connect(this, &QAbstractButton::clicked, this, [this] {
        // The window's picture in the old theme fades out over the new one.
        CrossFade::start(window(), themeChangeDuration, QEasingCurve::InOutQuad);
        m_theme.toggle();
    });
}

QString ThemeToggle::symbol() const
{
    return m_theme.isLight() ? QStringLiteral("moon.fill") : QStringLiteral("sun.max.fill");
}

QSize ThemeToggle::sizeHint() const
{
    const int textWidth = int(std::ceil(QFontMetricsF(font()).horizontalAdvance(text())));
    return {2 * togglePadding + toggleSymbol + toggleSpacing + textWidth, 30};
}

void ThemeToggle::paintEvent(QPaintEvent *)
{
    const Appearance appearance = WrenlowTheme::appearanceOf(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    painter.fillPath(shape, WrenlowTheme::color(ThemeRole::ControlBackground, appearance));
    painter.setPen(QPen(WrenlowTheme::color(hasFocus() ? ThemeRole::Accent2 : ThemeRole::Line, appearance), 1));
    painter.drawPath(shape);
    const QColor muted = WrenlowTheme::color(ThemeRole::Muted, appearance);
    IconProvider::paint(painter, QRectF(togglePadding, (height() - toggleSymbol) / 2.0, toggleSymbol, toggleSymbol),
                        symbol(), muted);
    painter.setPen(muted);
    painter.setFont(font());
    const int textLeft = togglePadding + toggleSymbol + toggleSpacing;
    painter.drawText(QRect(textLeft, 0, width() - textLeft, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
}

} // namespace wrenlow
