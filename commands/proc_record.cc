#include "commands/proc_record.h"

#include "platform/compiler.h"
#include "settings/run_log.h"

// Out of line: every kind's record starts with it.
UPDATER_NOINLINE ProcRecord::ProcRecord() : result(false), kind(0) {}
UPDATER_NOINLINE ProcRecord::~ProcRecord() {}

void NoteKeyValue(ProcRecord* record, const char* key, const char* value) {
  if (!RunLogIsOpen()) return;
  record->loggedKeys.Add(" ").Add(key).Add("=\"").Add(value).Add("\"");
}
