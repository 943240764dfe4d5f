// Settings files read from the local file system with the private-profile
// rules of platform/profile_text.h, as Windows would read them.
#include <stdio.h>

#include <string>

#include "platform/platform.h"
#include "platform/profile_text.h"

namespace platform {

namespace {

// The whole file; false when it cannot be read (missing, a directory). Read
// afresh on every call, as the profile functions do.
bool ReadWhole(const char* path, std::string* text) {
  if (path == 0 || *path == '\0') return false;
  FILE* file = fopen(path, "rb");
  if (!file) return false;
  char chunk[4096];
  size_t got = 0;
  bool ok = true;
  while ((got = fread(chunk, 1, sizeof(chunk), file)) > 0) {
    text->append(chunk, got);
  }
  if (ferror(file)) ok = false;
  fclose(file);
  return ok;
}

}  // namespace

unsigned ProfileString(const char* section, const char* key,
                       const char* fallback, char* buffer, unsigned size,
                       const char* file) {
  std::string text;  // a missing file reads like an empty one
  if (!ReadWhole(file, &text)) text.clear();
  return ProfileStringOf(text.data(), static_cast<unsigned>(text.size()),
                         section, key, fallback, buffer, size);
}

unsigned ProfileSection(const char* section, char* buffer, unsigned size,
                        const char* file) {
  std::string text;
  if (!ReadWhole(file, &text)) text.clear();
  return ProfileSectionOf(text.data(), static_cast<unsigned>(text.size()),
                          section, buffer, size);
}

}  // namespace platform
