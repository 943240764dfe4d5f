// The switches that deployment tools put on the command line. They are
// recognised without regard to case wherever they stand, from this list
// only:
//   /SILENT, /VERYSILENT, /SUPPRESSMSGBOXES   no box at all
//   /LOG                                      a new log in the temporary folder
//   /LOG=path, /LOG="path"                    a log appended to that file
//   /RESTARTEXITCODE=N                        the exit code of a run that
//                                             ended normally and needs a
//                                             restart (N an exit code as
//                                             commands/exit_code_list.h reads)
//   /LANG=ja, /LANG=en                        the table of the error boxes:
//                                             Japanese or English, whatever
//                                             the system's language
//   /WAIT=seconds                             how long a silent run waits for
//                                             a file another program holds
//                                             (decimal, 0 to 86400)
// Words are separated by blanks (0x20); a double quote keeps the blanks up
// to the next one inside the word, and the quotes are not part of it. Any
// other word means nothing here ("Setup /s" has no switch), and neither does
// a switch with a value it does not take ("/LANG=fr").
#ifndef UPDATER_APP_COMMAND_SWITCHES_H_
#define UPDATER_APP_COMMAND_SWITCHES_H_

#include "base/text_string.h"
#include "commands/file_in_use.h"
#include "settings/messages.h"

struct CommandSwitches {
  CommandSwitches() { SetDefaults(); }
  // Every switch as if the command line had none.
  void SetDefaults();

  bool silent;
  bool log;
  TextString logPath;  // the last /LOG's path; "" for the temporary folder
  bool restartCodeGiven;
  unsigned restartCode;      // the last /RESTARTEXITCODE's
  MessageLanguage language;  // the last /LANG's
  unsigned waitSeconds;      // the last /WAIT's
};

void ReadCommandSwitches(const char* commandLine, CommandSwitches* out);

// Whether the first word of the command line is one of the switches: it is
// then no caption.
bool FirstWordIsSwitch(const char* commandLine);

#endif  // UPDATER_APP_COMMAND_SWITCHES_H_
