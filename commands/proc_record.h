// The head every procedure record begins with and the contract of the
// per-kind loaders and executors. What each kind reads and how is in
// commands/kind_table.h.
#ifndef UPDATER_COMMANDS_PROC_RECORD_H_
#define UPDATER_COMMANDS_PROC_RECORD_H_

#include "base/text_string.h"

struct ProcKind;

struct ProcRecord {
  ProcRecord();
  // Records are owned by their ProcList and destroyed through this head.
  virtual ~ProcRecord();

  TextString name;  // the section name, as the list gives it (trimmed)
  TextString mode;  // the MODE value
  bool result;      // false when loaded; set true by the executor, never back
  const ProcKind* kind;  // the kind whose loader made the record
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

// Adds ' KEY="value"' to the record's loggedKeys while a log is open.
void NoteKeyValue(ProcRecord* record, const char* key, const char* value);

#endif  // UPDATER_COMMANDS_PROC_RECORD_H_
