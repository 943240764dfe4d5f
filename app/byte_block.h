// A heap buffer and its size in bytes; the storage of the ProcListArray.
#ifndef UPDATER_APP_BYTE_BLOCK_H_
#define UPDATER_APP_BYTE_BLOCK_H_

class ByteBlock {
 public:
  ByteBlock();
  virtual ~ByteBlock();

  // Releases the current buffer and takes ownership of `data`, a block of
  // `size` bytes allocated with new[] (null for none).
  virtual void Adopt(unsigned char* data, unsigned size);
  // Releases the buffer.
  virtual void Release();

  const unsigned char* Data() const { return data_; }
  unsigned Size() const { return size_; }

 private:
  ByteBlock(const ByteBlock&);
  ByteBlock& operator=(const ByteBlock&);

  unsigned char* data_;
  unsigned size_;
};

#endif  // UPDATER_APP_BYTE_BLOCK_H_
