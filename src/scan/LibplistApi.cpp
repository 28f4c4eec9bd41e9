#include "scan/LibplistApi.h"

#include <QByteArrayView>

#include <algorithm>
#include <cstdlib>
#include <limits>

#ifndef WRENLOW_LIBPLIST_VERSION
#error "WRENLOW_LIBPLIST_VERSION must come from the build"
#endif

namespace wrenlow::libplist {

plist_t parseXmlOrBinary(const char *data, uint32_t length)
{
    plist_t root = nullptr;
#if WRENLOW_LIBPLIST_VERSION >= 20300
    plist_format_t format = PLIST_FORMAT_NONE;
    if (plist_from_memory(data, length, &root, &format) != PLIST_ERR_SUCCESS)
        return nullptr;
    if (format != PLIST_FORMAT_XML && format != PLIST_FORMAT_BINARY) {
        plist_free(root);
        return nullptr;
    }
#else
    plist_from_memory(data, length, &root); // XML or binary only
#endif
    return root;
}

bool isNegative(plist_t integer)
{
#if WRENLOW_LIBPLIST_VERSION >= 20300
    return plist_int_val_is_negative(integer) != 0;
#else
    // 2.2 hands every integer out as its 64 bits, so -1 and 2^64-1 look alike; its own XML writer still knows
    // which one it holds.
    char *xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(integer, &xml, &length);
    const bool negative = xml && QByteArrayView(xml, length).contains("<integer>-");
    std::free(xml);
    return negative;
#endif
}

int64_t unixMilliseconds(plist_t date)
{
#if WRENLOW_LIBPLIST_VERSION >= 20700
    int64_t seconds = 0;
    plist_get_unix_date_val(date, &seconds);
    constexpr int64_t limit = std::numeric_limits<int64_t>::max() / 1000; // far outside any date Qt shows
    return std::clamp(seconds, -limit, limit) * 1000;
#else
    // Seconds and microseconds from the property-list epoch, 2001-01-01T00:00:00Z.
    constexpr int64_t plistEpochOffset = 978307200;
    int32_t seconds = 0;
    int32_t microseconds = 0;
    plist_get_date_val(date, &seconds, &microseconds);
    return (plistEpochOffset + seconds) * 1000 + microseconds / 1000;
#endif
}

} // namespace wrenlow::libplist
