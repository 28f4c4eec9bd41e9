#include "common/CommandRunner.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QJsonDocument>
#include <QMutex>
#include <QProcess>
#include <QSet>
#include <QStringDecoder>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <limits>
#include <unistd.h>

namespace wrenlow {

namespace {

// After the termination signal a pipeline gets this long to go before the whole group is killed.
constexpr int terminationGraceMs = 300;
// A limit this long (some 30,000 years) cannot run out while a command runs; waiting it out as no limit at all
// keeps the deadline's arithmetic in range.
constexpr double unendingLimitSeconds = 1e12;
// Qt's timer takes its interval as an int of milliseconds (about 24.8 days); a longer wait re-arms it.
constexpr std::chrono::milliseconds longestTimerInterval{std::numeric_limits<int>::max()};

QString g_shell = QStringLiteral("/bin/zsh");
std::atomic_bool g_aborted = false;
QMutex g_runningMutex;
QSet<QEventLoop *> g_runningLoops;

// Decodes a stream as UTF-8; bytes that are not valid UTF-8 blank the stream instead of being replaced.
QString decodedAndTrimmed(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return {};
    return text.trimmed();
}

void signalGroup(qint64 pid, int signal)
{
    if (pid > 0)
        ::kill(-static_cast<pid_t>(pid), signal);
}

// Ends the child's whole process group (a pipeline's every member), politely first, and reaps the shell.
void endProcessGroup(QProcess &process, qint64 pid)
{
    signalGroup(pid, SIGTERM);
    if (!process.waitForFinished(terminationGraceMs)) {
        signalGroup(pid, SIGKILL);
        process.waitForFinished(-1);
    }
    // Members that outlived the shell still belong to the group.
    signalGroup(pid, SIGKILL);
}

CommandRunner::Result tooMuchOutput()
{
    return {QString(),
            QStringLiteral("Stopped: the command wrote more than %1 MiB.").arg(CommandRunner::maxStreamBytes >> 20),
            CommandRunner::outputTooLargeStatus};
}

// The wait's deadline, counted from now. A limit that is not a number gives no time, as one of 0 or less does, so
// that a miscomputed limit cannot leave a command running; an infinite one never passes.
QDeadlineTimer deadlineAfter(double seconds)
{
    if (!(seconds > 0))
        return QDeadlineTimer(0);
    if (seconds >= unendingLimitSeconds)
        return QDeadlineTimer(QDeadlineTimer::Forever);
    return QDeadlineTimer(qint64(seconds * 1000.0));
}

class RunningRegistration
{
public:
    explicit RunningRegistration(QEventLoop *loop)
        : m_loop(loop)
    {
        QMutexLocker lock(&g_runningMutex);
        g_runningLoops.insert(m_loop);
    }
    ~RunningRegistration()
    {
        QMutexLocker lock(&g_runningMutex);
        g_runningLoops.remove(m_loop);
    }
    RunningRegistration(const RunningRegistration &) = delete;
    RunningRegistration &operator=(const RunningRegistration &) = delete;

private:
    QEventLoop *m_loop;
};

} // namespace

CommandRunner::Result CommandRunner::run(const QString &command, double timeout)
{
    if (g_aborted)
        return {QString(), QStringLiteral("The application is quitting."), launchFailedStatus};

    QProcess process;
    process.setProgram(g_shell);
    process.setArguments({QStringLiteral("-lc"), command});
    process.setStandardInputFile(QProcess::nullDevice());
    // Its own process group, so that a time-out can end a whole pipeline and not only the shell.
    process.setChildProcessModifier([] { ::setpgid(0, 0); });

    process.start();
    if (!process.waitForStarted(-1))
        return {QString(), process.errorString(), launchFailedStatus};
    const qint64 pid = process.processId();

    // The clock starts after a successful launch. Both pipes are drained into our own buffers while we wait, so
    // output larger than a pipe holds still arrives whole, and a stream that passes the cap ends the wait.
    QByteArray out;
    QByteArray err;
    const auto drain = [&] {
        out += process.readAllStandardOutput();
        err += process.readAllStandardError();
        return out.size() > maxStreamBytes || err.size() > maxStreamBytes;
    };
    const QDeadlineTimer deadline = deadlineAfter(timeout);
    if (process.state() != QProcess::NotRunning && !deadline.hasExpired()) {
        QEventLoop loop;
        RunningRegistration registration(&loop);
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        for (const auto signal : {&QProcess::readyReadStandardOutput, &QProcess::readyReadStandardError}) {
            QObject::connect(&process, signal, &loop, [&] {
                if (drain())
                    loop.quit();
            });
        }
        QTimer limit;
        limit.setSingleShot(true);
        limit.setTimerType(Qt::PreciseTimer);
        const auto armLimit = [&] {
            const std::chrono::nanoseconds remaining = deadline.remainingTimeAsDuration(); // the maximum when never
            limit.start(std::chrono::ceil<std::chrono::milliseconds>(
                std::min<std::chrono::nanoseconds>(remaining, longestTimerInterval)));
        };
        QObject::connect(&limit, &QTimer::timeout, &loop, [&] {
            if (deadline.hasExpired())
                loop.quit();
            else
                armLimit();
        });
        armLimit();
        if (!g_aborted && process.state() != QProcess::NotRunning)
            loop.exec();
    }
    if (drain()) {
        // From here Qt reads and drops what the tool still writes while it is being stopped.
        process.closeReadChannel(QProcess::StandardOutput);
        process.closeReadChannel(QProcess::StandardError);
        endProcessGroup(process, pid);
        return tooMuchOutput();
    }
    // A child that ended right at the deadline is read normally; finished() may still be queued.
    if (process.state() != QProcess::NotRunning)
        process.waitForFinished(0);

    if (process.state() != QProcess::NotRunning) {
        endProcessGroup(process, pid);
        return {QString(), QStringLiteral("Timed out"), timedOutStatus};
    }
    // The shell has ended; anything it left running in its group must not outlive the call.
    signalGroup(pid, SIGKILL);

    if (drain())
        return tooMuchOutput();
    // On a signal Qt reports the signal's number, as the platform's termination status does.
    return {decodedAndTrimmed(out), decodedAndTrimmed(err), process.exitCode()};
}

std::optional<QJsonObject> CommandRunner::json(const QString &command, double timeout)
{
    const Result result = run(command, timeout);
    if (result.status != 0)
        return std::nullopt;
    return parseJsonObject(result.stdOut);
}

std::optional<QJsonObject> CommandRunner::parseJsonObject(const QString &text)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return document.object();
}

void CommandRunner::abortAll()
{
    g_aborted = true;
    QMutexLocker lock(&g_runningMutex);
    for (QEventLoop *loop : std::as_const(g_runningLoops))
        QMetaObject::invokeMethod(loop, &QEventLoop::quit, Qt::QueuedConnection);
}

void CommandRunner::setShell(const QString &path)
{
    g_shell = path;
}

QString CommandRunner::shell()
{
    return g_shell;
}

} // namespace wrenlow
