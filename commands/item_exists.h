// The existence test of EXIST and MAKEDIR items.
#ifndef UPDATER_COMMANDS_ITEM_EXISTS_H_
#define UPDATER_COMMANDS_ITEM_EXISTS_H_

#include "base/text_string.h"

// FileExists, and also true for a directory named with trailing backslashes
// ("C:\App\"), which a directory search never matches by itself.
bool ItemExists(const TextString& item);

#endif  // UPDATER_COMMANDS_ITEM_EXISTS_H_
