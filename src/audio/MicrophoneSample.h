#pragma once

#include <QString>

namespace wrenlow {

// The microphone test's one sample file, reused and overwritten by every run.
inline constexpr char16_t microphoneSampleFileName[] = u"wrenlow-microphone-test.m4a";

// The sample's path: in the temporary folder when only this user can write there, otherwise in a subfolder of it
// that belongs to this user alone (made if missing). Where another user could plant a file or a link, another
// user could replace what is recorded or redirect what is written; such a folder is refused with PlatformError.
QString microphoneSamplePath();

} // namespace wrenlow
