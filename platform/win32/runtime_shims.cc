// Allocation without C++ exceptions for updater.exe.
//
// The product allocates only with new (std::nothrow) and checks for null.
// The toolchain's own operators would drag the exception runtime, its
// demangler and the thread library into the executable; these plain
// versions on the C heap keep it to system DLLs and a small size.
#include <stdlib.h>

#include <new>

void* operator new(size_t size, const std::nothrow_t&) noexcept {
  return malloc(size ? size : 1);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
  return malloc(size ? size : 1);
}
// Never reached through the product's code; without exceptions a failed
// allocation can only end the process.
void* operator new(size_t size) {
  void* block = malloc(size ? size : 1);
  if (!block) abort();
  return block;
}
void* operator new[](size_t size) {
  void* block = malloc(size ? size : 1);
  if (!block) abort();
  return block;
}
void operator delete(void* block) noexcept { free(block); }
void operator delete[](void* block) noexcept { free(block); }
void operator delete(void* block, size_t) noexcept { free(block); }
void operator delete[](void* block, size_t) noexcept { free(block); }

extern "C" void __cxa_pure_virtual() { abort(); }
