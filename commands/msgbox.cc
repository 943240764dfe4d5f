#include "commands/msgbox.h"

#include "app/proc_driver.h"
#include "commands/item_list.h"
#include "platform/platform.h"
#include "settings/exit_code.h"
#include "settings/messages.h"

namespace {

// FLAG with two items names a procedure of the list being run and the
// result it must have for the box to be shown. False after MSG_BAD_SYMBOL
// when no such procedure exists; `due` tells whether to show the box.
bool CheckFlag(const MSGBOX_INFO& record, bool* due) {
  *due = true;
  if (record.FLAG.ItemCount(",") < 2) return true;
  const ProcRecord* target =
      FindProcRecord(CurrentProcList(), ListItem(record.FLAG, 0).Text());
  if (!target) {
    ShowError(MSG_BAD_SYMBOL, record.FLAG.Text());
    return false;
  }
  const int expected = record.FLAG.Item(1, ",").ToInt();
  *due = (target->result ? 1 : 0) == expected;
  return true;
}

// The style of a TYPE word; 0 for none of them.
unsigned StyleOf(const TextString& type) {
  static const struct {
    const char* word;
    unsigned style;
  } kTypes[] = {
      {"ERROR", kMsgboxErrorStyle},
      {"INFORMATION", kMsgboxInformationStyle},
      {"WARNING", kMsgboxWarningStyle},
      {"QUESTION", kMsgboxQuestionStyle},
  };
  for (unsigned i = 0; i < sizeof kTypes / sizeof kTypes[0]; ++i)
    if (type.Equals(kTypes[i].word)) return kTypes[i].style;
  return 0;
}

}  // namespace

ProcRecord* LoadMsgbox(const char* name) {
  RecordOwner<MSGBOX_INFO> record(
      NewProcRecord<MSGBOX_INFO>(name, "MSGBOX_INFO"));
  if (!record.valid()) return 0;
  const RecordKey keys[] = {{"FLAG", &record->FLAG},
                            {"TYPE", &record->TYPE},
                            {"TEXT", &record->TEXT},
                            {"ISABORT", &record->ISABORT}};
  if (!ReadRecordKeys(*record, name, keys)) return 0;
  return record.Take();
}

bool RunMsgbox(ProcRecord* record) {
  MSGBOX_INFO* info = static_cast<MSGBOX_INFO*>(record);
  bool due = true;
  if (!CheckFlag(*info, &due)) return false;
  if (!due) return true;
  const unsigned style = StyleOf(info->TYPE);
  if (style == 0) {
    ShowError(MSG_BAD_SYMBOL, info->TYPE.Text());
    return false;
  }
  TextString text(info->TEXT);
  text.ReplaceAll("%n", "\n");
  text.ReplaceAll("%t", "\t");
  // In silent mode the default button answers, and the run goes on as if
  // it had been clicked.
  const int answer = ShowBox("MSGBOX", text.Text(), style);
  int abortItem;
  if (answer == platform::kIdOk || answer == platform::kIdYes) {
    info->result = true;
    abortItem = 0;
  } else if (answer == platform::kIdNo || answer == platform::kIdCancel) {
    abortItem = 1;
  } else {
    // No box was answered (MessageBoxA failed): whatever the script meant to
    // decide here was not decided, so nothing after it may run.
    return false;
  }
  if (info->ISABORT.Item(abortItem, ",").ToInt() == 0) return true;
  StopRun(kExitEndedByAnswer);
  return false;
}
