#include "commands/item_exists.h"

#include "app/system_queries.h"
#include "platform/platform.h"

bool ItemExists(const TextString& item) {
  if (FileExists(item.Text())) return true;
  // Without this, MAKEDIR "C:\App\" would create the folder on the first run
  // and fail on every later one, and EXIST would deny a folder that is there.
  const int length = item.Length();
  if (length == 0 || item.Text()[length - 1] != '\\') return false;
  // "C:\App\." names the folder itself. Appending keeps a double-byte
  // character whose second byte is 0x5C whole: its name with a trailing dot
  // is the same name, just found missing. A drive root has no entry and
  // stays missing, as before.
  TextString self(item);
  self.Add(".");
  platform::FindEntry entry;
  platform::FileSearch search;
  return search.First(self.Text(), &entry) &&
         (entry.attributes & platform::kAttributeDirectory) != 0;
}
