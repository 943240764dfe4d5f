#include "commands/kind_table.h"

#include "commands/attr.h"
#include "commands/copy.h"
#include "commands/date.h"
#include "commands/delete.h"
#include "commands/exist.h"
#include "commands/launch.h"
#include "commands/link.h"
#include "commands/makedir.h"
#include "commands/msgbox.h"
#include "commands/osver.h"
#include "commands/switch.h"

namespace {

// Loading and running test the kinds in this order and take the first match.
// A kind not listed here is treated as naming no kind.
const ProcKind kProcKinds[] = {
    {"EXIST", LoadExist, RunExist},    {"DATE", LoadDate, RunDate},
    {"SWITCH", LoadSwitch, RunSwitch}, {"MSGBOX", LoadMsgbox, RunMsgbox},
    {"COPY", LoadCopy, RunCopy},       {"LAUNCH", LoadLaunch, RunLaunch},
    {"DELETE", LoadDelete, RunDelete}, {"LINK", LoadLink, RunLink},
    {"OSVER", LoadOsver, RunOsver},    {"MAKEDIR", LoadMakedir, RunMakedir},
    {"ATTR", LoadAttr, RunAttr},
};

}  // namespace

const ProcKind* FindProcKind(const TextString& mode) {
  for (unsigned i = 0; i < sizeof kProcKinds / sizeof kProcKinds[0]; ++i)
    if (mode.Equals(kProcKinds[i].mode)) return &kProcKinds[i];
  return 0;
}
