// COPY: copies files pairwise, FROM item i onto TO item i, replacing what is
// there. On the NT family a copy that fails leaves the destination exactly as
// it was.
#ifndef UPDATER_COMMANDS_COPY_H_
#define UPDATER_COMMANDS_COPY_H_

#include "base/text_string.h"
#include "commands/proc_record.h"

struct COPY_INFO : ProcRecord {
  TextString FROM;  // source files
  TextString TO;    // destination files; missing items count as ""
};

ProcRecord* LoadCopy(const char* name);
bool RunCopy(ProcRecord* record);

#endif  // UPDATER_COMMANDS_COPY_H_
