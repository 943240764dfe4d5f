// Helpers shared by the executors that walk comma-separated item lists.
#ifndef UPDATER_COMMANDS_ITEM_WALK_H_
#define UPDATER_COMMANDS_ITEM_WALK_H_

#include <new>

#include "base/text_string.h"
#include "commands/proc_record.h"
#include "settings/messages.h"

// Item `index` of a comma-separated list, blanks trimmed at both ends; ""
// beyond the last item.
TextString ListItem(const TextString& list, int index);

// The number of items of the driving list; 0 after showing
// MSG_BAD_ITEM_COUNT with the procedure's name and `key`.
int CountDrivingItems(const ProcRecord& record, const TextString& list,
                      const char* key);

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

#endif  // UPDATER_COMMANDS_ITEM_WALK_H_
