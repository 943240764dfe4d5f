// DELETE: deletes a list of files, one exact name per item.
#ifndef UPDATER_COMMANDS_DELETE_H_
#define UPDATER_COMMANDS_DELETE_H_

#include "base/text_string.h"
#include "commands/proc_record.h"

struct DELETE_INFO : ProcRecord {
  TextString FILE;  // files to delete; no wildcards
};

ProcRecord* LoadDelete(const char* name);
bool RunDelete(ProcRecord* record);

#endif  // UPDATER_COMMANDS_DELETE_H_
