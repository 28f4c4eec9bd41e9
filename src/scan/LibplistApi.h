#pragma once

#include <plist/plist.h>

#include <cstdint>

// The one place that knows libplist's version: its interface changed between Debian bookworm's 2.2, trixie's 2.6
// and Homebrew's current release (a format argument and JSON and OpenStep guessing in 2.3, a sign for integers in
// 2.3, dates since the Unix epoch in 2.7). WRENLOW_LIBPLIST_VERSION (major * 10000 + minor * 100 + patch) comes
// from the build.
namespace wrenlow::libplist {

// The document read as an XML or a binary property list (what `ioreg -a` prints), or null. Other formats that
// newer versions guess at are refused, so that a tool's error text is never taken for a property list.
plist_t parseXmlOrBinary(const char *data, uint32_t length);

// For an integer node whose top bit is set: whether the document held it as a negative number.
bool isNegative(plist_t integer);

// A date node as milliseconds since 1970-01-01T00:00:00Z.
int64_t unixMilliseconds(plist_t date);

} // namespace wrenlow::libplist
