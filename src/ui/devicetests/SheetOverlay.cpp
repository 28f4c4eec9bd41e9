#include "SheetOverlay.h"

#include "ui/theme/BlurredShape.h"
#include "ui/theme/WrenlowTheme.h"

#include <QEvent>
#include <QGridLayout>
#include <QPainter>

namespace wrenlow {

namespace {

constexpr qreal shadowSigma = 14;

} // namespace

SheetOverlay::SheetOverlay(QWidget *sheet, QWidget *window)
    : QWidget(window)
    , m_sheet(sheet)
{
    setObjectName(QStringLiteral("sheetOverlay"));
    setFocusPolicy(Qt::NoFocus);
    auto *layout = new QGridLayout(this);
    layout->addWidget(sheet, 0, 0, Qt::AlignCenter);
    window->installEventFilter(this);
    setGeometry(window->rect());
    raise();
    show();
}

void SheetOverlay::dismiss()
{
    hide();
    deleteLater();
}

bool SheetOverlay::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

bool SheetOverlay::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
        // Whatever lands beside the sheet stops here instead of reaching the window below.
        event->accept();
        return true;
    default:
        return QWidget::event(event);
    }
}

void SheetOverlay::paintEvent(QPaintEvent *)
{
    const Appearance appearance = WrenlowTheme::appearanceOf(this);
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 0, 0, appearance == Appearance::Dark ? 120 : 56));
    if (!m_sheet)
        return;
    // The shadow is remade only when the sheet's size, the appearance or the screen changes.
    const QRect sheet = m_sheet->geometry();
    const QString key = QString::number(sheet.width()) + QLatin1Char('x') + QString::number(sheet.height()) +
                        QLatin1Char('/') + QString::number(int(appearance)) + QLatin1Char('/') +
                        QString::number(devicePixelRatioF());
    if (key != m_shadowKey) {
        m_shadow =
            BlurredShape::roundedRect(QSizeF(sheet.size()), sheetRadius, shadowSigma,
                                      QColor(0, 0, 0, appearance == Appearance::Dark ? 150 : 60), devicePixelRatioF());
        m_shadowKey = key;
    }
    const int margin = BlurredShape::margin(shadowSigma);
    painter.drawImage(sheet.topLeft() + QPoint(-margin, -margin + 10), m_shadow);
}

} // namespace wrenlow
