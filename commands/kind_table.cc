#include "commands/kind_table.h"

#include "commands/attr.h"

namespace {

// Loading and running test the kinds in this order and take the first match.
// A kind not listed here is treated as naming no kind.
const ProcKind kProcKinds[] = {
    // EXIST, DATE, SWITCH, MSGBOX, COPY, LAUNCH, DELETE, LINK, OSVER, MAKEDIR
    {"ATTR", LoadAttr, RunAttr},
};

}  // namespace

const ProcKind* FindProcKind(const TextString& mode) {
  for (unsigned i = 0; i < sizeof kProcKinds / sizeof kProcKinds[0]; ++i)
    if (mode.Equals(kProcKinds[i].mode)) return &kProcKinds[i];
  return 0;
}
