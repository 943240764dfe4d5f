// ATTR: sets the attributes of files, or of every file directly in a folder.
#ifndef UPDATER_COMMANDS_ATTR_H_
#define UPDATER_COMMANDS_ATTR_H_

#include "base/text_string.h"
#include "commands/proc_record.h"

struct ATTR_INFO : ProcRecord {
  TextString FILE;  // files, or "<dir>\*.*" wildcard items
  TextString ARG;   // "0x"-prefixed hexadecimal attribute values
};

ProcRecord* LoadAttr(const char* name);
bool RunAttr(ProcRecord* record);

#endif  // UPDATER_COMMANDS_ATTR_H_
