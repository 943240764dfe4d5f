// Shell links saved through the shell's link object: IShellLinkW with the
// fields converted from code page 932 on the NT family, IShellLinkA on the
// 95 family.
#include <objbase.h>
#include <shlobj.h>
#include <string.h>
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/com_ref.h"
#include "platform/win32/last_error.h"
#include "platform/win32/wide_text.h"

namespace platform {

namespace {

// The shell's link object and the interfaces asked of it, defined here: the
// library's copies are reached through a pointer each on the 64-bit build.
const CLSID kShellLink = {0x00021401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kShellLinkW = {0x000214F9, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kShellLinkA = {0x000214EE, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kPersistFile = {0x0000010B, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// Whether the shell's link object keeps `text` whole: it holds paths in
// MAX_PATH buffers, of wide characters on the NT family and of bytes on the
// 95 family, and cuts what does not fit. The wide length is counted in code
// page 932, whatever the system's own.
bool FitsShellPath(const char* text) {
  if (!win32::UseWideCalls()) {
    return strlen(text) < kMaxPath;
  }
  const int wide =
      MultiByteToWideChar(win32::kSettingsCodePage, 0, text, -1, NULL, 0);
  return wide != 0 && wide <= static_cast<int>(kMaxPath);
}

// Whether a wide text's length is below `limit`; looks no further.
bool WideShorterThan(const WCHAR* text, unsigned limit) {
  for (unsigned i = 0; i < limit; ++i) {
    if (text[i] == 0) return true;
  }
  return false;
}

// Sets the fields and hands out the link's persist interface.
template <class Link, class Text>
bool FillLink(Link* link, const Text& target, const Text& folder,
              const Text& arguments, int showCommand,
              win32::ComRef<IPersistFile>* file) {
  // Only creating, the persist interface and saving decide the outcome.
  link->SetPath(target);
  link->SetWorkingDirectory(folder);
  link->SetArguments(arguments);
  if (showCommand != 0) link->SetShowCmd(showCommand);
  return win32::KeptResult(link->QueryInterface(kPersistFile, file->receive()));
}

bool FillWideLink(const ShortcutFields& fields,
                  win32::ComRef<IPersistFile>* file) {
  const win32::WideText target(fields.target);
  const win32::WideText folder(fields.workingDirectory);
  const win32::WideText arguments(fields.arguments);
  if (!target.valid() || !folder.valid() || !arguments.valid()) return false;
  win32::ComRef<IShellLinkW> link;
  return win32::KeptResult(CoCreateInstance(kShellLink, NULL,
                                            CLSCTX_INPROC_SERVER, kShellLinkW,
                                            link.receive())) &&
         FillLink(link.get(), target.get(), folder.get(), arguments.get(),
                  fields.showCommand, file);
}

bool FillAnsiLink(const ShortcutFields& fields,
                  win32::ComRef<IPersistFile>* file) {
  win32::ComRef<IShellLinkA> link;
  return win32::KeptResult(CoCreateInstance(kShellLink, NULL,
                                            CLSCTX_INPROC_SERVER, kShellLinkA,
                                            link.receive())) &&
         FillLink(link.get(), fields.target, fields.workingDirectory,
                  fields.arguments, fields.showCommand, file);
}

}  // namespace

bool SaveShortcut(const ShortcutFields& fields, const char* path) {
  // A cut target or working folder would make a shortcut to something else.
  if (!FitsShellPath(fields.target) ||
      !FitsShellPath(fields.workingDirectory)) {
    return win32::Fail(ERROR_FILENAME_EXCED_RANGE);
  }
  // A path that does not fit is refused rather than saved under a cut name.
  const win32::WideText wide(path);
  if (!wide.valid()) return false;
  if (!WideShorterThan(wide.get(), kMaxPath)) {
    return win32::Fail(ERROR_INSUFFICIENT_BUFFER);
  }
  win32::ComRef<IPersistFile> file;
  const bool filled = win32::UseWideCalls() ? FillWideLink(fields, &file)
                                            : FillAnsiLink(fields, &file);
  return filled && win32::KeptResult(file->Save(wide.get(), TRUE));
}

}  // namespace platform
