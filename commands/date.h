// DATE: tests whether installed files are older than a date. Its outcome is
// only its result flag: true when an update is due.
#ifndef UPDATER_COMMANDS_DATE_H_
#define UPDATER_COMMANDS_DATE_H_

#include "base/text_string.h"
#include "commands/proc_record.h"

struct DATE_INFO : ProcRecord {
  TextString FILE;  // files whose last-write dates are tested
  TextString DATE;  // "year/month/day", the year in full
};

ProcRecord* LoadDate(const char* name);
bool RunDate(ProcRecord* record);

// True when `file` can be opened (without sharing) and its last-write date in
// local time is on or after `date`. A file that cannot be opened, or whose
// time cannot be read, is not known to be current and gives false.
bool FileDateAtLeast(const char* file, const char* date);

#endif  // UPDATER_COMMANDS_DATE_H_
