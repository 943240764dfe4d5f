#include "platform/win32/command_line.h"

namespace platform {

const char* ArgumentsOf(const char* commandLine) {
  if (!commandLine) return "";
  const unsigned char* p = reinterpret_cast<const unsigned char*>(commandLine);
  if (*p == '"') {
    ++p;
    while (*p && *p != '"') ++p;
    if (*p == '"') ++p;
  } else {
    while (*p > ' ') ++p;
  }
  while (*p && *p <= ' ') ++p;
  return reinterpret_cast<const char*>(p);
}

}  // namespace platform
