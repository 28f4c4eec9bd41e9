// How long the main thread goes without serving its event loop while a sign-in waits on a stalled gateway.
// A timer ticks every 10 ms on the main thread; the longest gap between two ticks is what a window would show as
// a frozen frame. The stand-in gateway runs on a thread of its own and holds the sign-in answer back for
// STALL seconds (45 by default). Run by hand: build/tests/workflow/bench/StalledSignInBenchmark [STALL]
#include "workflow/DashboardViewModel.h"
#include "workflow/WorkflowServices.h"

#include "GatewayStandIn.h"
#include "TaskWait.h"

#include <QCoreApplication>
#include <QCoroTimer>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace wrenlow;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int stallSeconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 45;
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());

    const QJsonObject stalled{{QStringLiteral("json"), QJsonObject{{QStringLiteral("ok"), true}}},
                              {QStringLiteral("delayMs"), stallSeconds * 1000}};
    const QJsonObject script{
        {QStringLiteral("GET /health"),
         QJsonArray{QJsonObject{{QStringLiteral("json"), QJsonObject{{QStringLiteral("ok"), true}}}}}},
        {QStringLiteral("POST /api/v1/auth/login"), QJsonArray{stalled}}};
    QThread gatewayThread;
    auto *gateway = new test::GatewayStandIn(test::GatewayScenario(script));
    gateway->moveToThread(&gatewayThread);
    QObject::connect(&gatewayThread, &QThread::finished, gateway, &QObject::deleteLater);
    gatewayThread.start();
    QMetaObject::invokeMethod(
        gateway, [gateway] { gateway->listen(); }, Qt::BlockingQueuedConnection);

    DashboardViewModel model(WorkflowServices::production(gateway->baseUrl()));
    model.setKorvaneIdentifier(QStringLiteral("tech1"));
    model.setKorvaneCredential(QStringLiteral("secret"));

    QElapsedTimer clock;
    qint64 lastTick = 0;
    qint64 ticks = 0;
    QList<std::pair<qint64, qint64>> gaps; // length and end, both in nanoseconds since the start
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout, &app, [&] {
        const qint64 now = clock.nsecsElapsed();
        gaps.append({now - lastTick, now});
        lastTick = now;
        ++ticks;
    });
    // The same ticks with nothing running first: what the machine's own load costs.
    clock.start();
    ticker.start();
    test::waitForTask(QCoro::sleepFor(std::chrono::seconds(5)));
    const qint64 idleGap = std::ranges::max(gaps).first;
    gaps.clear();
    ticks = 0;
    clock.restart();
    lastTick = 0;
    test::waitForTask(model.loginToKorvane());
    ticker.stop();

    std::sort(gaps.begin(), gaps.end(), std::greater<>());
    std::printf("stalled sign-in: %.1f s, %lld ticks of 10 ms; status: %s\nlongest main-thread gaps:",
                double(clock.nsecsElapsed()) / 1e9, ticks, qPrintable(model.korvaneStatus()));
    for (const auto &[length, end] : gaps.mid(0, 5))
        std::printf(" %.1f ms (at %.2f s)", double(length) / 1e6, double(end) / 1e9);
    std::printf("\nlongest gap while idle for 5 s before: %.1f ms\n", double(idleGap) / 1e6);
    gatewayThread.quit();
    gatewayThread.wait();
    return 0;
}
