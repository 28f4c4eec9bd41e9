#pragma once

#include "ui/theme/WrenlowTheme.h"

#include <QWidget>

class QLabel;

namespace wrenlow {

class DashboardViewModel;
class PlainLabel;
class SelectableText;
class TintedButton;

// The Upload page's destinations card: where a result goes (Google Sheets, Korvane, the local pending queue),
// the queue's retry, the routing status line, the local report's path and the upload button.
class DestinationsCard : public QWidget
{
    Q_OBJECT
public:
    explicit DestinationsCard(DashboardViewModel &model, QWidget *parent = nullptr);

    void refresh();

private:
    // One destination: its symbol in a fixed-width column, the title and below it the detail, whose label
    // is returned through `detailLabel`.
    QWidget *destinationRow(const QString &symbol, const QString &title, const QString &detail, ThemeRole color,
                            QLabel **detailLabel = nullptr);
    QWidget *captioned(const QString &caption, QWidget *content);

    DashboardViewModel &m_model;
    QLabel *m_sheetsDetail = nullptr;
    QLabel *m_pendingDetail = nullptr;
    TintedButton *m_retry = nullptr;
    PlainLabel *m_routingStatus = nullptr;
    SelectableText *m_reportPath = nullptr;
    TintedButton *m_upload = nullptr;
};

} // namespace wrenlow
