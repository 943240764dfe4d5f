#include "base/text_builder.h"

#include <cstring>
#include <new>

TextBuilder::TextBuilder()
    : block_(0), length_(0), capacity_(0), failed_(false) {}

TextBuilder::~TextBuilder() { delete[] block_; }

bool TextBuilder::Append(const char* bytes, int length) {
  if (failed_) return false;
  if (length <= 0) return true;
  if (length_ + length + 1 > capacity_) {
    int capacity = capacity_ < 64 ? 64 : capacity_;
    while (capacity < length_ + length + 1) capacity *= 2;
    char* grown = new (std::nothrow) char[capacity];
    if (!grown) {
      failed_ = true;
      return false;
    }
    if (length_) std::memcpy(grown, block_, static_cast<size_t>(length_));
    delete[] block_;
    block_ = grown;
    capacity_ = capacity;
  }
  std::memcpy(block_ + length_, bytes, static_cast<size_t>(length));
  length_ += length;
  block_[length_] = '\0';
  return true;
}

bool TextBuilder::Append(const char* text) {
  return Append(text, static_cast<int>(std::strlen(text)));
}

bool TextBuilder::CopyTo(TextString& out) const {
  return !failed_ && out.Assign(Text()) && out.Length() == length_;
}
