#pragma once

#include <QList>
#include <QWidget>

class QLabel;

namespace wrenlow {

class AdaptiveGridLayout;
class Code128BarcodeView;
class DashboardViewModel;
class GlassCard;
class HardwareCard;
class PlainLabel;
class StatusPill;
class SymbolTile;
struct InventorySection;
struct InventorySnapshot;

// The Overview page: a hero card that identifies the scanned Mac (model, architecture, counts, scan time and the
// serial number as text and barcode) above one card per inventory section in an adaptive grid. It only reads the
// view model's snapshot and follows each new one in place.
class OverviewView : public QWidget
{
    Q_OBJECT

public:
    explicit OverviewView(DashboardViewModel &model, QWidget *parent = nullptr);

private:
    QWidget *buildHero();
    QWidget *buildScanColumn();
    GlassCard *buildReadingCard();
    void refresh();
    void showHero(const InventorySnapshot *snapshot);
    void showSections(const QList<InventorySection> &sections);

    DashboardViewModel &m_model;

    SymbolTile *m_heroIcon = nullptr;
    PlainLabel *m_heroTitle = nullptr;
    QWidget *m_pills = nullptr;
    StatusPill *m_architecturePill = nullptr;
    StatusPill *m_sectionsPill = nullptr;
    StatusPill *m_checksPill = nullptr;
    QWidget *m_scanColumn = nullptr;
    QLabel *m_elapsed = nullptr;
    QWidget *m_barcodeFrame = nullptr;
    Code128BarcodeView *m_barcode = nullptr;
    PlainLabel *m_serial = nullptr;
    GlassCard *m_readingCard = nullptr;
    QWidget *m_grid = nullptr;
    AdaptiveGridLayout *m_gridLayout = nullptr;
    QList<HardwareCard *> m_cards;
};

// The scan's duration as the hero shows it: one decimal, always with a point, and "s" ("12.3s").
QString elapsedText(double seconds);

} // namespace wrenlow
