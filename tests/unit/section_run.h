// Loads one procedure section with its kind's loader and runs the record, as
// the driver would, keeping what the tests look at.
#ifndef UPDATER_TESTS_UNIT_SECTION_RUN_H_
#define UPDATER_TESTS_UNIT_SECTION_RUN_H_

#include "commands/proc_record.h"

struct SectionRun {
  bool loaded;
  bool goesOn;  // what the executor answered
  bool result;  // the record's result flag afterwards
};

inline SectionRun LoadAndRun(ProcLoader load, ProcExecutor run,
                             const char* section) {
  SectionRun outcome = {false, false, false};
  ProcRecord* record = load(section);
  if (!record) return outcome;
  outcome.loaded = true;
  outcome.goesOn = run(record);
  outcome.result = record->result;
  delete record;
  return outcome;
}

#endif  // UPDATER_TESTS_UNIT_SECTION_RUN_H_
