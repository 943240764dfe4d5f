#include "app/byte_block.h"

ByteBlock::ByteBlock() : data_(0), size_(0) {}

ByteBlock::~ByteBlock() { Release(); }

void ByteBlock::Adopt(unsigned char* data, unsigned size) {
  Release();
  data_ = data;
  size_ = data ? size : 0;
}

void ByteBlock::Release() {
  delete[] data_;
  data_ = 0;
  size_ = 0;
}
