// MSGBOX: asks the user in a message box; the answer becomes the record's
// result and may end the run without an error message.
#ifndef UPDATER_COMMANDS_MSGBOX_H_
#define UPDATER_COMMANDS_MSGBOX_H_

#include "base/text_string.h"
#include "commands/proc_record.h"

struct MSGBOX_INFO : ProcRecord {
  TextString FLAG;     // "" or one item: always shown; "<procedure>, <0|1>"
  TextString TYPE;     // ERROR, INFORMATION, WARNING or QUESTION
  TextString TEXT;     // the box text; "%n" a line break, "%t" a tab
  TextString ISABORT;  // "<after OK/Yes>, <after No>": non-zero ends the run
};

// MessageBoxA styles of the four TYPE words.
const unsigned kMsgboxErrorStyle = 0x10;         // icon error, OK
const unsigned kMsgboxInformationStyle = 0x40;   // icon information, OK
const unsigned kMsgboxWarningStyle = 0x134;      // icon warning, Yes/No, No default
const unsigned kMsgboxQuestionStyle = 0x24;      // icon question, Yes/No

ProcRecord* LoadMsgbox(const char* name);
bool RunMsgbox(ProcRecord* record);

#endif  // UPDATER_COMMANDS_MSGBOX_H_
