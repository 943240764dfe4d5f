#include "commands/exit_code_list.h"

#include "commands/item_list.h"

bool ParseExitCode(const TextString& item, unsigned* code) {
  const char* text = item.Text();
  const bool negative = text[0] == '-';
  if (negative) ++text;
  int base = 10;
  if (!negative && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text += 2;
  }
  if (*text == '\0') return false;
  // Past these a number no longer fits 32 bits (or, negative, 31 bits).
  const unsigned limit = negative ? 0x80000000u : 0xFFFFFFFFu;
  const unsigned radix = static_cast<unsigned>(base);
  unsigned value = 0;
  for (; *text != '\0'; ++text) {
    int digit = 0;
    if (!DigitOf(*text, base, &digit)) return false;
    // value * radix + digit > limit, asked without passing 32 bits.
    if (value > (limit - static_cast<unsigned>(digit)) / radix) return false;
    value = value * radix + static_cast<unsigned>(digit);
  }
  *code = negative ? 0u - value : value;
  return true;
}

bool FindBadExitCode(const TextString& list, TextString* bad) {
  const int count = list.ItemCount(",");
  for (int i = 0; i < count; ++i) {
    const TextString item = ListItem(list, i);
    unsigned code;
    if (item.Length() == 0 || ParseExitCode(item, &code)) continue;
    *bad = item;
    return true;
  }
  return false;
}

bool HoldsExitCodes(const TextString& list) {
  const int count = list.ItemCount(",");
  for (int i = 0; i < count; ++i)
    if (ListItem(list, i).Length() != 0) return true;
  return false;
}

bool ListsExitCode(const TextString& list, unsigned code) {
  const int count = list.ItemCount(",");
  for (int i = 0; i < count; ++i) {
    unsigned listed;
    if (ParseExitCode(ListItem(list, i), &listed) && listed == code) return true;
  }
  return false;
}

ExitCodeVerdict JudgeExitCode(const TextString& success,
                              const TextString& restart, unsigned code) {
  if (ListsExitCode(restart, code)) return kExitNeedsRestart;
  if (!HoldsExitCodes(success) || ListsExitCode(success, code)) {
    return kExitSucceeded;
  }
  return kExitFailed;
}
