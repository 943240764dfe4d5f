// The error boxes' English templates, by message id (see MessageId).
#include <string.h>

#include "settings/messages.h"

namespace {

// The zero byte that ends each template in the block.
#define UPDATER_END_OF_TEXT "\0"

// Each with the arguments of the Japanese template of its id, in order,
// one after the other, each ended by its zero byte; an id without a message
// has an empty text. One block: no table of pointers to relocate; a
// literal rather than an array, which at this length would be aligned to
// 32 bytes.
// clang-format off
const char* const kEnglish =
    /* 0: none */ UPDATER_END_OF_TEXT
    /* 1 */
    "File not found.\n\nFile: \"%s\"" UPDATER_END_OF_TEXT
    /* 2 */
    "The settings file's format is not right.\n\nSection: \"%s\"\n"
    "Parameter: \"%s\"" UPDATER_END_OF_TEXT
    /* 3 */
    "Out of memory.\n\nObject: \"%s\"" UPDATER_END_OF_TEXT
    /* 4 */
    "The number of items of a setting is not right.\n\n"
    "Section: \"%s\"\nParameter: \"%s\"" UPDATER_END_OF_TEXT
    /* 5 */
    "Getting the path failed.\n\nFile: \"%s\"" UPDATER_END_OF_TEXT
    /* 6 */
    "The symbol is not right.\n\nSymbol: \"%s\"" UPDATER_END_OF_TEXT
    /* 7: none */ UPDATER_END_OF_TEXT
    /* 8 */
    "Copying the file failed.\n\nFrom: \"%s\"\nTo: \"%s\"" UPDATER_END_OF_TEXT
    /* 9 */
    "Starting the application failed.\n\nFile: \"%s\"\n"
    "Parameters: \"%s\"" UPDATER_END_OF_TEXT
    /* 10 */
    "Deleting the file failed.\n\nFile: \"%s\"" UPDATER_END_OF_TEXT
    /* 11 */
    "The number of procedures is not right." UPDATER_END_OF_TEXT
    /* 12 */
    "Changing the file attributes failed.\n\nFile: \"%s\"\n"
    "Attributes: 0x%08X" UPDATER_END_OF_TEXT
    /* 13 */
    "Creating the directory failed.\n\nDirectory: \"%s\"" UPDATER_END_OF_TEXT
    /* 14 */
    "The update is already running.\n\nFolder: \"%s\"" UPDATER_END_OF_TEXT
    /* 15 */
    "The application returned an exit code that means failure.\n\n"
    "File: \"%s\"\nExit code: %u (0x%08X)" UPDATER_END_OF_TEXT
    /* 16 */
    "The file is being used by another program.\n\nFile: \"%s\"\n"
    "Programs in use: %s\n\n"
    "Close the programs and press [Retry]." UPDATER_END_OF_TEXT
    /* 17 */
    "The file is being used by another program.\n\nFile: \"%s\"\n\n"
    "Close the programs and press [Retry]." UPDATER_END_OF_TEXT
    /* 18 */
    "An earlier update was cut off and could not be rolled back.\n\n"
    "Journal: \"%s\"" UPDATER_END_OF_TEXT;
// clang-format on
const unsigned kEnglishCount = 19;

#undef UPDATER_END_OF_TEXT

}  // namespace

const char* EnglishTemplate(unsigned id) {
  if (id >= kEnglishCount) return 0;
  const char* text = kEnglish;
  for (; id > 0; --id) text += strlen(text) + 1;
  return *text ? text : 0;
}
