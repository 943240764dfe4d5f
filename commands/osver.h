// OSVER: records whether the updater runs on the Windows NT family, for a
// later SWITCH or MSGBOX FLAG to branch on.
#ifndef UPDATER_COMMANDS_OSVER_H_
#define UPDATER_COMMANDS_OSVER_H_

#include "commands/proc_record.h"

// The head alone: the answer is the record's result.
struct OSVER_INFO : ProcRecord {};

ProcRecord* LoadOsver(const char* name);
// Never fails: result is true on the NT family, false otherwise.
bool RunOsver(ProcRecord* record);

#endif  // UPDATER_COMMANDS_OSVER_H_
