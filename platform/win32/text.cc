// Character boundaries in the ANSI code page.
#include <windows.h>

#include "platform/platform.h"

namespace platform {

const char* NextChar(const char* text) { return CharNextA(text); }

}  // namespace platform
