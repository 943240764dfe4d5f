// Compiler hints shared by every layer.
#ifndef UPDATER_PLATFORM_COMPILER_H_
#define UPDATER_PLATFORM_COMPILER_H_

// Keeps a small function that is called from many places out of line: the
// call is shorter than the body it would copy into each caller. Size only;
// never needed for correctness.
#if defined(_MSC_VER)
#define UPDATER_NOINLINE __declspec(noinline)
#else
#define UPDATER_NOINLINE __attribute__((noinline))
#endif

// Hides where `pointer` points from the optimiser, so that a function
// reaching many members of one global object addresses them from a
// register instead of repeating the object's address in each instruction
// (each a relocation on 32-bit Windows). Size only; a no-op elsewhere.
#if defined(__GNUC__)
#define UPDATER_OPAQUE(pointer) __asm__("" : "+r"(pointer))
#else
#define UPDATER_OPAQUE(pointer) ((void)0)
#endif

#endif  // UPDATER_PLATFORM_COMPILER_H_
