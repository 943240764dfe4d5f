// The error box: every failure the updater reports is shown through here.
#ifndef UPDATER_SETTINGS_MESSAGES_H_
#define UPDATER_SETTINGS_MESSAGES_H_

#include <stdarg.h>

#include "base/text_string.h"
#include "platform/platform.h"

// Ids of the message templates in the executable's string table.
enum MessageId {
  MSG_FILE_NOT_FOUND = 1,   // the file path
  MSG_BAD_FORMAT = 2,       // section name, key name
  MSG_OUT_OF_MEMORY = 3,    // name of the object that could not be created
  MSG_BAD_ITEM_COUNT = 4,   // section name, key name
  MSG_PATH_FAILED = 5,      // a file name (kept in the table, never raised)
  MSG_BAD_SYMBOL = 6,       // the word or name not recognised
  MSG_COPY_FAILED = 8,      // source path, destination path
  MSG_LAUNCH_FAILED = 9,    // program path, its parameters
  MSG_DELETE_FAILED = 10,   // file path
  MSG_BAD_PROC_COUNT = 11,  // no arguments
  MSG_ATTR_FAILED = 12,     // file path, attribute value (unsigned)
  MSG_MAKEDIR_FAILED = 13,  // directory path
  MSG_ALREADY_RUNNING = 14,  // the updater's folder
  // program path, its exit code (unsigned), the same code again (shown in
  // hexadecimal)
  MSG_LAUNCH_EXIT_CODE = 15,
  // the file, its holders ("tool.exe (PID 120), ..."): asks Retry or Cancel
  MSG_FILE_IN_USE = 16,
  MSG_FILE_IN_USE_UNNAMED = 17,  // the file, when the system names nobody
  // the journal of a COPY cut off by an earlier run, which could not be
  // acted on
  MSG_JOURNAL_UNUSABLE = 18
};

enum MessageLanguage {
  kMessagesBySystem,  // Japanese where the user interface is, else English
  kMessagesJapanese,  // /LANG=ja
  kMessagesEnglish    // /LANG=en
};

// The language ShowError speaks from now on. kMessagesBySystem (the start)
// asks platform::UserInterfaceIsJapanese at the first message.
void SetMessageLanguage(MessageLanguage language);

// Whether the messages are English: the language set, or the system's.
bool MessagesInEnglish();

// The English template of message `id`: the same arguments as its Japanese
// one in the executable's string table, in the same order. Kept as ASCII
// in the program rather than beside the Japanese ones, where the string
// table would store it as UTF-16, twice the bytes. Null for an id without
// a message.
const char* EnglishTemplate(unsigned id);

// Caption of every message box, read each time a box is shown. Process-wide:
// start-up sets it from the command line, then from [UPDATER] NAME.
extern TextString AppCaption;

// Style of the error box: the error icon, one OK button.
const unsigned kErrorBoxStyle = platform::kMbIconError | platform::kMbOk;

// Takes the template of `id` (from the string table, or EnglishTemplate
// when MessagesInEnglish), formats it with the
// arguments (printf rules, cut at 1023 bytes) and shows it with ShowBox as an
// "error" box, or hands it to the error sink when one is set. Decides
// nothing: the caller returns failure.
// (`id` is a MessageId; it is taken as unsigned because va_start needs a
// parameter that default argument promotion leaves as it is.)
void ShowError(unsigned id, ...);

// ShowError(MSG_BAD_SYMBOL, symbol.Text()); false, for the caller to
// return.
bool ShowBadSymbol(const TextString& symbol);

// No box is shown from now on while `silent` (/SILENT, /VERYSILENT,
// /SUPPRESSMSGBOXES on the command line).
void SetSilentMode(bool silent);
bool SilentMode();

// The button a box of this MessageBoxA style answers with when Enter is
// pressed: its default button (MB_DEFBUTTON2 and so on).
int DefaultButton(unsigned style);

// A modal box with no owner, captioned with the current AppCaption: the
// button chosen, 0 when no box could be shown. In silent mode no box is
// shown and the answer is DefaultButton(style). Either way the box goes to
// the log, named by `kind` ("error", "MSGBOX"), with its caption, text and
// answer.
int ShowBox(const char* kind, const char* text, unsigned style);

// Receives every error message in place of the box: `text` as the box would
// show it, `args` the arguments as ShowError got them, in the order and of
// the types the id's comment above lists (read them with va_arg).
typedef void (*ErrorSink)(MessageId id, const char* text, va_list args);

// Routes ShowError to `sink` from now on; null restores the box.
void SetErrorSink(ErrorSink sink);

#endif  // UPDATER_SETTINGS_MESSAGES_H_
