// The settings file updater-check has read, handed to the Linux profile
// functions: they answer for its path from these bytes (made settings text
// as platform/settings_bytes.h says), read and parsed once, so that a check
// reads the file once and every value costs only its section. The Windows
// reader keeps the last file it read by itself.
#ifndef UPDATER_PLATFORM_POSIX_SERVED_PROFILE_H_
#define UPDATER_PLATFORM_POSIX_SERVED_PROFILE_H_

#include <string>

namespace platform {

// From now on ProfileString and ProfileSection for `path` (exactly as
// given) read `text`; "" serves no file.
void ServeProfileText(const std::string& path, const std::string& text);

}  // namespace platform

#endif  // UPDATER_PLATFORM_POSIX_SERVED_PROFILE_H_
