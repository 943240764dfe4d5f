#include "commands/makedir.h"

#include "commands/item_exists.h"
#include "commands/item_walk.h"
#include "commands/record_keys.h"
#include "platform/platform.h"
#include "settings/messages.h"

ProcRecord* LoadMakedir(const char* name) {
  MAKEDIR_INFO* record = NewProcRecord<MAKEDIR_INFO>(name, "MAKEDIR_INFO");
  if (!record) return 0;
  const RecordKey keys[] = {{"DIR", &record->DIR}};
  return ReadRecordKeys(record, name, keys);
}

bool RunMakedir(ProcRecord* base) {
  MAKEDIR_INFO* record = static_cast<MAKEDIR_INFO*>(base);
  const int count = CountDrivingItems(*record, record->DIR, "DIR");
  if (count == 0) return false;
  for (int i = 0; i < count; ++i) {
    const TextString dir = ListItem(record->DIR, i);
    // Anything already there, a file of that name too, is left as it is:
    // running the same procedure again must not fail.
    if (ItemExists(dir)) continue;
    if (!platform::MakeDirectory(dir.Text())) {
      ShowError(MSG_MAKEDIR_FAILED, dir.Text());
      return false;
    }
  }
  record->result = true;
  return true;
}
