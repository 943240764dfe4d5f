// A text built by appending pieces: its block grows by doubling, so that
// building is linear in the bytes appended, where adding to a TextString
// copies the whole text every time.
#ifndef UPDATER_BASE_TEXT_BUILDER_H_
#define UPDATER_BASE_TEXT_BUILDER_H_

#include "base/text_string.h"

class TextBuilder {
 public:
  TextBuilder();
  ~TextBuilder();

  // False once memory has run out; every later call then fails too, so that
  // a text is never handed on with a piece missing.
  bool Append(const char* bytes, int length);
  bool Append(const char* text);

  int Length() const { return length_; }
  // Terminated; "" before the first piece.
  const char* Text() const { return block_ ? block_ : ""; }
  // `out` takes the text; false (`out` unchanged) after a failed Append.
  bool CopyTo(TextString& out) const;

 private:
  TextBuilder(const TextBuilder&);
  TextBuilder& operator=(const TextBuilder&);

  char* block_;
  int length_;
  int capacity_;
  bool failed_;
};

#endif  // UPDATER_BASE_TEXT_BUILDER_H_
