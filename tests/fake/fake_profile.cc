// GetPrivateProfileStringA / GetPrivateProfileSectionA over fake files: the
// file is looked up in the fake world, its text read by the portable
// private-profile rules of platform/profile_text.h.
#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "platform/platform.h"
#include "platform/profile_text.h"
#include "platform/settings_bytes.h"
#include "tests/fake/fake_state.h"

using platform::SettingsTextInPlace;

namespace {

bool HasSeparator(const std::string& path) {
  for (size_t i = 0; i < path.size(); ++i) {
    if (fake::internal::IsLeadByte(static_cast<unsigned char>(path[i]))) {
      ++i;
    } else if (path[i] == '\\' || path[i] == '/') {
      return true;
    }
  }
  return false;
}

// The settings file's text, as the updater makes it of the file's bytes;
// false when it is missing or a directory. A bare file name is looked up in
// the Windows directory, as Windows does.
bool ReadIni(const char* file, std::string* text) {
  if (file == NULL || *file == '\0') return false;
  std::string path = file;
  if (!HasSeparator(path)) {
    path = fake::internal::TheWorld().windowsDirectory + "\\" + path;
  }
  fake::internal::Node* node = fake::internal::Find(path);
  if (node == NULL || node->directory) return false;
  *text = node->contents;
  unsigned length = static_cast<unsigned>(text->size());
  if (length != 0 && !SettingsTextInPlace(&(*text)[0], &length)) return false;
  text->resize(length);
  return true;
}

void NotModelled(const char* what) {
  fprintf(stderr, "fake platform: %s is not modelled\n", what);
  abort();
}

}  // namespace

namespace platform {

unsigned ProfileString(const char* section, const char* key,
                       const char* fallback, char* buffer, unsigned size,
                       const char* file) {
  if (buffer == NULL || size == 0) return 0;
  if (section == NULL || key == NULL) {
    NotModelled("listing section or key names");
  }
  std::string text;  // a missing file reads like an empty one
  ReadIni(file, &text);
  return ProfileStringOf(text.data(), static_cast<unsigned>(text.size()),
                         section, key, fallback, buffer, size);
}

unsigned ProfileSection(const char* section, char* buffer, unsigned size,
                        const char* file) {
  if (buffer == NULL || size == 0) return 0;
  if (section == NULL) NotModelled("listing section names");
  std::string text;
  ReadIni(file, &text);
  return ProfileSectionOf(text.data(), static_cast<unsigned>(text.size()),
                          section, buffer, size);
}

}  // namespace platform
