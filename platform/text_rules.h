// The character rules of settings texts (code page 932) that every layer asks:
// where a character ends, which letters fold, which bytes are code page 932 at
// all. The updater's text string, the private-profile rules, the fake world and
// updater-check all call these, so they never disagree on a Japanese name.
//
// Plain C++ over bytes, built on NextChar alone: no allocation.
#ifndef UPDATER_PLATFORM_TEXT_RULES_H_
#define UPDATER_PLATFORM_TEXT_RULES_H_

namespace platform {

// A lead byte of code page 932 (Shift-JIS), the code page of every settings
// text: the byte after it belongs to the same character, whatever it is (a
// backslash, a brace, a letter). NextChar and updater-check's encoding check
// are built on it, in every build.
bool IsLeadByte932(unsigned char c);

// Whether `length` bytes are code page 932 text: single bytes 0x00-0x7F and
// 0xA1-0xDF, or a lead byte followed by a second byte in 0x40-0x7E or
// 0x80-0xFC.
bool IsValidText932(const char* text, unsigned length);

// NextChar within a span that ends before `end`: never beyond it, and always
// at least one byte on (a zero byte inside the span is a character of its
// own). `at` must be before `end`.
const char* NextCharIn(const char* at, const char* end);

// Whether the `length` bytes at `a` and `b` are the same text to Windows'
// name comparisons: the letters A to Z of single-byte characters match in
// either case; a double-byte character (characters found by NextChar over
// `a`) matches only itself, its second byte is never a letter.
bool SameTextFolded(const char* a, const char* b, unsigned length);

// Capitals for the letters a to z of single-byte characters, in place: two
// texts are SameTextFolded exactly when their folded copies are equal.
void FoldTextCase(char* text, unsigned length);

// A hash of a terminated text with its letters folded: equal for texts that
// are SameTextFolded (and for some that are not).
unsigned FoldedHash(const char* text);

}  // namespace platform

#endif  // UPDATER_PLATFORM_TEXT_RULES_H_
