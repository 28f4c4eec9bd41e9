#pragma once

#include "ui/components/LabeledField.h"
#include "ui/theme/UiPlatform.h"
#include "ui/theme/WrenlowTheme.h"

#include <QFont>
#include <QList>
#include <QString>
#include <QVariant>

#include <utility>

class QComboBox;
class QLabel;
class QPlainTextEdit;

namespace wrenlow {

class DashboardViewModel;
class PlainLabel;

// What the Upload page's cards share: texts in the page's fonts and colours, and the two-way bindings
// of the controls that are not labelled fields.
namespace upload {

// Our own fixed text (never text from outside) in a font of the page, coloured by a theme role.
QLabel *makeText(const QString &text, int pixelSize, QFont::Weight weight, FontDesign design, ThemeRole color,
                 QWidget *parent);
// The same, wrapping onto as many lines as the width needs.
QLabel *makeWrappedText(const QString &text, int pixelSize, ThemeRole color, QWidget *parent);

// Text from outside (a gateway's answer, a user's name) in a font of the page. With `lines` it stops after that
// many lines with an ellipsis and the whole text in its tooltip; without, it takes every line it needs. Either way it
// breaks inside a long word rather than widening its card.
PlainLabel *makeOutsideText(const char *objectName, int pixelSize, QFont::Weight weight, ThemeRole color,
                            QWidget *parent, int lines = 0);
// A name from outside as one menu entry: cleaned, on one line, cut to a length a menu can show.
QString menuText(const QString &name);

// A labelled field's link to one text field of the model.
TextBinding textBinding(DashboardViewModel &model, const QString &(DashboardViewModel::*read)() const,
                        void (DashboardViewModel::*write)(QString));

// The editor writes its whole text on every edit of the technician; show() puts a value of the model into it
// only when the two differ, with signals blocked so that it does not echo back.
void bind(QPlainTextEdit *edit, DashboardViewModel &model, void (DashboardViewModel::*write)(QString));
void show(QPlainTextEdit *edit, const QString &value);

// One menu entry: the text shown and the value it stands for.
using Entry = std::pair<QString, QVariant>;

// Refills the menu only when its entries changed, with its signals blocked, and selects the entry standing for
// value, or nothing when no entry does: a menu never picks an entry on its own. Pair it with the menu's
// activated() signal, which only the technician's choice emits.
void showEntries(QComboBox *combo, const QList<Entry> &entries, const QVariant &value);

} // namespace upload

} // namespace wrenlow
