// The checks of one loaded procedure's values, driven by the kind table
// (commands/kind_table.h): each key's items are checked by what the runner
// makes of them (its form) and how they go with the driving list's, then
// the markup of every value, then the lines of the section that are no keys
// its kind reads.
#ifndef UPDATER_CHECKER_KIND_CHECKS_H_
#define UPDATER_CHECKER_KIND_CHECKS_H_

#include <string>

#include "checker/context.h"
#include "commands/kind_table.h"

namespace checker {

// What the runner takes a key's items for, by its form.
enum PathUse {
  kNoPaths,
  kFile,           // one existing or new file
  kFolder,         // a folder, trailing backslash allowed
  kPattern,        // anything FindFirstFile matches
  kFolderPattern,  // a file, a folder, or "<folder>\*.*"
  kProgram         // a program, perhaps in quotes
};
PathUse PathUseOf(ValueForm form);

// `record` was loaded by its kind's loader from the section `record.name`.
void CheckProcedure(const Context& context, const ProcRecord& record);

// The lines of a procedure section of that kind that are no keys it reads:
// lines without "=", and keys the kind does not read (a misspelt key).
void CheckSectionKeys(const Context& context, const std::string& section,
                      const ProcKind& kind);

// [UPDATER]: its lines and the markup of NAME and PROC.
void CheckUpdaterSection(const Context& context, const TextString& name,
                         const TextString& proc);

// The box the runner shows when item `index` of the record fails: the
// kind's failure message with that item of its first key and, when its
// second key is paired, that item of the second. False for a kind whose
// items fail without a box.
bool ItemFailureBox(const ProcRecord& record, size_t index, Box* box);

}  // namespace checker

#endif  // UPDATER_CHECKER_KIND_CHECKS_H_
