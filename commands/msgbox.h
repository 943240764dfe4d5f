// MSGBOX: asks the user in a message box; the answer becomes the record's
// result and may end the run without an error message.
#ifndef UPDATER_COMMANDS_MSGBOX_H_
#define UPDATER_COMMANDS_MSGBOX_H_

#include "base/text_string.h"
#include "commands/proc_record.h"
#include "platform/platform.h"

struct MSGBOX_INFO : ProcRecord {
  TextString FLAG;     // "" or one item: always shown; "<procedure>, <0|1>"
  TextString TYPE;     // ERROR, INFORMATION, WARNING or QUESTION
  TextString TEXT;     // the box text; "%n" a line break, "%t" a tab
  TextString ISABORT;  // "<after OK/Yes>, <after No>": non-zero ends the run
};

// MessageBoxA styles of the four TYPE words. A warning asks Yes/No with No
// as the default button, so that Enter does not confirm it by accident.
const unsigned kMsgboxErrorStyle = platform::kMbIconError | platform::kMbOk;
const unsigned kMsgboxInformationStyle =
    platform::kMbIconInformation | platform::kMbOk;
const unsigned kMsgboxWarningStyle =
    platform::kMbIconWarning | platform::kMbYesNo | platform::kMbDefButton2;
const unsigned kMsgboxQuestionStyle =
    platform::kMbIconQuestion | platform::kMbYesNo;

ProcRecord* LoadMsgbox(const char* name);
bool RunMsgbox(ProcRecord* record);

// The MessageBoxA style of a TYPE word; 0 for none of the four.
unsigned MsgboxStyle(const TextString& type);

// A FLAG of two items or more: true with the name of the procedure it tests
// (item 0, blanks trimmed) and the result it expects (item 1 as a number).
// False for "" or one item: the box is always shown.
bool ParseFlag(const TextString& flag, TextString* target, int* expected);

#endif  // UPDATER_COMMANDS_MSGBOX_H_
