// MAKEDIR: makes sure directories exist, creating one level per item.
#ifndef UPDATER_COMMANDS_MAKEDIR_H_
#define UPDATER_COMMANDS_MAKEDIR_H_

#include "base/text_string.h"
#include "commands/proc_record.h"

struct MAKEDIR_INFO : ProcRecord {
  TextString DIR;  // directories, parents listed before their children
};

ProcRecord* LoadMakedir(const char* name);
bool RunMakedir(ProcRecord* record);

#endif  // UPDATER_COMMANDS_MAKEDIR_H_
