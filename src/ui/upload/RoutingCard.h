#pragma once

#include <QWidget>

class QComboBox;
class QPlainTextEdit;

namespace wrenlow {

class DashboardViewModel;
class LabeledField;
class PlainLabel;
class SegmentedPicker;
class Spinner;
class TintedButton;

// The Upload page's technician and routing card: who works, where the row goes (the project, or the Amazon
// return route and its fields), the duplicate action and the comments, with the project loading and the
// duplicate check. Every control edits its view-model field directly; refresh() shows the model's state.
class RoutingCard : public QWidget
{
    Q_OBJECT
public:
    explicit RoutingCard(DashboardViewModel &model, QWidget *parent = nullptr);

    void refresh();

private:
    QWidget *makeProjectBlock();
    QWidget *makeAmazonFields();
    QWidget *makeDuplicateBlock();
    QWidget *makeCommentsBlock();

    DashboardViewModel &m_model;
    Spinner *m_spinner;
    QList<LabeledField *> m_fields;
    LabeledField *m_assetTag = nullptr;
    TintedButton *m_loadProjects = nullptr;
    PlainLabel *m_employeeName = nullptr;
    LabeledField *m_projectText = nullptr;
    LabeledField *m_amazonProject = nullptr;
    QComboBox *m_projectMenu = nullptr;
    QWidget *m_amazonFields = nullptr;
    SegmentedPicker *m_duplicateAction = nullptr;
    TintedButton *m_checkDuplicate = nullptr;
    PlainLabel *m_duplicateMessage = nullptr;
    QPlainTextEdit *m_comments = nullptr;
};

} // namespace wrenlow
