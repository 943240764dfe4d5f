// The loading steps every procedure kind shares.
#ifndef UPDATER_COMMANDS_RECORD_KEYS_H_
#define UPDATER_COMMANDS_RECORD_KEYS_H_

#include "base/text_string.h"
#include "commands/proc_record.h"

// A required string key of a procedure section and the field it fills.
struct RecordKey {
  const char* key;
  TextString* field;
};

// Reads the section's MODE into the record, then each key in order into its
// field, expanded. At the first absent key (ReadParam has shown its message)
// the record is destroyed and the result is null; otherwise the record.
ProcRecord* ReadRecordKeys(ProcRecord* record, const char* section,
                           const RecordKey* keys, int count);

template <int N>
ProcRecord* ReadRecordKeys(ProcRecord* record, const char* section,
                           const RecordKey (&keys)[N]) {
  return ReadRecordKeys(record, section, keys, N);
}

#endif  // UPDATER_COMMANDS_RECORD_KEYS_H_
