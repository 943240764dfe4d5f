// The items of the comma-separated lists that drive the executors, and the
// paths they name.
#ifndef UPDATER_COMMANDS_ITEM_LIST_H_
#define UPDATER_COMMANDS_ITEM_LIST_H_

#include "base/text_string.h"

// Item `index` of a comma-separated list, blanks trimmed at both ends; ""
// beyond the last item.
TextString ListItem(const TextString& list, int index);

// DirectoryOf(path), except that a drive's root comes back as "X:\": the
// bare "X:" would name the drive's current directory, not the folder that
// holds the file. False, `out` unchanged, when DirectoryOf finds none.
bool FolderOf(const char* path, TextString* out);

// FileExists, and also true for a directory named with trailing backslashes
// ("C:\App\"), which a directory search never matches by itself.
bool ItemExists(const TextString& item);

#endif  // UPDATER_COMMANDS_ITEM_LIST_H_
