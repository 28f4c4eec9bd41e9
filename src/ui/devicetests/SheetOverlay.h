#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>

namespace wrenlow {

// Presents one sheet over a whole window: the window's content is dimmed and takes no mouse input until the sheet
// is dismissed. The overlay follows the window's size and is deleted, with its sheet, on dismissal.
class SheetOverlay : public QWidget
{
    Q_OBJECT
public:
    // Takes ownership of the sheet and shows it at once over the window.
    SheetOverlay(QWidget *sheet, QWidget *window);

    QWidget *sheet() const { return m_sheet; }

    // The corner radius a sheet draws its own panel with; its shadow follows it.
    static constexpr qreal sheetRadius = 12;
    void dismiss();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QPointer<QWidget> m_sheet;
    QImage m_shadow;
    QString m_shadowKey;
};

} // namespace wrenlow
