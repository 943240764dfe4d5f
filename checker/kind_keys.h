// The keys each procedure kind reads after MODE, in the order its loader
// reads them: what a section of that kind must hold. A unit test holds this
// table to the loaders themselves.
#ifndef UPDATER_CHECKER_KIND_KEYS_H_
#define UPDATER_CHECKER_KIND_KEYS_H_

#include <string>

namespace checker {

struct KindKeys {
  const char* mode;
  const char* keys[4];
  int count;
};

// The kinds in the order MODE values are matched.
extern const KindKeys kKindKeys[];
extern const int kKindCount;

// The entry whose mode equals `mode` without regard to case; null for none.
const KindKeys* KindKeysOf(const std::string& mode);

}  // namespace checker

#endif  // UPDATER_CHECKER_KIND_KEYS_H_
