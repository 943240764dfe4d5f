#include "commands/copy.h"

#include "commands/item_walk.h"
#include "commands/record_keys.h"
#include "platform/platform.h"
#include "settings/messages.h"

ProcRecord* LoadCopy(const char* name) {
  COPY_INFO* record = NewProcRecord<COPY_INFO>(name, "COPY_INFO");
  if (!record) return 0;
  const RecordKey keys[] = {{"FROM", &record->FROM}, {"TO", &record->TO}};
  return ReadRecordKeys(record, name, keys);
}

bool RunCopy(ProcRecord* base) {
  COPY_INFO* record = static_cast<COPY_INFO*>(base);
  const int count = CountDrivingItems(*record, record->FROM, "FROM");
  if (count == 0) return false;
  for (int i = 0; i < count; ++i) {
    const TextString source = ListItem(record->FROM, i);
    // TO is not counted: a shorter list leaves "" here, which the copy
    // refuses and the message then shows as an empty destination.
    const TextString destination = ListItem(record->TO, i);
    if (!platform::CopyFileOver(source.Text(), destination.Text())) {
      ShowError(MSG_COPY_FAILED, source.Text(), destination.Text());
      return false;
    }
  }
  record->result = true;
  return true;
}
