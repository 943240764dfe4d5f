#include "checker/kind_keys.h"

#include "checker/markup.h"

namespace checker {

const KindKeys kKindKeys[] = {
    {"EXIST", {"FILE"}, 1},
    {"DATE", {"FILE", "DATE"}, 2},
    {"SWITCH", {"PROC", "0", "1"}, 3},
    {"MSGBOX", {"FLAG", "TYPE", "TEXT", "ISABORT"}, 4},
    {"COPY", {"FROM", "TO"}, 2},
    {"LAUNCH", {"FILE", "PARAM", "ISWAIT"}, 3},
    {"DELETE", {"FILE"}, 1},
    {"LINK", {"SRC", "PARAM", "SHOWCMD", "DST"}, 4},
    {"OSVER", {}, 0},
    {"MAKEDIR", {"DIR"}, 1},
    {"ATTR", {"FILE", "ARG"}, 2},
};
const int kKindCount = sizeof(kKindKeys) / sizeof(kKindKeys[0]);

const KindKeys* KindKeysOf(const std::string& mode) {
  for (int i = 0; i < kKindCount; ++i) {
    if (EqualsIgnoringCase(mode, kKindKeys[i].mode)) return &kKindKeys[i];
  }
  return 0;
}

}  // namespace checker
