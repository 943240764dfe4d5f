// The parts of the C and C++ runtimes that updater.exe takes from the
// toolchain, cut to what the program uses. Built with the GNU toolchain
// only (cmake/windows.cmake); a build with another compiler keeps that
// compiler's runtime and start-up, which call WinMain as usual.
//
// Allocation: the product allocates only with new (std::nothrow) and checks
// for null. The toolchain's own operators would drag the exception runtime,
// its demangler and the thread library into the executable; these plain
// versions on the C heap keep it to system DLLs and a small size.
//
// Start-up: the toolchain's start-up code parses the command line into
// argv, installs TLS callbacks, pseudo-relocations, a floating-point set-up
// and an exception filter, all unused here and several KiB in all. msvcrt.dll
// initialises itself (heap, stdio, exit handlers) when it is loaded, so
// the entry below only runs the static constructors before WinMain and
// ends through exit(), which runs the registered destructors and flushes
// the C streams, as the toolchain's start-up would.
#include <windows.h>
#include <stdint.h>
#include <stdlib.h>

#include <new>

#include "platform/compiler.h"

namespace {

// The largest block the heap can give. Sizes beyond it arrive when an array
// new's element count overflows: the compiler then asks for SIZE_MAX, and
// the allocation must fail without the heap being asked.
const size_t kMaxBlock = PTRDIFF_MAX;

UPDATER_NOINLINE void* Allocate(size_t size) {
  if (size > kMaxBlock) return NULL;
  return malloc(size ? size : 1);
}

}  // namespace

void* operator new(size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size);
}
// Never reached through the product's code; without exceptions a failed
// allocation can only end the process, here at once through a trap (as a
// pure virtual call below does), which needs no import of abort().
void* operator new(size_t size) {
  void* block = Allocate(size);
  if (!block) __builtin_trap();
  return block;
}
void* operator new[](size_t size) {
  void* block = Allocate(size);
  if (!block) __builtin_trap();
  return block;
}
void operator delete(void* block) noexcept { free(block); }
void operator delete[](void* block) noexcept { free(block); }
void operator delete(void* block, size_t) noexcept { free(block); }
void operator delete[](void* block, size_t) noexcept { free(block); }

extern "C" void __cxa_pure_virtual() { __builtin_trap(); }

// The tag new (std::nothrow) passes; defined here, the C++ runtime's file
// that holds it (with the new-handler and its unwind tables) stays out.
namespace std {
const nothrow_t nothrow = nothrow_t();
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int);

namespace {

typedef void (*StaticConstructor)();

}  // namespace

extern "C" {

// The linker's list of static constructors: -1, the constructors, 0. They
// run from the last to the first, as the toolchain's start-up runs them;
// each registers its object's destructor with atexit().
extern StaticConstructor __CTOR_LIST__[];

// atexit() lives in the toolchain's start-up code; msvcrt.dll's _onexit()
// keeps the same list that exit() runs.
int atexit(void (*function)()) {
  return _onexit(reinterpret_cast<_onexit_t>(function)) ? 0 : -1;
}

// The entry point, named to the linker by the build.
void UpdaterEntry() {
  StaticConstructor* list = __CTOR_LIST__;
#ifdef _WIN64
  // The list's own address, relative to the code: the compiler would read
  // it from a pointer it keeps for symbols that may live in a DLL.
  __asm__("leaq __CTOR_LIST__(%%rip), %0" : "=r"(list));
#endif
  int count = 0;
  while (list[count + 1]) ++count;
  for (int i = count; i >= 1; --i) list[i]();
  // WinMain (platform/win32/entry.cc) reads none of its arguments.
  exit(WinMain(NULL, NULL, const_cast<char*>(""), SW_SHOWDEFAULT));
}

}  // extern "C"
