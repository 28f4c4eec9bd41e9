// wzdev scan [--limit-scale F]: one whole Mac scan, printed as the snapshot's JSON (indented, sorted keys).
#include "Command.h"

#include "scan/MacInventoryService.h"

#include <QCoroTask>

namespace wrenlow::wzdev {

namespace {

int scanCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption scaleOption(QStringLiteral("limit-scale"), {}, QStringLiteral("F"));
    parser.addOption(scaleOption);
    const std::optional<QStringList> rest = parseArguments(parser, arguments);
    if (!rest || !rest->isEmpty()) {
        printError(QStringLiteral("usage: wzdev scan [--limit-scale F]"));
        return 2;
    }
    double scale = 1.0;
    if (parser.isSet(scaleOption)) {
        bool ok = false;
        scale = parser.value(scaleOption).toDouble(&ok);
        if (!ok || scale <= 0) {
            printError(QStringLiteral("--limit-scale needs a positive number"));
            return 2;
        }
    }
    const MacInventoryService service(mactools::ToolLimits().scaled(scale));
    printJson(QCoro::waitFor(service.scan()).toJson(), true);
    return 0;
}

const Registration registration{{QStringLiteral("scan"), QStringLiteral("[--limit-scale F]"), scanCommand}};

} // namespace

} // namespace wrenlow::wzdev
