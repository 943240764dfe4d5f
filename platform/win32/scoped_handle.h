// Owners for the kernel handles and COM interfaces the platform layer opens,
// so that every early return still closes or releases them.
#ifndef UPDATER_PLATFORM_WIN32_SCOPED_HANDLE_H_
#define UPDATER_PLATFORM_WIN32_SCOPED_HANDLE_H_

#include <windows.h>

namespace platform {
namespace win32 {

// A kernel handle closed with CloseHandle. Both "no handle" values (null and
// INVALID_HANDLE_VALUE) count as empty, since different calls return either.
class ScopedHandle {
 public:
  explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
  ~ScopedHandle() { Close(); }

  bool valid() const {
    return handle_ != NULL && handle_ != INVALID_HANDLE_VALUE;
  }
  HANDLE get() const { return handle_; }
  void Close() {
    if (valid()) CloseHandle(handle_);
    handle_ = NULL;
  }

 private:
  ScopedHandle(const ScopedHandle&);
  ScopedHandle& operator=(const ScopedHandle&);
  HANDLE handle_;
};

// A COM interface pointer released when the owner goes away.
template <typename Interface>
class ComRef {
 public:
  ComRef() : pointer_(NULL) {}
  ~ComRef() {
    if (pointer_ != NULL) pointer_->Release();
  }

  Interface* get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  // Out-parameter for CoCreateInstance / QueryInterface.
  void** receive() { return reinterpret_cast<void**>(&pointer_); }

 private:
  ComRef(const ComRef&);
  ComRef& operator=(const ComRef&);
  Interface* pointer_;
};

}  // namespace win32
}  // namespace platform

#endif  // UPDATER_PLATFORM_WIN32_SCOPED_HANDLE_H_
