#include "commands/switch.h"

#include "app/proc_driver.h"
#include "commands/item_list.h"
#include "settings/messages.h"

ProcRecord* LoadSwitch(const char* name) {
  RecordOwner<SWITCH_INFO> record(
      NewProcRecord<SWITCH_INFO>(name, "SWITCH_INFO"));
  if (!record.valid()) return 0;
  const RecordKey keys[] = {
      {"PROC", &record->PROC}, {"0", &record->LIST0}, {"1", &record->LIST1}};
  if (!ReadRecordKeys(*record, name, keys)) return 0;
  return record.Take();
}

bool RunSwitch(ProcRecord* record) {
  SWITCH_INFO* info = static_cast<SWITCH_INFO*>(record);
  TextString target(info->PROC);
  target.Trim(" ");
  // Looked up before the branch is loaded: only the list holding this
  // SWITCH is searched.
  const ProcRecord* tested = FindProcRecord(CurrentProcList(), target.Text());
  if (!tested) {
    ShowError(MSG_BAD_SYMBOL, info->PROC.Text());
    return false;
  }
  const TextString& branch = tested->result ? info->LIST1 : info->LIST0;
  const int count = branch.ItemCount(",");
  if (count == 0) return true;
  if (ProcListCount >= kMaxProcListDepth) {
    // Only a branch list that leads back here nests this deep; naming this
    // SWITCH tells the author which procedure loops.
    ShowError(MSG_BAD_SYMBOL, info->name.Text());
    return false;
  }
  // The branch list is current while it runs; a failed one stays loaded
  // until the end of the process, like every list whose run failed.
  ProcList list = LoadProcList(branch, count);
  if (!list) return false;
  if (!RunProcList(list)) return false;
  FreeProcList(list);
  return true;
}
