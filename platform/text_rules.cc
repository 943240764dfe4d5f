#include "platform/text_rules.h"

#include "platform/platform.h"

namespace platform {

namespace {

unsigned char FoldedLetter(unsigned char c) {
  return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

}  // namespace

bool IsLeadByte932(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

const char* NextChar(const char* text) {
  if (*text == '\0') return text;
  if (IsLeadByte932(static_cast<unsigned char>(*text)) && text[1] != '\0') {
    return text + 2;
  }
  return text + 1;
}

bool IsValidText932(const char* text, unsigned length) {
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
  for (unsigned i = 0; i < length; ++i) {
    const unsigned char c = bytes[i];
    if (c < 0x80 || (c >= 0xA1 && c <= 0xDF)) continue;
    if (!IsLeadByte932(c) || i + 1 >= length) return false;
    const unsigned char trail = bytes[++i];
    if (trail < 0x40 || trail == 0x7F || trail > 0xFC) return false;
  }
  return true;
}

const char* NextCharIn(const char* at, const char* end) {
  const char* next = NextChar(at);
  if (next <= at) return at + 1;
  return next > end ? end : next;
}

bool SameTextFolded(const char* a, const char* b, unsigned length) {
  const char* const end = a + length;
  for (const char* p = a; p < end;) {
    const char* const next = NextCharIn(p, end);
    // Only a character of one byte is a letter to fold.
    const bool fold = next - p == 1;
    for (; p < next; ++p, ++b) {
      unsigned char x = static_cast<unsigned char>(*p);
      unsigned char y = static_cast<unsigned char>(*b);
      if (fold) {
        x = FoldedLetter(x);
        y = FoldedLetter(y);
      }
      if (x != y) return false;
    }
  }
  return true;
}

unsigned FoldedHash(const char* text) {
  // Every byte folded, second bytes too: texts that differ only in the case
  // of a second byte share a hash, and the comparison tells them apart.
  unsigned hash = 2166136261u;  // FNV-1a
  for (const char* p = text; *p; ++p) {
    hash = (hash ^ FoldedLetter(static_cast<unsigned char>(*p))) * 16777619u;
  }
  return hash;
}

void FoldTextCase(char* text, unsigned length) {
  char* const end = text + length;
  for (char* p = text; p < end;) {
    char* next = const_cast<char*>(NextCharIn(p, end));
    if (next - p == 1) {
      *p = static_cast<char>(FoldedLetter(static_cast<unsigned char>(*p)));
    }
    p = next;
  }
}

}  // namespace platform
