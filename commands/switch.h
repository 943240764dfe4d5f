// SWITCH: tests the result of a procedure of the list being run and loads,
// runs and releases its "0" or "1" branch list.
#ifndef UPDATER_COMMANDS_SWITCH_H_
#define UPDATER_COMMANDS_SWITCH_H_

#include "base/text_string.h"
#include "commands/proc_record.h"

struct SWITCH_INFO : ProcRecord {
  TextString PROC;   // section name of the procedure tested
  TextString LIST0;  // key "0": the list run when its result is false
  TextString LIST1;  // key "1": the list run when its result is true
};

// Most lists loaded at once, the [UPDATER] PROC list included. A branch list
// that leads back to its own SWITCH nests one level per pass; at this depth
// the SWITCH reports MSG_BAD_SYMBOL with its own name and stops the run
// instead of running the stack out. A level costs about 100 bytes of stack
// (RunProcList and RunSwitch), a box at the innermost level about 26 KB
// (measured under Wine), so even a 1 MiB stack keeps almost all its room.
const int kMaxProcListDepth = 64;

ProcRecord* LoadSwitch(const char* name);
bool RunSwitch(ProcRecord* record);

// The name of the procedure a PROC value tests: the value without the blanks
// around it.
TextString TestedName(const TextString& proc);

#endif  // UPDATER_COMMANDS_SWITCH_H_
