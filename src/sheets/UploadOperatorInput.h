#pragma once

#include <QString>

namespace wrenlow {

// The technician's routing and sheet fields as typed, handed to the payload builder just before an upload.
// It checks nothing itself: the builder decides what is required. Fill it by name:
//     UploadOperatorInput{.empId = ..., .projectId = ...}
// fields left out are empty.
struct UploadOperatorInput
{
    QString empId;
    QString projectId;
    QString duplicateAction;
    QString assetTag;
    QString techName;
    QString fsnCode;
    QString sent;
    QString trackingNumber;
    QString location;
    QString palletNumber;
    QString asinCode;
    QString description;
    QString issue;
    QString workingOnIt;
    QString comments;
    QString unitPasses;
};

// The EMP ID as the gateway knows it: trimmed and in capitals.
inline QString normalizedEmpId(const QString &empId)
{
    return empId.trimmed().toUpper();
}

} // namespace wrenlow
