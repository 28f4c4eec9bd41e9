#include "ui/components/LabeledField.h"

#include "ui/components/FieldFrame.h"
#include "ui/theme/WrenlowFont.h"
#include "ui/theme/WrenlowTheme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <limits>

namespace wrenlow {

QLabel *makeLabel(const QString &text, const QFont &font, ThemeRole color, QWidget *parent, qreal opacity)
{
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    WrenlowTheme::setForeground(label, color, opacity);
    return label;
}

QLabel *makeCaption(const QString &text, QWidget *parent)
{
    return makeLabel(text, WrenlowFont::font(9, QFont::Bold, FontDesign::Rounded, 1), ThemeRole::Muted, parent);
}

LabeledField::LabeledField(const QString &title, TextBinding text, const QString &prompt, QWidget *parent)
    : QWidget(parent)
    , m_caption(makeCaption(title, this))
    , m_edit(new QLineEdit(this))
    , m_binding(std::move(text))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(m_caption);

    auto *box = new FieldFrame(m_edit, QMargins(11, 0, 11, 0), this);
    box->setFixedHeight(boxHeight);
    layout->addWidget(box);

    m_edit->setFrame(false);
    m_edit->setFont(WrenlowFont::font(12));
    m_edit->setPlaceholderText(prompt);
    // What the technician types or pastes reaches the model whole; Qt would cut it at 32,767 characters.
    m_edit->setMaxLength(std::numeric_limits<int>::max());
    // The box paints the fill; the entry itself stays transparent in both appearances.
    QPalette palette = m_edit->palette();
    palette.setColor(QPalette::Base, Qt::transparent);
    m_edit->setPalette(palette);
    setFocusProxy(m_edit);

    connect(m_edit, &QLineEdit::textEdited, this, [this](const QString &typed) {
        if (m_binding.write)
            m_binding.write(typed);
    });
    refresh();
}

void LabeledField::setTitle(const QString &title)
{
    m_caption->setText(title);
}

void LabeledField::setPrompt(const QString &prompt)
{
    m_edit->setPlaceholderText(prompt);
}

void LabeledField::refresh()
{
    if (!m_binding.read)
        return;
    const QString value = m_binding.read();
    if (m_edit->text() != value)
        m_edit->setText(value);
}

SecureLabeledField::SecureLabeledField(const QString &title, TextBinding text, const QString &prompt, QWidget *parent)
    : LabeledField(title, std::move(text), prompt, parent)
{
    lineEdit()->setEchoMode(QLineEdit::Password);
}

} // namespace wrenlow
