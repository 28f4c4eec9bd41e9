// Arbitrary reply bodies into the three Sheets reply records: a refused reply is fine, a crash or undefined
// behaviour is not. The gateway is outside our control, so every byte of its answer is hostile input.
#include "sheets/SheetsRecords.h"

#include "common/WrenlowError.h"

#include <cstddef>
#include <cstdint>

using namespace wrenlow;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray body(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        SheetsProjectList::fromJson(body);
    } catch (const WrenlowError &) {
    }
    try {
        const SheetsDuplicateResult duplicate = SheetsDuplicateResult::fromJson(body);
        duplicate.parsedRowNumber();
        duplicate.matchDescriptions();
    } catch (const WrenlowError &) {
    }
    try {
        SheetsUploadResult::fromJson(body).parsedRowNumber();
    } catch (const WrenlowError &) {
    }
    return 0;
}
