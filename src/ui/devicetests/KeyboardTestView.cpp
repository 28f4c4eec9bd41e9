#include "KeyboardTestView.h"

#include "ui/components/LabeledField.h"
#include "ui/components/StatusPill.h"
#include "ui/components/TintedButton.h"
#include "ui/devicetests/KeyCap.h"
#include "ui/devicetests/KeyCaptureView.h"
#include "ui/devicetests/KeySpec.h"
#include "ui/devicetests/SheetOverlay.h"
#include "ui/theme/WrenlowFont.h"
#include "ui/theme/WrenlowTheme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace wrenlow {

namespace {

TintedButton *sheetButton(const QString &text, const QString &name, TintedButton::Style style,
                          std::optional<ThemeRole> tint, QWidget *parent)
{
    auto *button = new TintedButton(text, style, tint, parent);
    button->setObjectName(name);
    // A focused button would take the next Space for itself and keep letters from the capture view.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

KeyboardTestView::KeyboardTestView(Completion completion, QWidget *parent)
    : QWidget(parent)
    , m_completion(std::move(completion))
{
    setObjectName(QStringLiteral("keyboardTest"));
    setMinimumSize(900, 480);

    auto *content = new QVBoxLayout(this);
    content->setContentsMargins(28, 28, 28, 28);
    content->setSpacing(20);

    auto *header = new QHBoxLayout;
    auto *titles = new QVBoxLayout;
    titles->setSpacing(4);
    titles->addWidget(makeLabel(tr("Keyboard Test"), WrenlowFont::font(24, QFont::Bold, FontDesign::Rounded),
                                ThemeRole::Primary, this));
    titles->addWidget(makeLabel(tr("Press each physical key. Tested keys illuminate as they are received by macOS."),
                                WrenlowFont::font(12), ThemeRole::Muted, this));
    header->addLayout(titles);
    header->addStretch();
    m_counter = new StatusPill(QString(), ThemeRole::Accent, this);
    m_counter->setObjectName(QStringLiteral("keyboardCounter"));
    header->addWidget(m_counter);
    content->addLayout(header);

    auto *keyboard = new QVBoxLayout;
    keyboard->setSpacing(8);
    for (const auto &row : keyboardTestRows()) {
        auto *keys = new QHBoxLayout;
        keys->setSpacing(7);
        keys->addStretch();
        for (const auto &key : row) {
            auto *cap = new KeyCap(key, this);
            m_caps.append(cap);
            keys->addWidget(cap);
        }
        keys->addStretch();
        keyboard->addLayout(keys);
    }
    content->addLayout(keyboard);

    m_capture = new KeyCaptureView(this);
    m_capture->setOnKey([this](quint16 code) { keyReceived(code); });
    content->addWidget(m_capture, 0, Qt::AlignHCenter);

    auto *buttons = new QHBoxLayout;
    auto *resetButton =
        sheetButton(tr("Reset"), QStringLiteral("keyboardReset"), TintedButton::Style::Bordered, std::nullopt, this);
    auto *failButton =
        sheetButton(tr("Fail"), QStringLiteral("keyboardFail"), TintedButton::Style::Bordered, ThemeRole::Red, this);
    auto *passButton = sheetButton(tr("Pass"), QStringLiteral("keyboardPass"), TintedButton::Style::Prominent,
                                   ThemeRole::Accent, this);
    buttons->addWidget(resetButton);
    buttons->addStretch();
    buttons->addWidget(failButton);
    buttons->addWidget(passButton);
    content->addLayout(buttons);

    connect(resetButton, &QAbstractButton::clicked, this, &KeyboardTestView::reset);
    connect(failButton, &QAbstractButton::clicked, this, [this] { finish(DiagnosticState::Fail); });
    connect(passButton, &QAbstractButton::clicked, this, [this] { finish(DiagnosticState::Pass); });

    refresh();
}

void KeyboardTestView::keyReceived(quint16 code)
{
    m_pressed.insert(code);
    refresh();
}

void KeyboardTestView::reset()
{
    m_pressed.clear();
    refresh();
}

void KeyboardTestView::finish(DiagnosticState state)
{
    if (m_completion)
        m_completion(state);
    emit dismissRequested();
}

void KeyboardTestView::refresh()
{
    for (auto *cap : std::as_const(m_caps))
        cap->setPressed(m_pressed.contains(cap->key().code));
    m_counter->setText(QString::number(m_pressed.size()) + QStringLiteral(" / ") +
                       QString::number(keyboardTestKeyCount()));
    // Every update asks for the keyboard again, so a click anywhere on the sheet never strands the keys.
    m_capture->requestFocus();
}

void KeyboardTestView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_capture->requestFocus();
}

void KeyboardTestView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(rect().topLeft(), rect().bottomRight());
    gradient.setColorAt(0, WrenlowTheme::color(ThemeRole::BackgroundA, this));
    gradient.setColorAt(1, WrenlowTheme::color(ThemeRole::BackgroundB, this));
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), SheetOverlay::sheetRadius,
                         SheetOverlay::sheetRadius);
    painter.fillPath(shape, gradient);
    painter.setPen(QPen(WrenlowTheme::color(ThemeRole::Line, this), 1));
    painter.drawPath(shape);
}

} // namespace wrenlow
