// EXIST: tests whether every listed file, directory or pattern exists. Its
// outcome is only its result flag.
#ifndef UPDATER_COMMANDS_EXIST_H_
#define UPDATER_COMMANDS_EXIST_H_

#include "base/text_string.h"
#include "commands/proc_record.h"

struct EXIST_INFO : ProcRecord {
  TextString FILE;  // files, directories or wildcard patterns
};

ProcRecord* LoadExist(const char* name);
bool RunExist(ProcRecord* record);

#endif  // UPDATER_COMMANDS_EXIST_H_
