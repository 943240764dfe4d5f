// Character boundaries in the fake world: code page 932, as a Japanese
// Windows has them.
#include "platform/platform.h"
#include "tests/fake/fake_state.h"

namespace platform {

const char* NextChar(const char* text) {
  if (*text == '\0') return text;
  if (fake::internal::IsLeadByte(static_cast<unsigned char>(*text)) &&
      text[1] != '\0') {
    return text + 2;
  }
  return text + 1;
}

}  // namespace platform
