#pragma once

#include <QJsonObject>

namespace wrenlow {

struct PayloadFacts;
struct UploadOperatorInput;

// The four ready-made spreadsheet rows, keyed by the column titles of the gateway's sheet layouts exactly as they
// stand (some titles hold a line feed). All four travel in every payload; the gateway picks the one it needs.
namespace sheetRows {

QJsonObject standard(const PayloadFacts &facts, const UploadOperatorInput &input);
QJsonObject els(const PayloadFacts &facts, const UploadOperatorInput &input);
QJsonObject project(const PayloadFacts &facts, const UploadOperatorInput &input);
QJsonObject amazonReturns(const PayloadFacts &facts, const UploadOperatorInput &input);

// The "Unit Passes" the Amazon returns sheet gets: a failed diagnostic overrides the technician's answer.
QString amazonUnitPasses(const PayloadFacts &facts, const UploadOperatorInput &input);

} // namespace sheetRows

} // namespace wrenlow
