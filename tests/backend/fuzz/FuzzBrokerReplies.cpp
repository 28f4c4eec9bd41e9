// Arbitrary broker answers into the error envelope and the records: whatever the gateway sends, reading it
// ends in a value or a refusal, never a crash or undefined behaviour. The first two bytes choose the status;
// a line break splits the Retry-After header from the body.
#include "backend/KorvaneErrors.h"
#include "backend/KorvaneRecords.h"

#include "common/JsonFields.h"

#include <cstddef>
#include <cstdint>

using namespace wrenlow;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const qint64 status = 100 + (data[0] << 8 | data[1]) % 500;
    const QByteArray rest(reinterpret_cast<const char *>(data + 2), qsizetype(size - 2));
    const qsizetype split = rest.indexOf('\n');
    const QByteArray header = split < 0 ? QByteArray() : rest.left(split);
    const QByteArray body = split < 0 ? rest : rest.mid(split + 1);

    KorvaneApiError::fromAnswer(status, body, header);
    try {
        const QJsonObject object = json::parseObject(body);
        try {
            KorvaneLoginResponse::fromJson(object).user.displayName();
        } catch (const WrenlowError &) {
        }
        try {
            KorvaneCreationOptions::fromJson(object);
        } catch (const WrenlowError &) {
        }
    } catch (const WrenlowError &) {
    }
    return 0;
}
