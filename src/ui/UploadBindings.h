#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <utility>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace wrenlow {

class DashboardViewModel;

// The Upload page's two-way bindings. A control writes its field only when the technician edits it, so that
// showing a value the model set never echoes back; showing a value touches the control only when it differs, so
// the cursor and selection of the control being typed in stay where they are.
namespace binding {

using TextSetter = void (DashboardViewModel::*)(QString);

// Every edit of the technician stores the whole text, untrimmed.
void bind(QLineEdit *edit, DashboardViewModel &model, TextSetter setter);
void bind(QPlainTextEdit *edit, DashboardViewModel &model, TextSetter setter);
void show(QLineEdit *edit, const QString &value);
void show(QPlainTextEdit *edit, const QString &value);

// One menu entry: the text shown and the value it stands for.
using Entry = std::pair<QString, QVariant>;

// Refills the menu only when its entries changed, with its signals blocked, and selects the entry standing for
// value, or nothing when no entry does: a menu never picks an entry on its own.
void showEntries(QComboBox *combo, const QList<Entry> &entries, const QVariant &value);

} // namespace binding

} // namespace wrenlow
