// Character boundaries of code page 932, the ANSI code page of a Japanese
// Windows, for the builds without Windows: the fake world and updater-check
// on Linux read settings written for that code page.
#include "platform/platform.h"
#include "platform/text_rules.h"

namespace platform {

const char* NextChar(const char* text) {
  if (*text == '\0') return text;
  if (IsLeadByte932(static_cast<unsigned char>(*text)) && text[1] != '\0') {
    return text + 2;
  }
  return text + 1;
}

}  // namespace platform
