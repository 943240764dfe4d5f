#include "commands/osver.h"

#include "app/system_queries.h"
#include "commands/item_walk.h"
#include "commands/record_keys.h"

ProcRecord* LoadOsver(const char* name) {
  OSVER_INFO* record = NewProcRecord<OSVER_INFO>(name, "OSVER_INFO");
  if (!record) return 0;
  return ReadRecordKeys(record, name, 0, 0);
}

bool RunOsver(ProcRecord* record) {
  record->result = IsNtPlatform();
  return true;
}
