// The folder a program or shortcut target lies in, usable as a working
// directory.
#ifndef UPDATER_COMMANDS_FOLDER_OF_H_
#define UPDATER_COMMANDS_FOLDER_OF_H_

#include "base/text_string.h"

// DirectoryOf(path), except that a drive's root comes back as "X:\": the
// bare "X:" would name the drive's current directory, not the folder that
// holds the file. False, `out` unchanged, when DirectoryOf finds none.
bool FolderOf(const char* path, TextString& out);

#endif  // UPDATER_COMMANDS_FOLDER_OF_H_
