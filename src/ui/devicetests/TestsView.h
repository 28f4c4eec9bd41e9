#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>

class QScrollArea;
class QVBoxLayout;

namespace wrenlow {

class DashboardViewModel;
class DiagnosticRow;
class ModelRefresh;
class SheetOverlay;
class StatusPill;

// The Tests page: the test progress and the unit verdict over one row per diagnostic of the last scan. Rows
// follow their diagnostics in place and are rebuilt only when a scan brings a different set of diagnostics, so
// marks and test results never cost the technician the scroll position or the focus. The keyboard row opens the
// keyboard test sheet over the window, whose verdict comes back as the keyboard diagnostic's mark.
class TestsView : public QWidget
{
    Q_OBJECT
public:
    explicit TestsView(DashboardViewModel &model, QWidget *parent = nullptr);
    ~TestsView() override;

    bool isKeyboardTestPresented() const { return !m_keyboardSheet.isNull(); }

private:
    void refresh();
    void syncRows();
    void run(const QString &id);
    void presentKeyboardTest();

    DashboardViewModel &m_model;
    ModelRefresh *m_refresh = nullptr;
    QScrollArea *m_scroll = nullptr;
    StatusPill *m_progress = nullptr;
    StatusPill *m_verdict = nullptr;
    QWidget *m_rowsParent = nullptr;
    QVBoxLayout *m_rowsLayout = nullptr;
    QList<DiagnosticRow *> m_rows;
    QStringList m_rowIds;
    QPointer<SheetOverlay> m_keyboardSheet;
};

} // namespace wrenlow
