#include "commands/record_keys.h"

#include "settings/param_reader.h"

ProcRecord* ReadRecordKeys(ProcRecord* record, const char* section,
                           const RecordKey* keys, int count) {
  bool read = ReadParam(section, "MODE", record->mode);
  for (int i = 0; read && i < count; ++i)
    read = ReadParam(section, keys[i].key, *keys[i].field);
  if (read) return record;
  delete record;
  return 0;
}
