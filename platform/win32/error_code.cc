// The kept error code of the last failing operation and its system text.
#include <string.h>
#include <windows.h>

#include "platform/compiler.h"
#include "platform/platform.h"
#include "platform/win32/last_error.h"
#include "platform/win32/wide_text.h"

namespace platform {

namespace {

unsigned g_lastErrorCode = 0;

}  // namespace

namespace win32 {

UPDATER_NOINLINE bool Fail(unsigned code) {
  g_lastErrorCode = code;
  return false;
}

}  // namespace win32

unsigned LastErrorCode() { return g_lastErrorCode; }

namespace {

// The texts end in a line break, some after a blank.
unsigned TrimmedLength(const char* text, unsigned length) {
  while (length > 0 && static_cast<unsigned char>(text[length - 1]) <= ' ')
    --length;
  return length;
}

}  // namespace

bool ErrorText(unsigned code, char* buffer, unsigned size) {
  if (size == 0) return false;
  const DWORD flags =
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  unsigned length = 0;
  if (win32::UseWideCalls()) {
    // In code page 932 whatever the system's own: a character it lacks
    // becomes "?" (the text is only shown and logged). A text that does not
    // fit is none, as with FormatMessageA.
    WCHAR wide[512];
    char narrow[2 * 512];
    const DWORD units = FormatMessageW(flags, NULL, code, 0, wide,
                                       sizeof(wide) / sizeof(wide[0]), NULL);
    // A text it gives is whole and terminated: one that does not fit fails.
    if (units != 0) {
      length = TrimmedLength(
          narrow, win32::NarrowTextForDisplay(wide, narrow, sizeof(narrow)));
    }
    if (length >= size) length = 0;
    memcpy(buffer, narrow, length);
  } else {
    length = TrimmedLength(
        buffer, FormatMessageA(flags, NULL, code, 0, buffer, size, NULL));
  }
  buffer[length] = '\0';
  return length != 0;
}

}  // namespace platform
