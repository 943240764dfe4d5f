#include "commands/osver.h"

#include <new>

#include "commands/item_list.h"
#include "commands/kind_table.h"
#include "platform/platform.h"

ProcRecord* LoadOsver(const char* name) {
  return LoadProcRecord(kProcKinds[kOsverKind], new (std::nothrow) OSVER_INFO,
                        name);
}

bool RunOsver(ProcRecord* record) {
  record->result = platform::IsNtPlatform();
  return true;
}
