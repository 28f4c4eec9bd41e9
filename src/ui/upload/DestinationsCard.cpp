#include "ui/upload/DestinationsCard.h"

#include "report/ReportStore.h"
#include "ui/components/Hairline.h"
#include "ui/components/LabeledField.h"
#include "ui/components/PlainLabel.h"
#include "ui/components/SelectableText.h"
#include "ui/components/SymbolView.h"
#include "ui/components/TintedButton.h"
#include "ui/theme/WrenlowFont.h"
#include "ui/upload/UploadParts.h"
#include "workflow/DashboardViewModel.h"
#include "workflow/StatusText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace wrenlow {

DestinationsCard::DestinationsCard(DashboardViewModel &model, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
{
    setObjectName(QStringLiteral("destinationsCard"));
    auto *stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(15);

    stack->addWidget(upload::makeText(QStringLiteral("Destinations"), 14, QFont::Bold, FontDesign::Rounded,
                                      ThemeRole::Primary, this));
    stack->addWidget(destinationRow(QStringLiteral("tablecells"), QStringLiteral("Google Sheets"), QString(),
                                    ThemeRole::Accent, &m_sheetsDetail));
    m_sheetsDetail->setObjectName(QStringLiteral("sheetsDestinationDetail"));
    stack->addWidget(destinationRow(QStringLiteral("server.rack"), QStringLiteral("Korvane"),
                                    QStringLiteral("Canonical macOS inventory client is the next network layer"),
                                    ThemeRole::Accent2));
    stack->addWidget(destinationRow(QStringLiteral("tray.full"), QStringLiteral("Pending Queue"), QString(),
                                    ThemeRole::Green, &m_pendingDetail));
    m_pendingDetail->setObjectName(QStringLiteral("pendingDestinationDetail"));

    m_retry =
        new TintedButton(QStringLiteral("Retry Pending Queue"), TintedButton::Style::Bordered, std::nullopt, this);
    m_retry->setObjectName(QStringLiteral("retryPendingButton"));
    m_retry->setSymbol(QStringLiteral("arrow.clockwise.icloud"));
    // Each button starts its operation and lets it run on its own; the model's busy flag guards the rest.
    connect(m_retry, &TintedButton::clicked, this, [this] { m_model.retryPendingUploads(); });
    stack->addWidget(m_retry, 0, Qt::AlignLeft);

    m_routingStatus = upload::makeOutsideText("routingStatus", 10, QFont::Normal, ThemeRole::Muted, this);
    stack->addWidget(captioned(QStringLiteral("ROUTING STATUS"), m_routingStatus));

    m_reportPath = new SelectableText(this);
    m_reportPath->setObjectName(QStringLiteral("localReportPath"));
    m_reportPath->setFont(WrenlowFont::font(9, QFont::Normal, FontDesign::Monospaced));
    WrenlowTheme::setForeground(m_reportPath, ThemeRole::Subtle);
    stack->addWidget(captioned(QStringLiteral("LOCAL REPORT"), m_reportPath));

    stack->addWidget(new Hairline(Qt::Horizontal, this));

    m_upload = new TintedButton(QString(), TintedButton::Style::Prominent, ThemeRole::Accent, this);
    m_upload->setObjectName(QStringLiteral("uploadButton"));
    m_upload->setSymbol(QStringLiteral("arrow.up.circle.fill"));
    m_upload->setFont(WrenlowFont::font(13, QFont::Bold));
    m_upload->setHorizontalPadding(14);
    m_upload->setLeadingLabel(true);
    m_upload->setFixedHeight(42);
    m_upload->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(m_upload, &TintedButton::clicked, this, [this] { m_model.uploadToSheets(); });
    stack->addWidget(m_upload);

    stack->addWidget(upload::makeWrappedText(
        QStringLiteral("Long-lived production keys stay server-side. The Mac only holds a short-lived broker "
                       "session while the technician is signed in."),
        10, ThemeRole::Muted, this));
    refresh();
}

QWidget *DestinationsCard::destinationRow(const QString &symbol, const QString &title, const QString &detail,
                                          ThemeRole color, QLabel **detailLabel)
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(11);
    auto *icon = new SymbolView(symbol, 15, color, row);
    icon->setFixedWidth(26);
    layout->addWidget(icon);

    auto *texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(upload::makeText(title, 12, QFont::DemiBold, FontDesign::Default, ThemeRole::Primary, row));
    QLabel *detailText = upload::makeWrappedText(detail, 10, ThemeRole::Muted, row);
    texts->addWidget(detailText);
    layout->addLayout(texts, 1);
    if (detailLabel)
        *detailLabel = detailText;
    return row;
}

QWidget *DestinationsCard::captioned(const QString &caption, QWidget *content)
{
    auto *block = new QWidget(this);
    auto *layout = new QVBoxLayout(block);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(makeCaption(caption, block));
    content->setParent(block);
    layout->addWidget(content);
    return block;
}

void DestinationsCard::refresh()
{
    const bool busy = m_model.isRoutingBusy();
    const bool sheets = m_model.sheetsConfigured();
    m_sheetsDetail->setText(sheets ? QStringLiteral("Zel routing, duplicate handling, and secure broker session ready")
                                   : QStringLiteral("Sign in to Korvane to enable Sheets routing"));
    m_pendingDetail->setText(status::counted(m_model.pendingCount(), QStringLiteral("saved upload")));
    m_retry->setVisible(m_model.pendingCount() >= 1);
    m_retry->setEnabled(!busy && sheets);
    m_routingStatus->setOutsideText(m_model.routingStatus());
    // The home folder decides the path, so it is read again at every refresh rather than kept.
    m_reportPath->setText(ReportStore::latestReportURL());

    m_upload->setText(busy ? QStringLiteral("Working\u2026") : QStringLiteral("Upload to Zel Sheets"));
    m_upload->setEnabled(m_model.canUpload() && m_model.routingReady() && sheets && !busy);
}

} // namespace wrenlow
