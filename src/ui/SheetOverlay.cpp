#include "SheetOverlay.h"

#include <QEvent>
#include <QGridLayout>
#include <QPainter>

namespace wrenlow {

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
    QPainter(this).fillRect(rect(), QColor(0, 0, 0, 56));
}

} // namespace wrenlow
