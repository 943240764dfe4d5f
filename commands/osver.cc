#include "commands/osver.h"

#include "app/system_queries.h"
#include "commands/item_walk.h"
#include "settings/param_reader.h"

ProcRecord* LoadOsver(const char* name) {
  OSVER_INFO* record = NewProcRecord<OSVER_INFO>(name, "OSVER_INFO");
  if (!record) return 0;
  if (!ReadParam(name, "MODE", record->mode)) {
    delete record;
    return 0;
  }
  return record;
}

bool RunOsver(ProcRecord* record) {
  record->result = IsNtPlatform();
  return true;
}
