// The checks of one loaded procedure's values, by its kind: list lengths,
// the forms of numbers, dates and words, paths, markup, and the lines of its
// section that are no keys it reads.
#ifndef UPDATER_CHECKER_KIND_CHECKS_H_
#define UPDATER_CHECKER_KIND_CHECKS_H_

#include "checker/context.h"
#include "commands/proc_record.h"

namespace checker {

// `record` was loaded by its kind's loader from the section `record.name`.
void CheckProcedure(const Context& context, const ProcRecord& record);

// The lines of a procedure section of that kind that are no keys it reads:
// lines without "=", and keys the kind does not read (a misspelt key).
void CheckSectionKeys(const Context& context, const std::string& section,
                      const std::string& mode);

// [UPDATER]: its lines and the markup of NAME and PROC.
void CheckUpdaterSection(const Context& context, const TextString& name,
                         const TextString& proc);

}  // namespace checker

#endif  // UPDATER_CHECKER_KIND_CHECKS_H_
