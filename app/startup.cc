#include "app/startup.h"

#include "app/command_switches.h"
#include "app/proc_driver.h"
#include "app/process_state.h"
#include "platform/platform.h"
#include "settings/messages.h"
#include "settings/param_reader.h"
#include "settings/run_log.h"
#include "settings/settings_reader.h"
#include "settings/symbol_table.h"

namespace {

// The built-in symbols, in kBuiltinSymbolNames order.
enum BuiltinFolder { kWindows, kSystem, kSource, kDesktop, kPrograms };

// Fills `path` with the folder of a built-in symbol as a Win32 path call
// fills its buffer: "" when the call fails. <Src> is the executable's
// directory without its trailing backslash ("C:" for an executable in a
// drive's root).
void ReadFolder(int folder, TextString* path) {
  if (folder == kSource) {
    path->Set(ModulePath.Items(0, -2, "\\"));
    return;
  }
  path->Reserve(platform::kMaxPath);
  char* const buffer = path->Buffer();
  if (folder == kWindows) {
    platform::WindowsDirectory(buffer, platform::kMaxPath);
  } else if (folder == kSystem) {
    platform::SystemDirectory(buffer, platform::kMaxPath);
  } else {
    const bool nt = platform::IsNtPlatform();
    platform::SpecialFolderPath(
        folder == kDesktop
            ? (nt ? platform::kCsidlCommonDesktopDirectory
                  : platform::kCsidlDesktopDirectory)
            : (nt ? platform::kCsidlCommonPrograms : platform::kCsidlPrograms),
        buffer);
  }
  path->Compact();
}

// Ends a path whose file name has no extension with a dot, so that the
// extension put in place of the last "."-separated item goes after the file
// name: a dot in a folder name ("C:\v1.2\upd") is no extension.
void MarkMissingExtension(TextString* path) {
  const TextString name = path->Item(-1, "\\");
  if (name.Length() != 0 && name.CountOf(".") == 0) path->Add(".");
}

// The caption is the command line's first argument. A switch where the
// caption stands leaves the default caption.
void SetCaptionFrom(const char* commandLine) {
  TextString caption;
  if (!FirstWordIsSwitch(commandLine) &&
      FirstArgument(CommandLineText, &caption))
    AppCaption.Set(caption);
  else
    AppCaption.Set(DefaultCaption);
}

}  // namespace

bool Initialize(const char* commandLine) {
  CommandLineText.SetText(commandLine);

  SetCaptionFrom(commandLine);

  // One byte more than the call may fill: a path that does not fit comes
  // back without its terminator, and this last zero still ends it.
  ModulePath.Reserve(platform::kMaxPath + 1);
  platform::ModuleFileName(ModulePath.Buffer(), platform::kMaxPath);
  ModulePath.Compact();

  SettingsPath.Set(ModulePath);
  MarkMissingExtension(&SettingsPath);
  SettingsPath.ReplaceItems(-1, -1, ".", "ini");
  LogFormat("settings: %s", SettingsPath.Text());

  if (!platform::FileExists(SettingsPath.Text())) {
    ShowError(MSG_FILE_NOT_FOUND, SettingsPath.Text());
    return false;
  }
  if (!DefineBuiltinSymbols()) return false;
  if (!ReadUpdaterSection()) return false;
  if (UpdaterName.Length() != 0) AppCaption.Set(UpdaterName);
  return true;
}

bool FirstArgument(const TextString& text, TextString* out) {
  TextString word = text.Word(0);
  word.Trim("\"");
  if (word.Length() == 0) return false;
  out->Set(word);
  return true;
}

bool DefineBuiltinSymbols() {
  TextString builtins[kBuiltinSymbolCount];
  for (int i = 0; i < kBuiltinSymbolCount; ++i) ReadFolder(i, &builtins[i]);
  return LoadSymbolTable(SettingsPath.Text(), builtins);
}

bool ReadUpdaterSection() {
  ProcListCount = 0;
  if (!ReadParam("UPDATER", "NAME", &UpdaterName)) return false;
  return ReadParam("UPDATER", "PROC", &UpdaterProc);
}
