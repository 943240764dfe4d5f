// Shell links saved through the shell's link object.
#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/com_ref.h"
#include "platform/win32/last_error.h"

namespace platform {

namespace {

// Whether the shell's link object keeps `text` whole: it holds paths in
// MAX_PATH buffers, of wide characters on the NT family and of bytes on the
// 95 family, and cuts what does not fit.
bool FitsShellPath(const char* text) {
  const int wide = MultiByteToWideChar(CP_ACP, 0, text, -1, NULL, 0);
  if (wide == 0 || wide > static_cast<int>(kMaxPath)) return false;
  return PlatformId() == kPlatformWin32Nt ||
         lstrlenA(text) < static_cast<int>(kMaxPath);
}

}  // namespace

bool SaveShortcut(const ShortcutFields& fields, const char* path) {
  // A cut target or working folder would make a shortcut to something else.
  if (!FitsShellPath(fields.target) ||
      !FitsShellPath(fields.workingDirectory)) {
    return win32::Fail(ERROR_FILENAME_EXCED_RANGE);
  }
  win32::ComRef<IShellLinkA> link;
  if (!win32::KeptResult(CoCreateInstance(CLSID_ShellLink, NULL,
                                          CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                          link.receive()))) {
    return false;
  }
  // Only creating, the persist interface and saving decide the outcome.
  link->SetPath(fields.target);
  link->SetWorkingDirectory(fields.workingDirectory);
  link->SetArguments(fields.arguments);
  if (fields.showCommand != 0) link->SetShowCmd(fields.showCommand);

  win32::ComRef<IPersistFile> file;
  if (!win32::KeptResult(
          link->QueryInterface(IID_IPersistFile, file.receive()))) {
    return false;
  }
  // A path that does not fit is refused rather than saved under a cut name.
  WCHAR wide[kMaxPath];
  if (MultiByteToWideChar(CP_ACP, 0, path, -1, wide, kMaxPath) == 0) {
    return win32::FailWithLastError();
  }
  return win32::KeptResult(file->Save(wide, TRUE));
}

}  // namespace platform
