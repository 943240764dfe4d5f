#include "platform/settings_bytes.h"

#include <string.h>

#include "platform/platform.h"

namespace platform {

namespace {

const char kUtf8Mark[] = "\xEF\xBB\xBF";
const unsigned kUtf8MarkLength = 3;

}  // namespace

bool StartsWithUtf8Mark(const char* bytes, unsigned length) {
  return length >= kUtf8MarkLength && bytes[0] == kUtf8Mark[0] &&
         bytes[1] == kUtf8Mark[1] && bytes[2] == kUtf8Mark[2];
}

bool SettingsTextInPlace(char* bytes, unsigned* length) {
  if (!StartsWithUtf8Mark(bytes, *length)) return true;
  const unsigned utf8Length = *length - kUtf8MarkLength;
  if (utf8Length == 0) {
    *length = 0;
    return true;
  }
  // Converted over its own bytes after the mark, then moved to the start.
  char* const utf8 = bytes + kUtf8MarkLength;
  const unsigned text = Utf8ToText(utf8, utf8Length, utf8, utf8Length);
  if (text == 0) return false;
  memmove(bytes, utf8, text);
  *length = text;
  return true;
}

}  // namespace platform
