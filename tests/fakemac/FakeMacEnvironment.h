#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace wrenlow::test {

// Points this process's environment at the macOS tool stand-ins of one scenario for the life of the object,
// the way `with-scenario` does for a whole program: PATH holds only the stand-ins and a toolbox of real
// pipeline tools (also after a login shell's own start-up files), ZDOTDIR holds no user start-up files, HOME is
// fresh, and every stand-in invocation is logged.
class FakeMacEnvironment
{
public:
    // `scenario` is a folder name under tests/fakemac/scenarios or a path to a scenario folder.
    explicit FakeMacEnvironment(const QString &scenario);
    ~FakeMacEnvironment();
    FakeMacEnvironment(const FakeMacEnvironment &) = delete;
    FakeMacEnvironment &operator=(const FakeMacEnvironment &) = delete;

    static QString fakeMacRoot();
    QString scenarioPath() const { return m_scenario; }
    QString homePath() const;

    struct Invocation
    {
        qint64 pid = 0;
        QStringList argv; // the tool's name, then its arguments
    };
    // Every stand-in invocation since construction, in order.
    QList<Invocation> invocations() const;

private:
    QTemporaryDir m_work;
    QString m_scenario;
    QList<std::pair<QByteArray, QByteArray>> m_saved;
};

} // namespace wrenlow::test
