#include "ui/upload/UploadParts.h"

#include "ui/components/PlainLabel.h"
#include "ui/theme/WrenlowFont.h"
#include "workflow/DashboardViewModel.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalBlocker>

namespace wrenlow::upload {

namespace {

constexpr qsizetype menuTextCap = 120;

} // namespace

QLabel *makeText(const QString &text, int pixelSize, QFont::Weight weight, FontDesign design, ThemeRole color,
                 QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(WrenlowFont::font(pixelSize, weight, design));
    WrenlowTheme::setForeground(label, color);
    return label;
}

QLabel *makeWrappedText(const QString &text, int pixelSize, ThemeRole color, QWidget *parent)
{
    QLabel *label = makeText(text, pixelSize, QFont::Normal, FontDesign::Default, color, parent);
    label->setWordWrap(true);
    return label;
}

PlainLabel *makeOutsideText(const char *objectName, int pixelSize, QFont::Weight weight, ThemeRole color,
                            QWidget *parent, int lines)
{
    auto *label = new PlainLabel(parent);
    label->setObjectName(QLatin1String(objectName));
    label->setFont(WrenlowFont::font(pixelSize, weight));
    label->setLineLimit(lines);
    label->setWholeTextInToolTip(lines > 0);
    WrenlowTheme::setForeground(label, color);
    return label;
}

QString menuText(const QString &name)
{
    const QString line = cleanOutsideText(name).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line.size() <= menuTextCap ? line : line.left(menuTextCap - 1) + QChar(0x2026);
}

TextBinding textBinding(DashboardViewModel &model, const QString &(DashboardViewModel::*read)() const,
                        void (DashboardViewModel::*write)(QString))
{
    return {[&model, read] { return (model.*read)(); }, [&model, write](const QString &text) { (model.*write)(text); }};
}

void bind(QPlainTextEdit *edit, DashboardViewModel &model, void (DashboardViewModel::*write)(QString))
{
    QObject::connect(edit, &QPlainTextEdit::textChanged, &model,
                     [edit, &model, write] { (model.*write)(edit->toPlainText()); });
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

} // namespace wrenlow::upload
