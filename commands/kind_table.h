// The procedure kinds, in the fixed order in which MODE values are matched.
#ifndef UPDATER_COMMANDS_KIND_TABLE_H_
#define UPDATER_COMMANDS_KIND_TABLE_H_

#include "base/text_string.h"
#include "commands/proc_record.h"

struct ProcKind {
  const char* mode;  // the MODE value, matched without regard to case
  ProcLoader load;
  ProcExecutor run;
};

// The first kind whose mode equals `mode`, or null when none does.
const ProcKind* FindProcKind(const TextString& mode);

#endif  // UPDATER_COMMANDS_KIND_TABLE_H_
