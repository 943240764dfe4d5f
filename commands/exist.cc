#include "commands/exist.h"

#include "commands/item_exists.h"
#include "commands/item_walk.h"
#include "commands/record_keys.h"

ProcRecord* LoadExist(const char* name) {
  EXIST_INFO* record = NewProcRecord<EXIST_INFO>(name, "EXIST_INFO");
  if (!record) return 0;
  const RecordKey keys[] = {{"FILE", &record->FILE}};
  return ReadRecordKeys(record, name, keys);
}

bool RunExist(ProcRecord* base) {
  EXIST_INFO* record = static_cast<EXIST_INFO*>(base);
  const int count = CountDrivingItems(*record, record->FILE, "FILE");
  if (count == 0) return false;
  // A missing item is an answer, not a failure: the run goes on and a later
  // SWITCH or MSGBOX reads the result.
  for (int i = 0; i < count; ++i)
    if (!ItemExists(ListItem(record->FILE, i))) return true;
  record->result = true;
  return true;
}
