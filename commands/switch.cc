#include "commands/switch.h"

#include <new>

#include "app/proc_driver.h"
#include "commands/item_list.h"
#include "commands/kind_table.h"
#include "settings/messages.h"

ProcRecord* LoadSwitch(const char* name) {
  return LoadProcRecord(kProcKinds[kSwitchKind], new (std::nothrow) SWITCH_INFO,
                        name);
}

TextString TestedName(const TextString& proc) {
  TextString name(proc);
  name.Trim(" ");
  return name;
}

bool RunSwitch(ProcRecord* record) {
  SWITCH_INFO* info = static_cast<SWITCH_INFO*>(record);
  const TextString target = TestedName(info->PROC);
  // Looked up before the branch is loaded: only the list holding this
  // SWITCH is searched.
  const ProcRecord* tested = FindProcRecord(CurrentProcList(), target.Text());
  if (!tested) return ShowBadSymbol(info->PROC);
  const TextString& branch = tested->result ? info->LIST1 : info->LIST0;
  const int count = branch.ItemCount(",");
  if (count == 0) return true;
  if (ProcListCount >= kMaxProcListDepth) {
    // Only a branch list that leads back here nests this deep; naming this
    // SWITCH tells the author which procedure loops.
    return ShowBadSymbol(info->name);
  }
  // The branch list is current while it runs; a failed one stays loaded
  // until the end of the process, like every list whose run failed.
  return LoadAndRunProcList(branch, count);
}
