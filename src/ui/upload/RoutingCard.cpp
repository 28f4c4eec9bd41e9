#include "ui/upload/RoutingCard.h"

#include "ui/components/FieldFrame.h"
#include "ui/components/LabeledField.h"
#include "ui/components/MenuPicker.h"
#include "ui/components/PlainLabel.h"
#include "ui/components/SegmentedPicker.h"
#include "ui/components/Spinner.h"
#include "ui/components/TintedButton.h"
#include "ui/theme/WrenlowFont.h"
#include "ui/upload/UploadParts.h"
#include "workflow/DashboardViewModel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <array>

namespace wrenlow {

namespace {

using Model = DashboardViewModel;

const QString amazonProjectName = QStringLiteral("Incoming Amazon Returns");

// The duplicate actions in segment order: the segment's title and the value stored.
const std::array<std::pair<const char *, const char *>, 3> duplicateActions{
    {{"Skip", "skip"}, {"Append", "append"}, {"Overwrite", "overwrite"}}};

QVBoxLayout *block(QWidget *owner, const QString &caption)
{
    auto *layout = new QVBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(makeCaption(caption, owner));
    return layout;
}

// The comments editor stands at its least height until the card gives it more; a plain editor asks for 192 px.
class CommentsEditor : public QPlainTextEdit
{
public:
    using QPlainTextEdit::QPlainTextEdit;

