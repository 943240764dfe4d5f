// A text built piece by piece in one block: the text made so far at its
// front, and (for a pass that walks a text and replaces parts of it) the
// text still to walk at its back, room between them. Pieces go to the end
// of the front or before the back without moving the rest, and the block
// grows by doubling, so that a pass costs in proportion to the text it
// makes, where editing a TextString copies the whole text every time.
#ifndef UPDATER_BASE_TEXT_BUILDER_H_
#define UPDATER_BASE_TEXT_BUILDER_H_

#include "base/text_string.h"

class TextBuilder {
 public:
  TextBuilder();
  ~TextBuilder();

  // Adds to the end of the front. False once memory has run out; every later
  // call then fails too, so that no text is handed on with a piece missing.
  bool Append(const char* bytes, int length);

  // Puts bytes before the back: the walk looks at them next.
  bool Put(const char* bytes, int length);
  // The back, terminated; "" when there is none.
  const char* Back() const;
  int BackLength() const { return block_ ? size_ - 1 - back_ : 0; }
  // Moves the first `length` bytes of the back to the end of the front.
  void Advance(int length);
  // Drops the first `length` bytes of the back.
  void Skip(int length) { back_ += length; }

  // The front and the back together.
  int Length() const { return front_ + BackLength(); }
  // `out` takes the front and the back, which become one front; false
  // (`out` unchanged) after a failed call.
  bool CopyTo(TextString* out);

 private:
  TextBuilder(const TextBuilder&);
  TextBuilder& operator=(const TextBuilder&);

  // Room for `length` bytes more between the front and the back.
  bool MakeRoom(int length);
  // Empty, no block: the state of a new builder.
  void Clear();

  char* block_;
  int size_;   // the block's, its last byte the back's terminator
  int front_;  // bytes 0 .. front_ - 1
  int back_;   // bytes back_ .. size_ - 2
  bool failed_;
};

#endif  // UPDATER_BASE_TEXT_BUILDER_H_
