// An owner for the COM interfaces the platform layer creates, so that every
// early return still releases them: ScopedOwner (platform/scoped_owner.h)
// with the traits of an interface pointer. Kernel handles have their own
// owner, platform::KernelObject.
#ifndef UPDATER_PLATFORM_WIN32_COM_REF_H_
#define UPDATER_PLATFORM_WIN32_COM_REF_H_

#include "platform/scoped_owner.h"

namespace platform {
namespace win32 {

template <typename Interface>
struct ComInterfaceTraits {
  typedef Interface* Handle;
  static Handle Null() { return 0; }
  static bool IsValid(Handle pointer) { return pointer != 0; }
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

#endif  // UPDATER_PLATFORM_WIN32_COM_REF_H_
