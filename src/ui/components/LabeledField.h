#pragma once

#include "ui/theme/WrenlowTheme.h"

#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;

namespace wrenlow {

// A two-way link to one text field of the view model.
struct TextBinding
{
    std::function<QString()> read;
    std::function<void(const QString &)> write;
};

// A caption above a single-line entry drawn in the theme's colours. Typing writes the whole text straight to
// the bound field (on edits only, so that a programmatic change such as a cleared credential never echoes
// back); refresh() shows the field's current value without disturbing the cursor while the two agree.
class LabeledField : public QWidget
{
    Q_OBJECT
public:
    LabeledField(const QString &title, TextBinding text, const QString &prompt, QWidget *parent = nullptr);

    void setTitle(const QString &title);
    void setPrompt(const QString &prompt);
    void refresh();

    QLineEdit *lineEdit() const { return m_edit; }
    QLabel *caption() const { return m_caption; }

    // The entry box's height, which the page's other controls in a field's place share.
    static constexpr int boxHeight = 36;

private:
    QLabel *m_caption;
    QLineEdit *m_edit;
    TextBinding m_binding;
};

// The same with masked entry: typed characters are never shown.
class SecureLabeledField : public LabeledField
{
    Q_OBJECT
public:
    SecureLabeledField(const QString &title, TextBinding text, const QString &prompt, QWidget *parent = nullptr);
};

// A label of the program's own text in a font and a theme colour that follows the appearance.
QLabel *makeLabel(const QString &text, const QFont &font, ThemeRole color, QWidget *parent = nullptr,
                  qreal opacity = 1.0);

// The caption style shared by the fields and the captions the pages draw above their own controls.
QLabel *makeCaption(const QString &text, QWidget *parent = nullptr);

} // namespace wrenlow
