// The error boxes' English templates, by message id (see MessageId).
#include <string.h>

#include "settings/messages.h"

namespace {

// Each with the arguments of the Japanese template of its id, in order,
// one after the other, each ended by its zero byte; an id without a message
// has an empty text. One block: no table of pointers to relocate.
const char kEnglish[] =
    /* 0 */
    "\0"
    /* 1 */
    "File not found.\n\nFile: \"%s\"\0"
    /* 2 */
    "The settings file's format is not right.\n\nSection: \"%s\"\n"
    "Parameter: \"%s\"\0"
    /* 3 */
    "Out of memory.\n\nObject: \"%s\"\0"
    /* 4 */
    "The number of items of a setting is not right.\n\n"
    "Section: \"%s\"\nParameter: \"%s\"\0"
    /* 5 */
    "Getting the path failed.\n\nFile: \"%s\"\0"
    /* 6 */
    "The symbol is not right.\n\nSymbol: \"%s\"\0"
    /* 7 */
    "\0"
    /* 8 */
    "Copying the file failed.\n\nFrom: \"%s\"\nTo: \"%s\"\0"
    /* 9 */
    "Starting the application failed.\n\nFile: \"%s\"\n"
    "Parameters: \"%s\"\0"
    /* 10 */
    "Deleting the file failed.\n\nFile: \"%s\"\0"
    /* 11 */
    "The number of procedures is not right.\0"
    /* 12 */
    "Changing the file attributes failed.\n\nFile: \"%s\"\n"
    "Attributes: 0x%08X\0"
    /* 13 */
    "Creating the directory failed.\n\nDirectory: \"%s\"\0"
    /* 14 */
    "The update is already running.\n\nFolder: \"%s\"\0"
    /* 15 */
    "The application returned an exit code that means failure.\n\n"
    "File: \"%s\"\nExit code: %u (0x%08X)\0"
    /* 16 */
    "The file is being used by another program.\n\nFile: \"%s\"\n"
    "Programs in use: %s\n\nClose the programs and press [Retry].\0"
    /* 17 */
    "The file is being used by another program.\n\nFile: \"%s\"\n\n"
    "Close the programs and press [Retry].\0"
    /* 18 */
    "An earlier update was cut off and could not be rolled back.\n\n"
    "Journal: \"%s\"\0";
const unsigned kEnglishCount = 19;

}  // namespace

const char* EnglishTemplate(unsigned id) {
  if (id >= kEnglishCount) return 0;
  const char* text = kEnglish;
  for (; id > 0; --id) text += strlen(text) + 1;
  return *text ? text : 0;
}
