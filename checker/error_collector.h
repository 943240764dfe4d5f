// Catches the updater's error messages while the checker runs its loaders:
// what would have been a box becomes a Box record here.
#ifndef UPDATER_CHECKER_ERROR_COLLECTOR_H_
#define UPDATER_CHECKER_ERROR_COLLECTOR_H_

#include <vector>

#include "checker/findings.h"

namespace checker {

// Routes ShowError to a list for as long as it lives; the box comes back
// when it goes. One at a time.
class ErrorCollector {
 public:
  ErrorCollector();
  ~ErrorCollector();

  // The boxes since the last Take, oldest first; the list is emptied.
  std::vector<Box> Take();

 private:
  std::vector<Box> boxes_;

  ErrorCollector(const ErrorCollector&);
  ErrorCollector& operator=(const ErrorCollector&);
};

}  // namespace checker

#endif  // UPDATER_CHECKER_ERROR_COLLECTOR_H_
