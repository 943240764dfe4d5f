#include "tests/fake/fake_names.h"

#include "platform/platform.h"
#include "tests/fake/fake_state.h"

namespace fake {
namespace internal {

bool HasInvalidNameCharacters(const std::string& path) {
  for (size_t i = 0; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (IsLeadByte(c)) {
      ++i;
      continue;
    }
    if (c < 0x20 || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' ||
        c == '|' || (c == ':' && i != 1)) {
      return true;
    }
  }
  return false;
}

bool HasWildcards(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (IsLeadByte(c)) {
      ++i;
    } else if (c == '*' || c == '?') {
      return true;
    }
  }
  return false;
}

unsigned StoredAttributes(unsigned requested, bool directory) {
  // Only these bits can be set; NORMAL stands only when nothing else does.
  const unsigned kSettable = 0x1 | 0x2 | 0x4 | 0x20 | 0x80 | 0x100 | 0x1000 |
                             0x2000;
  unsigned kept = requested & kSettable;
  if (kept & ~platform::kAttributeNormal) kept &= ~platform::kAttributeNormal;
  if (directory) {
    return (kept & ~platform::kAttributeNormal) | platform::kAttributeDirectory;
  }
  return kept == 0 ? platform::kAttributeNormal : kept;
}

}  // namespace internal
}  // namespace fake
