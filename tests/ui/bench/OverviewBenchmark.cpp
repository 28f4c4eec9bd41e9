// Times the Overview page for a full snapshot of a stand-in scan, and the longest outside texts the pages show whole.
// Prints medians; run it on a quiet machine with QT_QPA_PLATFORM=offscreen.
#include "Median.h"
#include "ui/components/PlainLabel.h"
#include "ui/shell/ContentView.h"
#include "ui/shell/WrenlowMacApp.h"
#include "ui/theme/ThemeSetting.h"
#include "workflow/DashboardViewModel.h"

#include "FakeMacEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <numeric>

using namespace wrenlow;
using support::median;
using support::medianMs;

namespace {

void report(const char *what, double ms)
{
    std::printf("%-62s %8.2f ms\n", what, ms);
}

// What the event loop does for the page after a change: the queued refresh, the layouts, then a repaint of the
// page's area into the window's backing store (background and shadows included). Everything else the event loop
// has pending is left for the untimed preparation of the next run.
void layOutAndPaint(QWidget &page)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    page.repaint();
}

void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char *argv[])
{
    qunsetenv("XDG_CONFIG_HOME");
    test::FakeMacEnvironment mac(QStringLiteral("apple-silicon-macbook"));
    WrenlowMacApp::prepareApplication();
    QApplication application(argc, argv);

    WrenlowMacApp app;
    app.window()->resize(1240, 1320);
    app.window()->show();
    DashboardViewModel &model = app.model();
    if (!QTest::qWaitFor([&] { return model.snapshot().has_value() && !model.isScanning(); }, 60000)) {
        std::fprintf(stderr, "the stand-in scan did not finish\n");
        return 1;
    }
    QTest::qWait(50);

    QWidget &page = *app.content()->page(AppPage::Overview);
    const InventorySnapshot full = *model.snapshot();
    const int runs = 41;
    const qsizetype rows =
        std::accumulate(full.sections.cbegin(), full.sections.cend(), qsizetype(0),
                        [](qsizetype sum, const InventorySection &section) { return sum + section.values.size(); });
    std::printf("Overview page %dx%d, %lld sections, %lld rows\n", page.width(), page.height(),
                static_cast<long long>(full.sections.size()), static_cast<long long>(rows));
    report("first snapshot: build the cards, lay out, paint", medianMs(
                                                                  runs,
                                                                  [&] {
                                                                      model.setSnapshot(std::nullopt);
                                                                      settle();
                                                                  },
                                                                  [&] {
                                                                      model.setSnapshot(full);
                                                                      layOutAndPaint(page);
                                                                  }));
    report("next scan of the same Mac: refresh in place, lay out, paint",
           medianMs(
               runs,
               [&] {
                   model.setSnapshot(full);
                   settle();
               },
               [&] {
                   InventorySnapshot next = full;
                   for (InventorySection &section : next.sections)
                       for (InventoryValue &value : section.values)
                           value = InventoryValue(value.label, value.value, value.state);
                   model.setSnapshot(next);
                   layOutAndPaint(page);
               }));
    // The page alone, so that the window's own backdrop, which is drawn anew for each window size, stays out.
    bool narrow = false;
    const QSize wide = page.size();
    report("page resized between two and three columns: lay out, paint", medianMs(runs, settle, [&] {
               narrow = !narrow;
               page.resize(narrow ? wide - QSize(150, 0) : wide);
               layOutAndPaint(page);
           }));
    report("repaint only", medianMs(runs, settle, [&] { page.repaint(); }));

    // Outside texts are shown whole up to 20,000 characters: the longest, in a card message and a value here and
    // as the routing status on the Upload page, against a line of 200.
    const auto longTexts = [&](const char *what, const std::function<void()> &reset,
                               const std::function<void(const QString &)> &show, QWidget &shown) {
        for (const qsizetype size : {qsizetype(200), PlainLabel::defaultLengthCap}) {
            const QString text = QStringLiteral("Refused: the row for this unit cannot be written. ").repeated(400);
            const QByteArray line = QByteArray::number(size) + what;
            report(line.constData(), medianMs(runs, reset, [&] {
                       show(text.left(size));
                       layOutAndPaint(shown);
                   }));
        }
    };
    longTexts(
        "-character message and value: lay out, paint",
        [&] {
            model.setSnapshot(full);
            settle();
        },
        [&](const QString &text) {
            InventorySnapshot next = full;
            next.sections.first().message = text;
            next.sections.first().values.first().value = text;
            model.setSnapshot(next);
        },
        page);
    model.setSelectedPage(AppPage::Upload);
    settle();
    longTexts(
        "-character routing status: lay out, paint",
        [&] {
            model.setRoutingStatus({});
            settle();
        },
        [&](const QString &text) { model.setRoutingStatus(text); }, *app.content()->page(AppPage::Upload));
    return 0;
}
