#include "commands/proc_record.h"

#include "settings/param_reader.h"
#include "settings/run_log.h"

void NoteKeyValue(ProcRecord& record, const char* key, const char* value) {
  if (!RunLogIsOpen()) return;
  record.loggedKeys.Add(" ").Add(key).Add("=\"").Add(value).Add("\"");
}

bool ReadRecordKeys(ProcRecord& record, const char* section,
                    const RecordKey* keys, int count) {
  if (!ReadParam(section, "MODE", record.mode)) return false;
  for (int i = 0; i < count; ++i) {
    if (!ReadParam(section, keys[i].key, *keys[i].field)) return false;
    NoteKeyValue(record, keys[i].key, keys[i].field->Text());
  }
  return true;
}
