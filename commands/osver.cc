#include "commands/osver.h"

#include "commands/item_list.h"
#include "platform/platform.h"

ProcRecord* LoadOsver(const char* name) {
  RecordOwner<OSVER_INFO> record(NewProcRecord<OSVER_INFO>(name, "OSVER_INFO"));
  if (!record.valid()) return 0;
  if (!ReadRecordKeys(*record, name, 0, 0)) return 0;
  return record.Take();
}

bool RunOsver(ProcRecord* record) {
  record->result = platform::IsNtPlatform();
  return true;
}
