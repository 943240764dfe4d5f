// The error boxes' English templates, by message id (see MessageId).
#include "settings/messages.h"

namespace {

// Each with the arguments of the Japanese template of its id, in order.
const char* const kEnglish[] = {
    /* 0 */ 0,
    /* 1 */ "File not found.\n\nFile: \"%s\"",
    /* 2 */
    "The settings file's format is not right.\n\nSection: \"%s\"\n"
    "Parameter: \"%s\"",
    /* 3 */ "Out of memory.\n\nObject: \"%s\"",
    /* 4 */
    "The number of items of a setting is not right.\n\n"
    "Section: \"%s\"\nParameter: \"%s\"",
    /* 5 */ "Getting the path failed.\n\nFile: \"%s\"",
    /* 6 */ "The symbol is not right.\n\nSymbol: \"%s\"",
    /* 7 */ 0,
    /* 8 */ "Copying the file failed.\n\nFrom: \"%s\"\nTo: \"%s\"",
    /* 9 */
    "Starting the application failed.\n\nFile: \"%s\"\n"
    "Parameters: \"%s\"",
    /* 10 */ "Deleting the file failed.\n\nFile: \"%s\"",
    /* 11 */ "The number of procedures is not right.",
    /* 12 */
    "Changing the file attributes failed.\n\nFile: \"%s\"\n"
    "Attributes: 0x%08X",
    /* 13 */ "Creating the directory failed.\n\nDirectory: \"%s\"",
    /* 14 */ "The update is already running.\n\nFolder: \"%s\"",
    /* 15 */
    "The application returned an exit code that means failure.\n\n"
    "File: \"%s\"\nExit code: %u (0x%08X)",
    /* 16 */
    "The file is being used by another program.\n\nFile: \"%s\"\n"
    "Programs in use: %s\n\nClose the programs and press [Retry].",
    /* 17 */
    "The file is being used by another program.\n\nFile: \"%s\"\n\n"
    "Close the programs and press [Retry].",
    /* 18 */
    "An earlier update was cut off and could not be rolled back.\n\n"
    "Journal: \"%s\"",
};

}  // namespace

const char* EnglishTemplate(unsigned id) {
  return id < sizeof kEnglish / sizeof kEnglish[0] ? kEnglish[id] : 0;
}
