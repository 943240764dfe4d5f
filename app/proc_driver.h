// Loading procedure lists into records and running them, nested lists
// included.
#ifndef UPDATER_APP_PROC_DRIVER_H_
#define UPDATER_APP_PROC_DRIVER_H_

#include "base/text_string.h"
#include "commands/proc_record.h"

// A null-terminated array of records, owning them.
typedef ProcRecord** ProcList;

// Number of lists in the ProcListArray.
extern int ProcListCount;

// Loads, runs and releases the [UPDATER] PROC list.
bool RunUpdater();

// Loads every procedure named in `text` (`count` items for ","); on success
// the new list is added to the ProcListArray and is the current list. A bad
// section abandons the whole list: null after its message.
ProcList LoadProcList(const TextString& text, int count);

// Runs the records in order; false at the first executor that stops. The
// log shows each procedure as it starts (section, MODE, the values of its
// keys) and as it ends (its result).
bool RunProcList(ProcList list);

// LoadProcList, RunProcList, and FreeProcList once the run went through: a
// list that failed to run stays loaded until the end of the process.
bool LoadAndRunProcList(const TextString& text, int count);

// Destroys the list and its records and removes it from the ProcListArray;
// returns ProcListCount afterwards (0 for null).
int FreeProcList(ProcList list);

// Releases every loaded list, newest first.
void FreeAllProcLists();

// The newest list of the ProcListArray; null when it is empty.
ProcList CurrentProcList();

// The first record of `list` whose name equals `name`, letter case ignored.
ProcRecord* FindProcRecord(ProcList list, const char* name);

// Bookkeeping of the ProcListArray.
bool AddProcList(ProcList list);
int RemoveProcList(ProcList list);
ProcList ProcListAt(int index);

#endif  // UPDATER_APP_PROC_DRIVER_H_
