#include "commands/exist.h"

#include "commands/item_list.h"
#include "settings/run_log.h"

ProcRecord* LoadExist(const char* name) {
  RecordOwner<EXIST_INFO> record(NewProcRecord<EXIST_INFO>(name, "EXIST_INFO"));
  if (!record.valid()) return 0;
  const RecordKey keys[] = {{"FILE", &record->FILE}};
  if (!ReadRecordKeys(*record, name, keys)) return 0;
  return record.Take();
}

bool RunExist(ProcRecord* record) {
  EXIST_INFO* info = static_cast<EXIST_INFO*>(record);
  const int count = CountDrivingItems(*info, info->FILE, "FILE");
  if (count == 0) return false;
  // A missing item is an answer, not a failure: the run goes on and a later
  // SWITCH or MSGBOX reads the result.
  for (int i = 0; i < count; ++i) {
    const TextString item = ListItem(info->FILE, i);
    const bool exists = ItemExists(item);
    LogFormat("exists %s: %s", item.Text(), exists ? "yes" : "no");
    if (!exists) return true;
  }
  info->result = true;
  return true;
}
