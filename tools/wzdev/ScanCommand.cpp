// wzdev scan [--limit-scale F]: one whole Mac scan, printed as the snapshot's JSON (indented, sorted keys).
#include "Command.h"

#include "scan/MacInventoryService.h"

#include <QCoroTask>

namespace wrenlow::wzdev {

namespace {

int scanCommand(const QStringList &arguments)
{
    double scale = 1.0;
    if (arguments.size() == 2 && arguments.first() == QStringLiteral("--limit-scale")) {
        bool ok = false;
        scale = arguments.at(1).toDouble(&ok);
        if (!ok || scale <= 0) {
            printError(QStringLiteral("--limit-scale needs a positive number"));
            return 2;
        }
    } else if (!arguments.isEmpty()) {
        printError(QStringLiteral("usage: wzdev scan [--limit-scale F]"));
        return 2;
    }
    const MacInventoryService service(mactools::ToolLimits().scaled(scale));
    printJson(QCoro::waitFor(service.scan()).toJson(), true);
    return 0;
}

const Registration registration{{QStringLiteral("scan"), QStringLiteral("[--limit-scale F]"), scanCommand}};

} // namespace

} // namespace wrenlow::wzdev
