// wzdev: the developers' tool for scripted checks of the product's parts. Not installed, not shipped.
#include "Command.h"

#include <QCoreApplication>

using namespace wrenlow::wzdev;

namespace {

int usage()
{
    printError(QStringLiteral("usage: wzdev COMMAND [ARGUMENTS]\n\ncommands:"));
    for (const Command &command : CommandRegistry::all())
        printError(QStringLiteral("  wzdev %1 %2").arg(command.name, command.usage));
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty())
        return usage();
    const QString name = arguments.takeFirst();
    for (const Command &command : CommandRegistry::all()) {
        if (command.name == name)
            return command.run(arguments);
    }
    return usage();
}
