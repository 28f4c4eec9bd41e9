#include "FakeMacEnvironment.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace wrenlow::test {

namespace {

const char *const environmentNames[] = {"PATH", "ZDOTDIR", "HOME", "WRENLOW_FAKEMAC_SCENARIO", "WRENLOW_FAKEMAC_LOG"};

} // namespace

QString FakeMacEnvironment::fakeMacRoot()
{
    return QStringLiteral(WRENLOW_FAKEMAC_DIR);
}

FakeMacEnvironment::FakeMacEnvironment(const QString &scenario)
    : m_scenario(scenario.contains(u'/') ? scenario : fakeMacRoot() + QStringLiteral("/scenarios/") + scenario)
{
    for (const char *name : environmentNames)
        m_saved.append({name, qgetenv(name)});

    const QString work = m_work.path();
    QDir(work).mkpath(QStringLiteral("toolbox"));
    QDir(work).mkpath(QStringLiteral("zdotdir"));
    QDir(work).mkpath(QStringLiteral("home"));
    for (const char *tool : {"sed", "head", "sh", "cat", "sleep", "tr"}) {
        const QString real = QStandardPaths::findExecutable(QString::fromLatin1(tool));
        QFile::link(real, work + QStringLiteral("/toolbox/") + QString::fromLatin1(tool));
    }
    const QString path = fakeMacRoot() + QStringLiteral("/bin:") + work + QStringLiteral("/toolbox");
    qputenv("PATH", path.toUtf8());
    qputenv("ZDOTDIR", (work + QStringLiteral("/zdotdir")).toUtf8());
    // A macOS login shell's /etc/zprofile runs path_helper, which puts the system folders (and the real tools)
    // first; the login shell's last start-up file sets the stand-ins' PATH again.
    QFile login(work + QStringLiteral("/zdotdir/.zlogin"));
    if (login.open(QIODevice::WriteOnly))
        login.write("export PATH='" + path.toUtf8().replace("'", "'\\''") + "'\n");
    qputenv("HOME", homePath().toUtf8());
    qputenv("WRENLOW_FAKEMAC_SCENARIO", QDir(m_scenario).absolutePath().toUtf8());
    qputenv("WRENLOW_FAKEMAC_LOG", (work + QStringLiteral("/invocations.log")).toUtf8());
}

FakeMacEnvironment::~FakeMacEnvironment()
{
    for (const auto &[name, value] : m_saved) {
        if (value.isNull())
            qunsetenv(name.constData());
        else
            qputenv(name.constData(), value);
    }
}

QString FakeMacEnvironment::homePath() const
{
    return m_work.path() + QStringLiteral("/home");
}

QList<FakeMacEnvironment::Invocation> FakeMacEnvironment::invocations() const
{
    QList<Invocation> result;
    QFile log(m_work.path() + QStringLiteral("/invocations.log"));
    if (!log.open(QIODevice::ReadOnly))
        return result;
    for (const QByteArray &line : log.readAll().split('\n')) {
        if (line.isEmpty())
            continue;
        QStringList fields = QString::fromUtf8(line).split(u'\t');
        Invocation invocation;
        invocation.pid = fields.takeFirst().toLongLong();
        invocation.argv = fields;
        result.append(invocation);
    }
    return result;
}

} // namespace wrenlow::test