    QSize sizeHint() const override { return {QPlainTextEdit::sizeHint().width(), minimumHeight()}; }
};

} // namespace

RoutingCard::RoutingCard(DashboardViewModel &model, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
    , m_spinner(new Spinner(14, ThemeRole::Muted, this))
{
    setObjectName(QStringLiteral("routingCard"));
    auto *stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(14);

    auto *titleRow = new QHBoxLayout;
    titleRow->addWidget(upload::makeText(QStringLiteral("Technician & Routing"), 14, QFont::Bold, FontDesign::Rounded,
                                         ThemeRole::Primary, this));
    titleRow->addStretch();
    m_spinner->setObjectName(QStringLiteral("routingBusy"));
    titleRow->addWidget(m_spinner);
    stack->addLayout(titleRow);

    const auto field = [this](const char *name, const QString &title, const QString &(Model::*read)() const,
                              void (Model::*write)(QString), const QString &prompt) {
        auto *labeled = new LabeledField(title, upload::textBinding(m_model, read, write), prompt, this);
        labeled->setObjectName(QLatin1String(name));
        m_fields.append(labeled);
        return labeled;
    };

    stack->addWidget(
        field("empIdField", QStringLiteral("EMP ID"), &Model::empID, &Model::setEmpID, QStringLiteral("Employee ID")));

    auto *loadRow = new QHBoxLayout;
    loadRow->setSpacing(8);
    m_loadProjects =
        new TintedButton(QStringLiteral("Load Projects"), TintedButton::Style::Prominent, ThemeRole::Accent2, this);
    m_loadProjects->setObjectName(QStringLiteral("loadProjectsButton"));
    m_loadProjects->setSymbol(QStringLiteral("arrow.triangle.2.circlepath"));
    connect(m_loadProjects, &TintedButton::clicked, this, [this] { m_model.loadProjects(); });
    loadRow->addWidget(m_loadProjects);
    m_employeeName = upload::makeOutsideText("routingEmployeeName", 10, QFont::DemiBold, ThemeRole::Accent, this, 1);
    loadRow->addWidget(m_employeeName, 1, Qt::AlignVCenter);
    loadRow->addStretch();
    stack->addLayout(loadRow);

    stack->addWidget(makeProjectBlock());

    m_assetTag = field("assetTagField", QString(), &Model::assetTag, &Model::setAssetTag, QString());
    stack->addWidget(m_assetTag);
    stack->addWidget(field("technicianField", QStringLiteral("TECHNICIAN"), &Model::technicianName,
                           &Model::setTechnicianName, QStringLiteral("Technician name")));

    m_amazonFields = makeAmazonFields();
    stack->addWidget(m_amazonFields);
    stack->addWidget(makeDuplicateBlock());

    auto *checkRow = new QHBoxLayout;
    checkRow->setSpacing(8);
    m_checkDuplicate =
        new TintedButton(QStringLiteral("Check Duplicate"), TintedButton::Style::Bordered, std::nullopt, this);
    m_checkDuplicate->setObjectName(QStringLiteral("checkDuplicateButton"));
    m_checkDuplicate->setSymbol(QStringLiteral("magnifyingglass.circle"));
    connect(m_checkDuplicate, &TintedButton::clicked, this, [this] { m_model.checkDuplicate(); });
    checkRow->addWidget(m_checkDuplicate);
    m_duplicateMessage = upload::makeOutsideText("duplicateMessage", 9, QFont::Normal, ThemeRole::Muted, this, 2);
    checkRow->addWidget(m_duplicateMessage, 1, Qt::AlignVCenter);
    checkRow->addStretch();
    stack->addLayout(checkRow);

    stack->addWidget(makeCommentsBlock());
    refresh();
}

QWidget *RoutingCard::makeProjectBlock()
{
    auto *projectBlock = new QWidget(this);
    QVBoxLayout *layout = block(projectBlock, QStringLiteral("PROJECT"));

    // The free text field and the fixed Amazon project are labelled fields whose caption is the block's own.
    m_projectText =
        new LabeledField(QString(), upload::textBinding(m_model, &Model::selectedProject, &Model::setSelectedProject),
                         QStringLiteral("Load projects for this EMP ID"), projectBlock);
    m_projectText->setObjectName(QStringLiteral("projectTextField"));
    m_projectText->caption()->hide();
    m_fields.append(m_projectText);
    layout->addWidget(m_projectText);

    m_amazonProject = new LabeledField(QString(), TextBinding{}, QString(), projectBlock);
    m_amazonProject->setObjectName(QStringLiteral("amazonProject"));
    m_amazonProject->caption()->hide();
    m_amazonProject->lineEdit()->setText(amazonProjectName);
    m_amazonProject->lineEdit()->setReadOnly(true);
    m_amazonProject->lineEdit()->setFocusPolicy(Qt::NoFocus);
    m_amazonProject->lineEdit()->setFont(WrenlowFont::font(12, QFont::DemiBold));
    layout->addWidget(m_amazonProject);

    m_projectMenu = new MenuPicker(projectBlock);
    m_projectMenu->setObjectName(QStringLiteral("projectMenu"));
    m_projectMenu->setAccessibleName(QStringLiteral("Project"));
    connect(m_projectMenu, &QComboBox::activated, this,
            [this](int index) { m_model.setSelectedProject(m_projectMenu->itemData(index).toString()); });
    layout->addWidget(m_projectMenu);
    return projectBlock;
}

QWidget *RoutingCard::makeAmazonFields()
{
    auto *amazon = new QWidget(this);
    amazon->setObjectName(QStringLiteral("amazonFields"));
    auto *layout = new QVBoxLayout(amazon);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);

    struct AmazonField
    {
        const char *name;
        QString title;
        const QString &(Model::*read)() const;
        void (Model::*write)(QString);
        QString prompt;
    };
    const QList<QList<AmazonField>> rows{
        {{"sentField", QStringLiteral("SENT"), &Model::sent, &Model::setSent, QStringLiteral("Sent")},
         {"trackingNumberField", QStringLiteral("TRACKING NO"), &Model::trackingNumber, &Model::setTrackingNumber,
          QStringLiteral("Tracking number")}},
        {{"locationField", QStringLiteral("LOCATION"), &Model::location, &Model::setLocation,
          QStringLiteral("Location")},
         {"palletNumberField", QStringLiteral("PALLET NO"), &Model::palletNumber, &Model::setPalletNumber,
          QStringLiteral("Pallet")}},
        {{"fsnCodeField", QStringLiteral("FSN CODE"), &Model::fsnCode, &Model::setFsnCode, QStringLiteral("FSN")},
         {"asinCodeField", QStringLiteral("ASIN CODE"), &Model::asinCode, &Model::setAsinCode, QStringLiteral("ASIN")}},
        {{"itemDescriptionField", QStringLiteral("DESCRIPTION"), &Model::itemDescription, &Model::setItemDescription,
          QStringLiteral("Description")}},
        {{"issueField", QStringLiteral("ISSUE"), &Model::issue, &Model::setIssue, QStringLiteral("Issue")}},
        {{"workingOnItField", QStringLiteral("WORKING ON IT"), &Model::workingOnIt, &Model::setWorkingOnIt,
          QStringLiteral("Work performed / current status")}},
    };
    for (const QList<AmazonField> &row : rows) {
        auto *line = new QHBoxLayout;
        line->setSpacing(10);
        for (const AmazonField &amazonField : row) {
            auto *labeled =
                new LabeledField(amazonField.title, upload::textBinding(m_model, amazonField.read, amazonField.write),
                                 amazonField.prompt, amazon);
            labeled->setObjectName(QLatin1String(amazonField.name));
            m_fields.append(labeled);
            line->addWidget(labeled, 1);
        }
        layout->addLayout(line);
    }
    return amazon;
}

QWidget *RoutingCard::makeDuplicateBlock()
{
    auto *duplicateBlock = new QWidget(this);
    QVBoxLayout *layout = block(duplicateBlock, QStringLiteral("DUPLICATE ACTION"));
    QStringList titles;
    for (const auto &action : duplicateActions)
        titles.append(QLatin1String(action.first));
    m_duplicateAction = new SegmentedPicker(titles, duplicateBlock);
    m_duplicateAction->setObjectName(QStringLiteral("duplicateActionPicker"));
    m_duplicateAction->setAccessibleName(QStringLiteral("Duplicate Action"));
    connect(m_duplicateAction, &SegmentedPicker::activated, this, [this](int index) {
        m_model.setDuplicateAction(QLatin1String(duplicateActions.at(size_t(index)).second));
    });
    layout->addWidget(m_duplicateAction);
    return duplicateBlock;
}

QWidget *RoutingCard::makeCommentsBlock()
{
    auto *commentsBlock = new QWidget(this);
    QVBoxLayout *layout = block(commentsBlock, QStringLiteral("COMMENTS"));
    m_comments = new CommentsEditor(commentsBlock);
    m_comments->setObjectName(QStringLiteral("commentsEditor"));
    m_comments->setFont(WrenlowFont::font(12));
    m_comments->setFrameShape(QFrame::NoFrame);
    m_comments->setTabChangesFocus(true);
    // The frame paints the fill; the editor stays transparent in both appearances.
    m_comments->viewport()->setAutoFillBackground(false);
    m_comments->setStyleSheet(QStringLiteral("QPlainTextEdit { background: transparent; }"));
    m_comments->setMinimumHeight(92);
    upload::bind(m_comments, m_model, &Model::setComments);
    layout->addWidget(new FieldFrame(m_comments, QMargins(6, 6, 6, 6), commentsBlock));
    return commentsBlock;
}

void RoutingCard::refresh()
{
    const bool busy = m_model.isRoutingBusy();
    const bool amazon = m_model.isAmazon();
    m_spinner->setVisible(busy);

    for (LabeledField *field : std::as_const(m_fields))
        field->refresh();
    m_loadProjects->setEnabled(!m_model.empID().trimmed().isEmpty() && !busy);
    m_employeeName->setOutsideText(m_model.routingEmployeeName());
    m_employeeName->setVisible(!m_model.routingEmployeeName().isEmpty());

    const QStringList &projects = m_model.projectOptions();
    m_amazonProject->setVisible(amazon);
    m_projectText->setVisible(!amazon && projects.isEmpty());
    m_projectMenu->setVisible(!amazon && !projects.isEmpty());
    QList<upload::Entry> entries;
    for (const QString &project : projects)
        entries.append({upload::menuText(project), project});
    upload::showEntries(m_projectMenu, entries, m_model.selectedProject());

    m_assetTag->setTitle(amazon ? QStringLiteral("AZ NUMBER / ASSET TAG") : QStringLiteral("ASSET TAG"));
    m_assetTag->setPrompt(amazon ? QStringLiteral("Required AZ number") : QStringLiteral("Optional asset tag"));
    m_amazonFields->setVisible(amazon);

    int action = -1;
    for (size_t i = 0; i < duplicateActions.size(); ++i) {
        if (m_model.duplicateAction() == QLatin1String(duplicateActions.at(i).second))
            action = int(i);
    }
    m_duplicateAction->setCurrentIndex(action);

    m_checkDuplicate->setEnabled(m_model.routingReady() && !busy && m_model.sheetsConfigured());
    m_duplicateMessage->setOutsideText(m_model.lastDuplicateMessage());
    m_duplicateMessage->setVisible(!m_model.lastDuplicateMessage().isEmpty());
    upload::show(m_comments, m_model.comments());
}

} // namespace wrenlow
