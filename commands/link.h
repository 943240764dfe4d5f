// LINK: saves shell links (shortcut files). A shortcut that cannot be saved
// ends the procedure without a message and without stopping the run; its
// result stays false, so a SWITCH on it can tell.
#ifndef UPDATER_COMMANDS_LINK_H_
#define UPDATER_COMMANDS_LINK_H_

#include "base/text_string.h"
#include "commands/proc_record.h"

struct SHORTCUT_INFO : ProcRecord {
  TextString SRC;      // link targets
  TextString PARAM;    // arguments per shortcut
  TextString SHOWCMD;  // 1 normal, 2 minimised, 3 maximised, else none set
  TextString DST;      // shortcut paths without ".LNK"
};

ProcRecord* LoadLink(const char* name);
bool RunLink(ProcRecord* record);

// The show command of a SHOWCMD number (1 normal, 2 minimised, 3
// maximised); 0 for any other number, which leaves the link object's
// default.
int ShowCommandFor(int show);

// Saves a link to `target` as `path` (extension included), with `arguments`
// and the working directory the target's folder. Shows no message.
bool CreateShortcut(const char* target, const char* path, const char* arguments,
                    int show);

#endif  // UPDATER_COMMANDS_LINK_H_
