#include "commands/msgbox.h"

#include <string.h>

#include <new>

#include "app/proc_driver.h"
#include "commands/item_list.h"
#include "commands/kind_table.h"
#include "platform/platform.h"
#include "settings/exit_code.h"
#include "settings/messages.h"

namespace {

// False after MSG_BAD_SYMBOL when FLAG names no procedure of the list being
// run; `due` tells whether to show the box.
bool CheckFlag(const MSGBOX_INFO& record, bool* due) {
  *due = true;
  TextString target;
  int expected = 0;
  if (!ParseFlag(record.FLAG, &target, &expected)) return true;
  const ProcRecord* tested = FindProcRecord(CurrentProcList(), target.Text());
  if (!tested) return ShowBadSymbol(record.FLAG);
  *due = (tested->result ? 1 : 0) == expected;
  return true;
}

// Shows TEXT ("%n" a line break, "%t" a tab) in a box of `style`: the
// answer. In silent mode the default button answers, and the run goes on
// as if it had been clicked.
int Ask(const TextString& written, unsigned style) {
  TextString text(written);
  text.ReplaceAll("%n", "\n");
  text.ReplaceAll("%t", "\t");
  return ShowBox(kProcKinds[kMsgboxKind].mode, text.Text(), style);
}

}  // namespace

bool ParseFlag(const TextString& flag, TextString* target, int* expected) {
  if (flag.ItemCount(",") < 2) return false;
  *target = ListItem(flag, 0);
  *expected = flag.Item(1, ",").ToInt();
  return true;
}

unsigned MsgboxStyle(const TextString& type) {
  // The words one after the other, each ended by its zero byte, and their
  // styles in the same order (each fits 16 bits).
  static const char kWords[] = "ERROR\0INFORMATION\0WARNING\0QUESTION";
  static const unsigned short kStyles[] = {
      kMsgboxErrorStyle, kMsgboxInformationStyle, kMsgboxWarningStyle,
      kMsgboxQuestionStyle};
  const char* word = kWords;
  for (unsigned i = 0; i < sizeof kStyles / sizeof kStyles[0];
       ++i, word += strlen(word) + 1)
    if (type.Equals(word)) return kStyles[i];
  return 0;
}

ProcRecord* LoadMsgbox(const char* name) {
  return LoadProcRecord(kProcKinds[kMsgboxKind], new (std::nothrow) MSGBOX_INFO,
                        name);
}

bool RunMsgbox(ProcRecord* record) {
  MSGBOX_INFO* info = static_cast<MSGBOX_INFO*>(record);
  bool due = true;
  if (!CheckFlag(*info, &due)) return false;
  if (!due) return true;
  const unsigned style = MsgboxStyle(info->TYPE);
  if (style == 0) return ShowBadSymbol(info->TYPE);
  const int answer = Ask(info->TEXT, style);
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
