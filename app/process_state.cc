#include "app/process_state.h"

#include "app/proc_driver.h"
#include "commands/file_in_use.h"
#include "settings/exit_code.h"
#include "settings/messages.h"
#include "settings/param_reader.h"
#include "settings/run_log.h"
#include "settings/symbol_table.h"

namespace {
// The texts below in one array: made, and given back at the end, by one
// loop each.
TextString g_texts[4];
}  // namespace

TextString& CommandLineText = g_texts[0];
TextString& ModulePath = g_texts[1];
TextString& UpdaterName = g_texts[2];
TextString& UpdaterProc = g_texts[3];

// "ロザニカ アップデータ" in Shift-JIS.
const char DefaultCaption[] =
    "\x83\x8D\x83\x55\x83\x6A\x83\x4A\x20"
    "\x83\x41\x83\x62\x83\x76\x83\x66\x81\x5B\x83\x5E";

void ResetProcessState() {
  FreeAllProcLists();
  ClearStopCause();
  SetErrorSink(0);
  SetSilentMode(false);
  SetMessageLanguage(kMessagesBySystem);
  SetInUseWait(kDefaultInUseWait);
  CloseRunLog();
  ClearSymbolTable();
  CommandLineText.Set("");
  AppCaption.Set("");
  ModulePath.Set("");
  SettingsPath.Set("");
  UpdaterName.Set("");
  UpdaterProc.Set("");
}
