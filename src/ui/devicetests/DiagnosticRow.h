#pragma once

#include "scan/InventoryModel.h"
#include "ui/components/GlassCard.h"

#include <functional>

class QLabel;
class QWidget;

namespace wrenlow {

class DashboardViewModel;
class PlainLabel;
class StatusPill;
class TintedButton;

// One diagnostic of the Tests page: its state, detail sentence and devices, the button that starts its hardware
// test where there is one, and the technician's Pass, Review and Fail marks. The row follows a new item in place,
// so the page keeps its scroll position and focus when a diagnostic changes.
class DiagnosticRow : public GlassCard
{
    Q_OBJECT
public:
    DiagnosticRow(DashboardViewModel &model, DiagnosticItem item, std::function<void()> onRun,
                  QWidget *parent = nullptr);

    const DiagnosticItem &item() const { return m_item; }
    // A new version of the same diagnostic (its id does not change).
    void setItem(DiagnosticItem item);

private:
    class Badge;

    bool supportsRun() const;
    QString runLabel() const;
    void refresh();

    DashboardViewModel &m_model;
    DiagnosticItem m_item;
    std::function<void()> m_onRun;
    Badge *m_badge = nullptr;
    QLabel *m_title = nullptr;
    StatusPill *m_state = nullptr;
    PlainLabel *m_detail = nullptr;
    PlainLabel *m_devices = nullptr;
    QWidget *m_buttons = nullptr;
    TintedButton *m_run = nullptr;
};

} // namespace wrenlow
