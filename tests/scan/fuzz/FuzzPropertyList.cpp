// Arbitrary bytes into the property-list reader: an error is fine, a crash or undefined behaviour is not.
#include "scan/PropertyList.h"

#include "common/WrenlowError.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    try {
        wrenlow::PropertyList::parse(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    } catch (const wrenlow::WrenlowError &) {
    }
    return 0;
}
