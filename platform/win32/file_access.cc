// Whether an existing file could be opened for writing now.
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/wide_text.h"

namespace platform {

bool OpenableForWriting(const char* path) {
  // OPEN_EXISTING never creates or truncates; the handle is closed unused.
  KernelObject file(win32::CreateFileOf(path, GENERIC_WRITE, 0, OPEN_EXISTING));
  return file.valid();
}

}  // namespace platform
