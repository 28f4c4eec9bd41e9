// How long the main thread goes without serving its event loop while a sign-in waits on a stalled gateway.
// A timer ticks every 10 ms on the main thread; the longest gap between two ticks is what a window would show as
// a frozen frame. The stand-in gateway runs on a thread of its own and holds the sign-in answer back for
// STALL seconds (45 by default). Run by hand: build/tests/workflow/bench/StalledSignInBenchmark [STALL]
#include "workflow/DashboardViewModel.h"
#include "workflow/WorkflowServices.h"

#include "GatewayStandIn.h"
#include "TaskWait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <cstdio>

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
    qint64 longestGap = 0;
    qint64 ticks = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout, &app, [&] {
        const qint64 now = clock.nsecsElapsed();
        longestGap = std::max(longestGap, now - lastTick);
        lastTick = now;
        ++ticks;
    });
    clock.start();
    ticker.start();
    test::waitForTask(model.loginToKorvane());
    ticker.stop();

    std::printf("stalled sign-in: %.1f s, %lld ticks of 10 ms, longest main-thread gap %.1f ms\nstatus: %s\n",
                double(clock.nsecsElapsed()) / 1e9, ticks, double(longestGap) / 1e6, qPrintable(model.korvaneStatus()));
    gatewayThread.quit();
    gatewayThread.wait();
    return 0;
}
