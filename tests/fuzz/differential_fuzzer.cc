// Fuzz target: updater-check against the updater's own loading on the fake
// platform (tests/checker/differential.h). Each input is a settings file,
// judged for the NT family and for Windows 95, 98 and Me. Any disagreement
// aborts the run with its sentences.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/checker/differential.h"

namespace {

// Files of a few lists and a large [DEFINE] load in milliseconds; beyond
// this a run would measure the cost of loading instead of looking for
// disagreements.
const size_t kMaxInput = 65536;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kMaxInput) return 0;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  static const unsigned kFamilies[] = {platform::kPlatformWin32Nt,
                                       platform::kPlatformWin32Windows};
  bool agreed = true;
  for (size_t f = 0; f < sizeof kFamilies / sizeof kFamilies[0]; ++f) {
    const std::vector<std::string> problems =
        differential::Disagreements(bytes, kFamilies[f]);
    for (size_t i = 0; i < problems.size(); ++i) {
      fprintf(stderr, "disagreement (%s family): %s\n", f == 0 ? "NT" : "95",
              problems[i].c_str());
      agreed = false;
    }
  }
  if (!agreed) abort();
  return 0;
}
