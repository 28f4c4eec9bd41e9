#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace wrenlow {

// The three pages of the window, in sidebar order. A page's raw value is its title and its identity.
enum class AppPage { Overview, Tests, Upload };

// "Overview", "Tests", "Upload".
QString rawValue(AppPage page);
// The symbol name of the page's sidebar icon.
QString symbolName(AppPage page);
// Exact, case-sensitive match of a raw value; any other text gives no page.
std::optional<AppPage> appPageFromRaw(const QString &raw);
QList<AppPage> allAppPages();

} // namespace wrenlow
