#include "base/text_builder.h"

#include <cstring>
#include <new>

#include "platform/compiler.h"

TextBuilder::TextBuilder() { Clear(); }

// Out of line: every expansion pass makes a builder.
UPDATER_NOINLINE void TextBuilder::Clear() {
  block_ = 0;
  size_ = 0;
  front_ = 0;
  back_ = 0;
  failed_ = false;
}

TextBuilder::~TextBuilder() { delete[] block_; }

UPDATER_NOINLINE const char* TextBuilder::Back() const {
  return block_ ? block_ + back_ : "";
}

bool TextBuilder::MakeRoom(int length) {
  if (failed_) return false;
  if (block_ && back_ - front_ >= length) return true;
  const int back = BackLength();
  int size = size_ < 64 ? 64 : size_;
  while (size - 1 < front_ + back + length) size *= 2;
  char* grown = new (std::nothrow) char[size];
  if (!grown) {
    failed_ = true;
    return false;
  }
  if (front_) std::memcpy(grown, block_, static_cast<size_t>(front_));
  if (back) std::memcpy(grown + size - 1 - back, Back(), back);
  grown[size - 1] = '\0';
  delete[] block_;
  block_ = grown;
  back_ = size - 1 - back;
  size_ = size;
  return true;
}

bool TextBuilder::Append(const char* bytes, int length) {
  if (length <= 0) return !failed_;
  if (!MakeRoom(length)) return false;
  std::memcpy(block_ + front_, bytes, static_cast<size_t>(length));
  front_ += length;
  return true;
}

bool TextBuilder::Put(const char* bytes, int length) {
  if (length <= 0) return !failed_;
  if (!MakeRoom(length)) return false;
  back_ -= length;
  std::memcpy(block_ + back_, bytes, static_cast<size_t>(length));
  return true;
}

void TextBuilder::Advance(int length) {
  if (length <= 0) return;
  std::memmove(block_ + front_, block_ + back_, static_cast<size_t>(length));
  front_ += length;
  back_ += length;
}

bool TextBuilder::CopyTo(TextString* out) {
  if (failed_) return false;
  if (!block_) return out->Assign("");
  // The back joins the front, its terminator with it: one text to copy.
  Advance(BackLength() + 1);
  --front_;
  --back_;
  return out->Assign(block_);
}
