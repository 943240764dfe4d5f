#include "app/proc_driver.h"

#include <new>

#include "app/process_state.h"
#include "commands/item_list.h"
#include "commands/kind_table.h"
#include "settings/exit_code.h"
#include "settings/messages.h"
#include "settings/param_reader.h"
#include "settings/run_log.h"

namespace {

// The end of every failed load, at the start or as a SWITCH branch.
ProcList NotLoaded() {
  StopRun(kExitListNotLoaded);
  return 0;
}

// Destroys the records of a list that never reached the ProcListArray.
ProcList Abandon(ProcList list) {
  FreeProcList(list);
  return NotLoaded();
}

void LogStart(const ProcRecord& record) {
  if (!RunLogIsOpen()) return;
  TextString line("start [");
  line.Add(record.name).Add("] MODE=").Add(record.mode).Add(record.loggedKeys);
  LogText(line);
}

}  // namespace

bool RunUpdater() {
  const int count = UpdaterProc.ItemCount(",");
  if (count == 0) {
    ShowError(MSG_BAD_ITEM_COUNT, "UPDATER", "PROC");
    StopRun(kExitStartupFailed);
    return false;
  }
  return LoadAndRunProcList(UpdaterProc, count);
}

bool LoadAndRunProcList(const TextString& text, int count) {
  const ProcList list = LoadProcList(text, count);
  if (!list || !RunProcList(list)) return false;
  FreeProcList(list);
  return true;
}

ProcList LoadProcList(const TextString& text, int count) {
  if (count <= 0) {
    ShowError(MSG_BAD_PROC_COUNT);
    return NotLoaded();
  }
  ProcList list = new (std::nothrow) ProcRecord*[count + 1]();
  if (!list) {
    ShowError(MSG_OUT_OF_MEMORY, "ProcList");
    return NotLoaded();
  }
  // A bad section ends the walk early; the list is then abandoned.
  int i = 0;
  for (; i < count; ++i) {
    const TextString section = ListItem(text, i);
    TextString mode;
    if (!ReadParam(section.Text(), "MODE", &mode)) break;
    const ProcKind* kind = FindProcKind(mode);
    if (!kind) {
      ShowBadSymbol(mode);
      break;
    }
    list[i] = kind->load(section.Text());
    if (!list[i]) break;
  }
  if (i == count) {
    if (AddProcList(list)) return list;
    ShowError(MSG_OUT_OF_MEMORY, "ProcListArray");
  }
  return Abandon(list);
}

bool RunProcList(ProcList list) {
  if (!list) return false;
  for (ProcRecord** slot = list; *slot; ++slot) {
    const ProcKind* kind = FindProcKind((*slot)->mode);
    if (!kind) {
      ShowBadSymbol((*slot)->mode);
      StopRun(kExitProcedureFailed);
      return false;
    }
    LogStart(**slot);
    const bool goesOn = kind->run(*slot);
    LogFormat("end [%s] result %s%s", (*slot)->name.Text(),
              (*slot)->result ? "true" : "false",
              goesOn ? "" : ", the run stops");
    if (!goesOn) {
      StopRun(kExitProcedureFailed);  // unless it told its own cause
      return false;
    }
  }
  return true;
}

int FreeProcList(ProcList list) {
  if (!list) return 0;
  // Unregistered before the array goes, so no freed pointer is compared.
  const int remaining = RemoveProcList(list);
  for (ProcRecord** slot = list; *slot; ++slot) {
    delete *slot;
    *slot = 0;
  }
  delete[] list;
  return remaining;
}

void FreeAllProcLists() {
  while (FreeProcList(CurrentProcList()) != 0) {
  }
}

ProcRecord* FindProcRecord(ProcList list, const char* name) {
  if (!list) return 0;
  for (ProcRecord** slot = list; *slot; ++slot)
    if ((*slot)->name.Equals(name)) return *slot;
  return 0;
}
