#include "platform/staged_names.h"

namespace platform {

namespace {

const char kPrefix[] = "~up";
const unsigned kDigitsAt = 3;
const unsigned kExtensionAt = 7;  // ".tmp" / ".bak"

char Lower(char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

bool SameLetters(const char* text, const char* lower) {
  for (; *lower != '\0'; ++text, ++lower)
    if (Lower(*text) != *lower) return false;
  return true;
}

}  // namespace

template <class Char>
void StagedName(unsigned number, StagedRole role, Char* name) {
  const char* const extension = role == kStagedCopy ? ".tmp" : ".bak";
  for (unsigned i = 0; i < kDigitsAt; ++i) name[i] = kPrefix[i];
  for (int i = 3; i >= 0; --i, number >>= 4) {
    const unsigned digit = number & 0xF;
    name[kDigitsAt + i] =
        static_cast<Char>(digit < 10 ? '0' + digit : 'a' - 10 + digit);
  }
  for (unsigned i = 0; i < 5; ++i) name[kExtensionAt + i] = extension[i];
}

template void StagedName(unsigned, StagedRole, char*);
template void StagedName(unsigned, StagedRole, wchar_t*);

bool ReadStagedNumber(const char* text, unsigned* number) {
  *number = 0;
  for (unsigned i = 0; i < 4; ++i) {
    const char c = Lower(text[i]);
    const int digit = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                             : -1;
    if (digit < 0) return false;
    *number = *number * 16 + digit;
  }
  return true;
}

bool IsStagedName(const char* name) {
  unsigned number;
  const char* extension = name + kExtensionAt;
  return SameLetters(name, kPrefix) &&
         ReadStagedNumber(name + kDigitsAt, &number) &&
         (SameLetters(extension, ".tmp") || SameLetters(extension, ".bak")) &&
         extension[4] == '\0';
}

bool TakeFreeNumber(unsigned char* taken, unsigned* number) {
  for (unsigned attempt = 0; attempt < kStagedNumbers; ++attempt) {
    const unsigned n = (*number + attempt) % kStagedNumbers;
    if ((taken[n / 8] & 1 << n % 8) == 0) {
      MarkStagedNumber(taken, n);
      *number = n;
      return true;
    }
  }
  return false;
}

}  // namespace platform
