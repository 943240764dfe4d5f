#include "platform/staged_names.h"

namespace platform {

namespace {

const char kDigits[] = "0123456789abcdef";
const char kPrefix[] = "~up";
const unsigned kDigitsAt = 3;
const unsigned kExtensionAt = 7;  // ".tmp" / ".bak"

char Lower(char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

bool IsHexDigit(char c) {
  c = Lower(c);
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

bool SameLetters(const char* text, const char* lower) {
  for (; *lower != '\0'; ++text, ++lower)
    if (Lower(*text) != *lower) return false;
  return true;
}

}  // namespace

void StagedName(unsigned number, StagedRole role, char name[kStagedNameSize]) {
  const char* const extension = role == kStagedCopy ? ".tmp" : ".bak";
  for (unsigned i = 0; i < kDigitsAt; ++i) name[i] = kPrefix[i];
  for (int i = 3; i >= 0; --i, number >>= 4)
    name[kDigitsAt + i] = kDigits[number & 0xF];
  for (unsigned i = 0; i < 5; ++i) name[kExtensionAt + i] = extension[i];
}

bool IsStagedName(const char* name) {
  if (!SameLetters(name, kPrefix)) return false;
  for (unsigned i = kDigitsAt; i < kExtensionAt; ++i)
    if (!IsHexDigit(name[i])) return false;
  const char* extension = name + kExtensionAt;
  return (SameLetters(extension, ".tmp") || SameLetters(extension, ".bak")) &&
         extension[4] == '\0';
}

}  // namespace platform
