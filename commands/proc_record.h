// The head every procedure record begins with, the contract of the per-kind
// loaders and executors, and the loading steps every kind shares.
#ifndef UPDATER_COMMANDS_PROC_RECORD_H_
#define UPDATER_COMMANDS_PROC_RECORD_H_

#include <new>

#include "base/text_string.h"
#include "platform/scoped_owner.h"
#include "settings/messages.h"

struct ProcRecord {
  ProcRecord() : result(false) {}
  // Records are owned by their ProcList and destroyed through this head.
  virtual ~ProcRecord() {}

  TextString name;  // the section name, as the list gives it (trimmed)
  TextString mode;  // the MODE value
  bool result;      // false when loaded; set true by the executor, never back
  // ' KEY="value"' of each key read after MODE, as the log shows them when
  // the procedure starts; kept only while a log is open.
  TextString loggedKeys;

 private:
  ProcRecord(const ProcRecord&);
  ProcRecord& operator=(const ProcRecord&);
};

// A loader reads the section `name` into a new record, or shows its message
// and returns null. An executor returns true to go on with the next record,
// false to stop the run (after showing its message, where it has one).
typedef ProcRecord* (*ProcLoader)(const char* name);
typedef bool (*ProcExecutor)(ProcRecord* record);

// A record while its loader fills it: destroyed on every early return,
// handed out with Take() once complete.
template <class Record>
class RecordOwner
    : public platform::ScopedOwner<platform::HeapObjectTraits<Record> > {
 public:
  explicit RecordOwner(Record* record)
      : platform::ScopedOwner<platform::HeapObjectTraits<Record> >(record) {}
  Record* operator->() const { return this->get(); }
  Record& operator*() const { return *this->get(); }
};

// A new record with its name set, or null after MSG_OUT_OF_MEMORY naming
// the record type.
template <class Record>
Record* NewProcRecord(const char* name, const char* recordName) {
  Record* record = new (std::nothrow) Record;
  if (!record) {
    ShowError(MSG_OUT_OF_MEMORY, recordName);
    return 0;
  }
  record->name.Set(name);
  return record;
}

// A required string key of a procedure section and the field it fills.
struct RecordKey {
  const char* key;
  TextString* field;
};

// Adds ' KEY="value"' to the record's loggedKeys while a log is open.
void NoteKeyValue(ProcRecord& record, const char* key, const char* value);

// Reads the section's MODE into the record, then each key in order into its
// field, expanded, noting each value for the log. False at the first absent
// key, after ReadParam's message; the fields read before it keep their values,
// the record stays the caller's.
bool ReadRecordKeys(ProcRecord& record, const char* section,
                    const RecordKey* keys, int count);

template <int N>
bool ReadRecordKeys(ProcRecord& record, const char* section,
                    const RecordKey (&keys)[N]) {
  return ReadRecordKeys(record, section, keys, N);
}

#endif  // UPDATER_COMMANDS_PROC_RECORD_H_
