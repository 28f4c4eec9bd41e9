#include "ui/devicetests/TestsView.h"

#include "ui/components/GlassCard.h"
#include "ui/components/LabeledField.h"
#include "ui/components/ModelRefresh.h"
#include "ui/components/StatusPill.h"
#include "ui/devicetests/DiagnosticRow.h"
#include "ui/devicetests/KeyboardTestView.h"
#include "ui/devicetests/SheetOverlay.h"
#include "ui/theme/WrenlowFont.h"
#include "workflow/DashboardViewModel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

namespace wrenlow {

namespace {

const QString keyboardId = QStringLiteral("keyboard");

} // namespace

TestsView::TestsView(DashboardViewModel &model, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
{
    setObjectName(QStringLiteral("testsPage"));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("testsScroll"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A viewport that fills itself would hide the window's background gradient.
    m_scroll->viewport()->setAutoFillBackground(false);
    outer->addWidget(m_scroll);

    auto *content = new QWidget;
    content->setAutoFillBackground(false);
    auto *stack = new QVBoxLayout(content);
    stack->setContentsMargins(24, 24, 24, 24);
    stack->setSpacing(18);

    auto *header = new GlassCard(nullptr, content);
    auto *headerRow = new QHBoxLayout;
    header->contentLayout()->addLayout(headerRow);
    auto *titles = new QVBoxLayout;
    titles->setSpacing(5);
    titles->addWidget(makeLabel(tr("Device Tests"), WrenlowFont::font(22, QFont::Bold, FontDesign::Rounded),
                                ThemeRole::Primary, header));
    titles->addWidget(makeLabel(tr("Automated checks plus real technician-confirmed hardware tests."),
                                WrenlowFont::font(12), ThemeRole::Muted, header));
    headerRow->addLayout(titles);
    headerRow->addStretch();
    auto *pills = new QVBoxLayout;
    pills->setSpacing(6);
    m_progress = new StatusPill(QString(), ThemeRole::Accent2, header);
    m_progress->setObjectName(QStringLiteral("progressPill"));
    m_verdict = new StatusPill(QString(), ThemeRole::Orange, header);
    m_verdict->setObjectName(QStringLiteral("verdictPill"));
    pills->addWidget(m_progress, 0, Qt::AlignRight);
    pills->addWidget(m_verdict, 0, Qt::AlignRight);
    headerRow->addLayout(pills);
    stack->addWidget(header);

    // The rows sit on the padded content itself: a card's shadow reaches past its edges onto its parent.
    m_rowsParent = content;
    m_rowsLayout = new QVBoxLayout;
    m_rowsLayout->setSpacing(10);
    stack->addLayout(m_rowsLayout);
    stack->addStretch();
    m_scroll->setWidget(content);

    m_refresh = new ModelRefresh(model, this, [this](const ModelRefresh::Fields &changed) {
        if (changed.contains(DashboardViewModel::Field::snapshot))
            refresh();
    });
    refresh();
}

TestsView::~TestsView()
{
    // The sheet lives on the window, which may outlive the page.
    delete m_keyboardSheet;
}

void TestsView::refresh()
{
    const qint64 total = m_model.totalTests();
    m_progress->setVisible(total > 0);
    m_progress->setText(QString::number(m_model.completedTests()) + QStringLiteral(" / ") + QString::number(total) +
                        QStringLiteral(" complete"));
    m_progress->setColor(m_model.canUpload() ? ThemeRole::Green : ThemeRole::Accent2);
    const QString verdict = m_model.unitResult();
    m_verdict->setText(verdict);
    m_verdict->setColor(verdict == QLatin1String("UNIT PASSES") ? ThemeRole::Green : ThemeRole::Orange);
    syncRows();
}

void TestsView::syncRows()
{
    const QList<DiagnosticItem> items = m_model.snapshot() ? m_model.snapshot()->diagnostics : QList<DiagnosticItem>();
    QStringList ids;
    for (const auto &item : items)
        ids.append(item.id);
    if (ids != m_rowIds) {
        qDeleteAll(m_rows);
        m_rows.clear();
        for (const auto &item : items) {
            auto *row = new DiagnosticRow(
                m_model, item, [this, id = item.id] { run(id); }, m_rowsParent);
            m_rowsLayout->addWidget(row);
            row->show();
            m_rows.append(row);
        }
        m_rowIds = ids;
    } else {
        for (qsizetype i = 0; i < items.size(); ++i)
            m_rows[i]->setItem(items[i]);
    }
}

void TestsView::run(const QString &id)
{
    if (id == keyboardId) {
        presentKeyboardTest();
        return;
    }
    // The view model's operations never throw and end on their own; the page keeps no handle on them.
    m_model.runDiagnosticAction(id);
}

void TestsView::presentKeyboardTest()
{
    if (m_keyboardSheet)
        return;
    auto *sheet =
        new KeyboardTestView([&model = m_model](DiagnosticState state) { model.markDiagnostic(keyboardId, state); });
    m_keyboardSheet = new SheetOverlay(sheet, window());
    connect(sheet, &KeyboardTestView::dismissRequested, m_keyboardSheet.data(), &SheetOverlay::dismiss);
}

} // namespace wrenlow
