#include "ui/UploadBindings.h"

#include "workflow/DashboardViewModel.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>

namespace wrenlow::binding {

void bind(QLineEdit *edit, DashboardViewModel &model, TextSetter setter)
{
    QObject::connect(edit, &QLineEdit::textEdited, &model, [&model, setter](const QString &text) {
        (model.*setter)(text);
    });
}

void bind(QPlainTextEdit *edit, DashboardViewModel &model, TextSetter setter)
{
    // The editor has no edit-only signal; a change that show() makes runs with signals blocked.
    QObject::connect(edit, &QPlainTextEdit::textChanged, &model, [edit, &model, setter] {
        (model.*setter)(edit->toPlainText());
    });
}

void show(QLineEdit *edit, const QString &value)
{
    if (edit->text() != value)
        edit->setText(value);
}

void show(QPlainTextEdit *edit, const QString &value)
{
    if (edit->toPlainText() == value)
        return;
    const QSignalBlocker blocker(edit);
    edit->setPlainText(value);
}

void showEntries(QComboBox *combo, const QList<Entry> &entries, const QVariant &value)
{
    const QSignalBlocker blocker(combo);
    bool same = combo->count() == entries.size();
    for (int i = 0; same && i < combo->count(); ++i)
        same = combo->itemText(i) == entries.at(i).first && combo->itemData(i) == entries.at(i).second;
    if (!same) {
        combo->clear();
        for (const Entry &entry : entries)
            combo->addItem(entry.first, entry.second);
    }
    int index = -1;
    for (int i = 0; i < entries.size() && index < 0; ++i) {
        if (entries.at(i).second == value)
            index = i;
    }
    combo->setCurrentIndex(index);
}

} // namespace wrenlow::binding
