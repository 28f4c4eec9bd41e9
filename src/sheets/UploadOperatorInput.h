#pragma once

#include <QString>

namespace wrenlow {

// The technician's routing and sheet fields as typed, handed to the payload builder just before an upload.
// It checks nothing itself: the builder decides what is required.
class UploadOperatorInput
{
public:
    UploadOperatorInput(QString empId, QString projectId, QString duplicateAction, QString assetTag, QString techName,
                        QString fsnCode, QString sent, QString trackingNumber, QString location, QString palletNumber,
                        QString asinCode, QString description, QString issue, QString workingOnIt, QString comments,
                        QString unitPasses);

    const QString &empId() const { return m_empId; }
    const QString &projectId() const { return m_projectId; }
    const QString &duplicateAction() const { return m_duplicateAction; }
    const QString &assetTag() const { return m_assetTag; }
    const QString &techName() const { return m_techName; }
    const QString &fsnCode() const { return m_fsnCode; }
    const QString &sent() const { return m_sent; }
    const QString &trackingNumber() const { return m_trackingNumber; }
    const QString &location() const { return m_location; }
    const QString &palletNumber() const { return m_palletNumber; }
    const QString &asinCode() const { return m_asinCode; }
    const QString &description() const { return m_description; }
    const QString &issue() const { return m_issue; }
    const QString &workingOnIt() const { return m_workingOnIt; }
    const QString &comments() const { return m_comments; }
    const QString &unitPasses() const { return m_unitPasses; }

private:
    QString m_empId;
    QString m_projectId;
    QString m_duplicateAction;
    QString m_assetTag;
    QString m_techName;
    QString m_fsnCode;
    QString m_sent;
    QString m_trackingNumber;
    QString m_location;
    QString m_palletNumber;
    QString m_asinCode;
    QString m_description;
    QString m_issue;
    QString m_workingOnIt;
    QString m_comments;
    QString m_unitPasses;
};

} // namespace wrenlow
