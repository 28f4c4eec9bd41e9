#include "workflow/AppPage.h"

namespace wrenlow {

QString rawValue(AppPage page)
{
    switch (page) {
    case AppPage::Overview:
        return QStringLiteral("Overview");
    case AppPage::Tests:
        return QStringLiteral("Tests");
    case AppPage::Upload:
        return QStringLiteral("Upload");
    }
    return {};
}

QString symbolName(AppPage page)
{
    switch (page) {
    case AppPage::Overview:
        return QStringLiteral("square.grid.2x2");
    case AppPage::Tests:
        return QStringLiteral("checklist");
    case AppPage::Upload:
        return QStringLiteral("arrow.up.circle");
    }
    return {};
}

std::optional<AppPage> appPageFromRaw(const QString &raw)
{
    for (const AppPage page : allAppPages()) {
        if (rawValue(page) == raw)
            return page;
    }
    return std::nullopt;
}

QList<AppPage> allAppPages()
{
    return {AppPage::Overview, AppPage::Tests, AppPage::Upload};
}

} // namespace wrenlow
