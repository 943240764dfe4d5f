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

#endif  // UPDATER_PLATFORM_COMPILER_H_
