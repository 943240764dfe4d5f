// The kept error code of the last failing operation and its system text.
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/last_error.h"

namespace platform {

namespace {

unsigned g_lastErrorCode = 0;

}  // namespace

namespace win32 {

bool Fail(unsigned code) {
  g_lastErrorCode = code;
  return false;
}

}  // namespace win32

unsigned LastErrorCode() { return g_lastErrorCode; }

bool ErrorText(unsigned code, char* buffer, unsigned size) {
  if (size == 0) return false;
  DWORD length =
      FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     NULL, code, 0, buffer, size, NULL);
  // The texts end in a line break, some after a blank.
  while (length > 0 && static_cast<unsigned char>(buffer[length - 1]) <= ' ')
    --length;
  buffer[length] = '\0';
  return length != 0;
}

}  // namespace platform
