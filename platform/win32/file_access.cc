// Whether an existing file could be opened for writing now.
#include <windows.h>

#include "platform/platform.h"

namespace platform {

bool OpenableForWriting(const char* path) {
  // OPEN_EXISTING never creates or truncates; the handle is closed unused.
  KernelObject file(CreateFileA(path, GENERIC_WRITE, 0, NULL, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, NULL));
  return file.valid();
}

}  // namespace platform
