// wzdev pending save PAYLOAD.json | list | read FILE | remove FILE: the pending-upload queue under $HOME.
#include "Command.h"

#include "common/WrenlowError.h"
#include "sheets/PendingUploadStore.h"

namespace wrenlow::wzdev {

namespace {

int usage()
{
    printError(QStringLiteral("usage: wzdev pending save PAYLOAD.json | list | read FILE | remove FILE"));
    return 2;
}

int pendingCommand(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return usage();
    const QString action = arguments.first();
    const PendingUploadStore &store = PendingUploadStore::shared();
    try {
        if (action == u"list" && arguments.size() == 1) {
            for (const QString &file : store.files())
                printLine(file);
        } else if (action == u"save" && arguments.size() == 2) {
            QJsonObject payload;
            if (!readJsonObject(arguments.at(1), payload))
                return 1;
            printLine(store.save(payload));
        } else if (action == u"read" && arguments.size() == 2) {
            printJson(store.read(arguments.at(1)), true);
        } else if (action == u"remove" && arguments.size() == 2) {
            store.remove(arguments.at(1));
        } else {
            return usage();
        }
        return 0;
    } catch (const WrenlowError &error) {
        printError(error.description());
        return 1;
    }
}

const Registration registration{
    {QStringLiteral("pending"), QStringLiteral("save PAYLOAD.json | list | read FILE | remove FILE"), pendingCommand}};

} // namespace

} // namespace wrenlow::wzdev
