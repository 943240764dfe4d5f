#include "commands/item_walk.h"

TextString ListItem(const TextString& list, int index) {
  TextString item = list.Item(index, ",");
  item.Trim(" ");
  return item;
}

int CountDrivingItems(const ProcRecord& record, const TextString& list,
                      const char* key) {
  const int count = list.ItemCount(",");
  if (count == 0) ShowError(MSG_BAD_ITEM_COUNT, record.name.Text(), key);
  return count;
}
