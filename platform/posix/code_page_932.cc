// Character boundaries of code page 932, the ANSI code page of a Japanese
// Windows, for the builds without Windows: the fake world and updater-check
// on Linux read settings written for that code page.
#include "platform/platform.h"

namespace platform {

namespace {

bool IsLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

}  // namespace

const char* NextChar(const char* text) {
  if (*text == '\0') return text;
  if (IsLeadByte(static_cast<unsigned char>(*text)) && text[1] != '\0') {
    return text + 2;
  }
  return text + 1;
}

}  // namespace platform
