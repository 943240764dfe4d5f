// Owners for the kernel handles and COM interfaces the platform layer opens,
// so that every early return still closes or releases them. Both are
// ScopedOwner (platform/scoped_owner.h) with the traits of their kind.
#ifndef UPDATER_PLATFORM_WIN32_SCOPED_HANDLE_H_
#define UPDATER_PLATFORM_WIN32_SCOPED_HANDLE_H_

#include <windows.h>

#include "platform/scoped_owner.h"

namespace platform {
namespace win32 {

// Both "no handle" values (null and INVALID_HANDLE_VALUE) count as empty,
// since different calls return either.
struct KernelHandleTraits {
  typedef HANDLE Handle;
  static Handle Null() { return NULL; }
  static bool IsValid(Handle handle) {
    return handle != NULL && handle != INVALID_HANDLE_VALUE;
  }
  static void Close(Handle handle) { CloseHandle(handle); }
};
typedef ScopedOwner<KernelHandleTraits> ScopedHandle;

template <typename Interface>
struct ComInterfaceTraits {
  typedef Interface* Handle;
  static Handle Null() { return NULL; }
  static bool IsValid(Handle pointer) { return pointer != NULL; }
  static void Close(Handle pointer) { pointer->Release(); }
};

// A COM interface pointer released when the owner goes away.
template <typename Interface>
class ComRef : public ScopedOwner<ComInterfaceTraits<Interface> > {
 public:
  Interface* operator->() const { return this->get(); }
  // Out-parameter for CoCreateInstance / QueryInterface.
  void** receive() { return reinterpret_cast<void**>(this->Receive()); }
};

}  // namespace win32
}  // namespace platform

#endif  // UPDATER_PLATFORM_WIN32_SCOPED_HANDLE_H_
