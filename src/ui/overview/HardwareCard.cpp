#include "ui/overview/HardwareCard.h"

#include "ui/components/Hairline.h"
#include "ui/components/LabeledField.h"
#include "ui/components/PlainLabel.h"
#include "ui/components/SelectableText.h"
#include "ui/components/SymbolTile.h"
#include "ui/theme/WrenlowFont.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace wrenlow {

namespace {

constexpr int labelColumnWidth = 112;

} // namespace

HardwareCard::HardwareCard(const InventorySection &section, QWidget *parent)
    : GlassCard(nullptr, parent)
    , m_section(section)
    , m_tile(new SymbolTile({SymbolTile::Fill::AccentTint, 34, 10, 14, ThemeRole::Accent}))
    , m_title(new PlainLabel)
    , m_count(makeLabel({}, WrenlowFont::font(10, QFont::Bold, FontDesign::Rounded), ThemeRole::Muted))
    , m_message(new PlainLabel)
    , m_rowsLayout(new QVBoxLayout)
{
    setObjectName(QStringLiteral("hardwareCard"));
    QVBoxLayout *stack = contentLayout();
    stack->setSpacing(14);

    auto *header = new QHBoxLayout;
    header->setSpacing(10);
    m_tile->setObjectName(QStringLiteral("sectionIcon"));
    header->addWidget(m_tile);
    m_title->setObjectName(QStringLiteral("sectionTitle"));
    m_title->setFont(WrenlowFont::font(14, QFont::Bold, FontDesign::Rounded));
    header->addWidget(m_title, 1);
    m_count->setObjectName(QStringLiteral("rowCount"));
    header->addWidget(m_count);
    stack->addLayout(header);

    m_message->setObjectName(QStringLiteral("sectionMessage"));
    m_message->setFont(WrenlowFont::font(11));
    WrenlowTheme::setForeground(m_message, ThemeRole::Muted);
    stack->addWidget(m_message);

    m_rowsLayout->setSpacing(0);
    m_rowsLayout->setContentsMargins(0, 0, 0, 0);
    stack->addLayout(m_rowsLayout);

    showSection(section);
}

void HardwareCard::setSection(const InventorySection &section)
{
    if (section == m_section)
        return;
    m_section = section;
    showSection(section);
}

void HardwareCard::showSection(const InventorySection &section)
{
    m_tile->setSymbol(section.symbol);
    m_title->setOutsideText(section.title);
    m_count->setText(QString::number(section.values.size()));
    m_message->setOutsideText(section.message.value_or(QString()));
    m_message->setVisible(section.message.has_value());

    while (m_rows.size() > section.values.size()) {
        const Row row = m_rows.takeLast();
        delete row.separator;
        delete row.row;
    }
    while (m_rows.size() < section.values.size())
        m_rows.append(addRow());
    for (qsizetype index = 0; index < m_rows.size(); ++index)
        showValue(m_rows.at(index), section.values.at(index));
}

HardwareCard::Row HardwareCard::addRow()
{
    Row row;
    if (!m_rows.isEmpty()) {
        row.separator = new Hairline(Qt::Horizontal, this);
        row.separator->setObjectName(QStringLiteral("rowSeparator"));
        m_rowsLayout->addWidget(row.separator);
    }
    row.row = new QWidget(this);
    row.row->setObjectName(QStringLiteral("row"));
    auto *layout = new QHBoxLayout(row.row);
    layout->setContentsMargins(0, 8, 0, 8);
    layout->setSpacing(12);

    row.label = new PlainLabel;
    row.label->setObjectName(QStringLiteral("rowLabel"));
    row.label->setFont(WrenlowFont::font(11, QFont::Medium));
    row.label->setFixedWidth(labelColumnWidth);
    WrenlowTheme::setForeground(row.label, ThemeRole::Muted);
    layout->addWidget(row.label, 0, Qt::AlignTop);

    row.value = new SelectableText;
    row.value->setObjectName(QStringLiteral("rowValue"));
    row.value->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // Clicked to select; tabbing through the page does not stop at every value.
    row.value->setFocusPolicy(Qt::ClickFocus);
    layout->addWidget(row.value, 1, Qt::AlignTop);

    m_rowsLayout->addWidget(row.row);
    return row;
}

void HardwareCard::showValue(const Row &row, const InventoryValue &value)
{
    row.label->setOutsideText(value.label);
    row.value->setText(value.value);
    const bool emphasised = value.state != InventoryValueState::Normal;
    row.value->setFont(WrenlowFont::font(11, emphasised ? QFont::DemiBold : QFont::Normal));
    WrenlowTheme::setForeground(row.value, WrenlowTheme::valueColor(value.state));
}

} // namespace wrenlow
