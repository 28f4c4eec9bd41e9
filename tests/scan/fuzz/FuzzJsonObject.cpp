// Arbitrary tool output into the runner's JSON reading: only a top-level object may come back.
#include "common/CommandRunner.h"

#include <QStringDecoder>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto object = wrenlow::CommandRunner::parseJsonObject(text.trimmed());
    if (object && object->isEmpty() && !text.contains(u'{'))
        std::abort(); // an object cannot come from text without a brace
    return 0;
}
