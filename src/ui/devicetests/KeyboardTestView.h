#pragma once

#include "scan/InventoryModel.h"

#include <QSet>
#include <QWidget>

#include <functional>

namespace wrenlow {

class KeyCap;
class KeyCaptureView;
class StatusPill;

// The keyboard test sheet: a drawn Mac keyboard whose keys light as their codes arrive, a count of the distinct
// codes received, and the technician's verdict. The verdict is the technician's alone: any number of lit keys
// may pass or fail.
class KeyboardTestView : public QWidget
{
    Q_OBJECT
public:
    using Completion = std::function<void(DiagnosticState)>;

    explicit KeyboardTestView(Completion completion, QWidget *parent = nullptr);

signals:
    // Pass or Fail was pressed and the completion has run; the presenter closes the sheet.
    void dismissRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void keyReceived(quint16 code);
    void reset();
    void finish(DiagnosticState state);
    void refresh();

    Completion m_completion;
    QSet<quint16> m_pressed;
    QList<KeyCap *> m_caps;
    StatusPill *m_counter = nullptr;
    KeyCaptureView *m_capture = nullptr;
};

} // namespace wrenlow
