// The process's own facts in the fake world: error codes and their texts,
// version, rights, id, clock, and the conversion to UTF-8.
#include <string.h>

#include <string>

#include "platform/platform.h"
#include "tests/fake/fake_state.h"
#include "tests/fake/fake_world.h"

namespace {

using fake::internal::TheWorld;

// The texts of the codes the fake gives (Windows' English texts).
const struct {
  unsigned code;
  const char* text;
} kErrorTexts[] = {
    {2, "The system cannot find the file specified."},
    {3, "The system cannot find the path specified."},
    {5, "Access is denied."},
    {6, "The handle is invalid."},
    {32,
     "The process cannot access the file because it is being used by "
     "another process."},
    {80, "The file exists."},
    {122, "The data area passed to a system call is too small."},
    {123,
     "The filename, directory name, or volume label syntax is "
     "incorrect."},
    {183, "Cannot create a file when that file already exists."},
    {267, "The directory name is invalid."},
    {1400, "Invalid window handle."},
};

}  // namespace

namespace platform {

unsigned LastErrorCode() { return TheWorld().lastErrorCode; }

bool ErrorText(unsigned code, char* buffer, unsigned size) {
  if (size == 0) return false;
  buffer[0] = '\0';
  // An HRESULT of a Windows error has the same text.
  const unsigned plain =
      (code & 0xFFFF0000u) == 0x80070000u ? code & 0xFFFF : code;
  for (size_t i = 0; i < sizeof kErrorTexts / sizeof kErrorTexts[0]; ++i) {
    if (kErrorTexts[i].code != plain) continue;
    if (strlen(kErrorTexts[i].text) >= size) return false;
    strcpy(buffer, kErrorTexts[i].text);
    return true;
  }
  return false;
}

bool GetSystemVersion(SystemVersion* version) {
  const fake::internal::World& world = TheWorld();
  const bool read = world.platformId != 0;  // 0 stands for a failed call
  version->major = read ? world.versionMajor : 0;
  version->minor = read ? world.versionMinor : 0;
  version->build = read ? world.versionBuild : 0;
  version->platformId = world.platformId;
  return read;
}

Elevation ProcessElevation() { return TheWorld().elevation; }

unsigned ProcessId() { return TheWorld().processId; }

void LocalTime(LocalTimeFields* now) { *now = TheWorld().now; }


}  // namespace platform

namespace fake {

void SetLocalTime(const platform::LocalTimeFields& now) {
  TheWorld().now = now;
}

void SetElevation(platform::Elevation elevation) {
  TheWorld().elevation = elevation;
}

void SetSystemVersion(unsigned major, unsigned minor, unsigned build) {
  fake::internal::World& world = TheWorld();
  world.versionMajor = major;
  world.versionMinor = minor;
  world.versionBuild = build;
}

}  // namespace fake
