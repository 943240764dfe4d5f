#include "commands/item_list.h"

#include "platform/platform.h"

TextString ListItem(const TextString& list, int index) {
  TextString item = list.Item(index, ",");
  item.Trim(" ");
  return item;
}

bool FolderOf(const char* path, TextString* out) {
  TextString folder;
  if (!DirectoryOf(path, &folder)) return false;
  if (folder.Length() == 2 && folder.Text()[1] == ':') {
    if (!folder.Append("\\")) return false;
  }
  return out->Assign(folder.Text());
}

bool ItemExists(const TextString& item) {
  if (platform::FileExists(item.Text())) return true;
  // Without this, MAKEDIR "C:\App\" would create the folder on the first run
  // and fail on every later one, and EXIST would deny a folder that is there.
  // Only a backslash of its own ends the item: the second byte of a
  // double-byte character (ソ is 0x83 0x5C) does not.
  if (item.Length() == 0 || item.Item(-1, "\\").Length() != 0) return false;
  // "C:\App\." names the folder itself. A drive root has no entry and stays
  // missing, as before.
  const TextString self = item.Concat(".");
  platform::FindEntry entry;
  platform::FileSearch search;
  return search.First(self.Text(), &entry) &&
         (entry.attributes & platform::kAttributeDirectory) != 0;
}
