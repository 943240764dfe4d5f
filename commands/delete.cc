#include "commands/delete.h"

#include "commands/item_walk.h"
#include "commands/record_keys.h"
#include "platform/platform.h"
#include "settings/messages.h"

ProcRecord* LoadDelete(const char* name) {
  DELETE_INFO* record = NewProcRecord<DELETE_INFO>(name, "DELETE_INFO");
  if (!record) return 0;
  const RecordKey keys[] = {{"FILE", &record->FILE}};
  return ReadRecordKeys(record, name, keys);
}

bool RunDelete(ProcRecord* base) {
  DELETE_INFO* record = static_cast<DELETE_INFO*>(base);
  const int count = CountDrivingItems(*record, record->FILE, "FILE");
  if (count == 0) return false;
  for (int i = 0; i < count; ++i) {
    // No existence test first: a missing file is a failure like any other,
    // and a read-only file is left alone (ATTR can clear it beforehand).
    const TextString file = ListItem(record->FILE, i);
    if (!platform::RemoveFile(file.Text())) {
      ShowError(MSG_DELETE_FAILED, file.Text());
      return false;
    }
  }
  record->result = true;
  return true;
}
