#pragma once

#include "scan/InventoryModel.h"
#include "ui/components/GlassCard.h"

#include <QList>

class QLabel;
class QVBoxLayout;

namespace wrenlow {

class PlainLabel;
class SelectableText;
class SymbolTile;

// One inventory section of the last scan on the Overview page: its icon, title and row count, its note, and its
// labelled rows with hairlines between them. Values can be selected and copied.
class HardwareCard : public GlassCard
{
    Q_OBJECT

public:
    explicit HardwareCard(const InventorySection &section, QWidget *parent = nullptr);

    const InventorySection &section() const { return m_section; }
    // Shows a later scan's version of the section, reusing the rows it already has.
    void setSection(const InventorySection &section);

private:
    struct Row
    {
        QWidget *separator = nullptr; // above the row; none above the first
        QWidget *row = nullptr;
        PlainLabel *label = nullptr;
        SelectableText *value = nullptr;
    };

    void showSection(const InventorySection &section);
    Row addRow();
    void showValue(const Row &row, const InventoryValue &value);

    InventorySection m_section;
    SymbolTile *m_tile;
    PlainLabel *m_title;
    QLabel *m_count;
    PlainLabel *m_message;
    QVBoxLayout *m_rowsLayout;
    QList<Row> m_rows;
};

} // namespace wrenlow
