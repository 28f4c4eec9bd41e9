#include "sheets/UploadOperatorInput.h"

#include <utility>

namespace wrenlow {

UploadOperatorInput::UploadOperatorInput(QString empId, QString projectId, QString duplicateAction, QString assetTag,
                                         QString techName, QString fsnCode, QString sent, QString trackingNumber,
                                         QString location, QString palletNumber, QString asinCode, QString description,
                                         QString issue, QString workingOnIt, QString comments, QString unitPasses)
    : m_empId(std::move(empId))
    , m_projectId(std::move(projectId))
    , m_duplicateAction(std::move(duplicateAction))
    , m_assetTag(std::move(assetTag))
    , m_techName(std::move(techName))
    , m_fsnCode(std::move(fsnCode))
    , m_sent(std::move(sent))
    , m_trackingNumber(std::move(trackingNumber))
    , m_location(std::move(location))
    , m_palletNumber(std::move(palletNumber))
    , m_asinCode(std::move(asinCode))
    , m_description(std::move(description))
    , m_issue(std::move(issue))
    , m_workingOnIt(std::move(workingOnIt))
    , m_comments(std::move(comments))
    , m_unitPasses(std::move(unitPasses))
{}

} // namespace wrenlow
