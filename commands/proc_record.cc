#include "commands/proc_record.h"

#include "settings/param_reader.h"

bool ReadRecordKeys(ProcRecord& record, const char* section,
                    const RecordKey* keys, int count) {
  if (!ReadParam(section, "MODE", record.mode)) return false;
  for (int i = 0; i < count; ++i)
    if (!ReadParam(section, keys[i].key, *keys[i].field)) return false;
  return true;
}
