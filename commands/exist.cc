#include "commands/exist.h"

#include <new>

#include "commands/item_list.h"
#include "commands/kind_table.h"
#include "settings/run_log.h"

ProcRecord* LoadExist(const char* name) {
  return LoadProcRecord(kProcKinds[kExistKind], new (std::nothrow) EXIST_INFO,
                        name);
}

bool RunExist(ProcRecord* record) {
  EXIST_INFO* info = static_cast<EXIST_INFO*>(record);
  const int count = CountDrivingItems(*info);
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
