#include "commands/proc_record.h"

#include "settings/run_log.h"

void NoteKeyValue(ProcRecord* record, const char* key, const char* value) {
  if (!RunLogIsOpen()) return;
  record->loggedKeys.Add(" ").Add(key).Add("=\"").Add(value).Add("\"");
}
