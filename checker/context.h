// What every check of one settings file works with.
#ifndef UPDATER_CHECKER_CONTEXT_H_
#define UPDATER_CHECKER_CONTEXT_H_

#include <string>
#include <vector>

#include "base/text_string.h"
#include "checker/error_collector.h"
#include "checker/findings.h"
#include "checker/settings_text.h"

namespace checker {

struct Context {
  const SettingsText* text;
  Findings* findings;
  ErrorCollector* errors;
  bool here;  // examining the PC the updater will run on

  // The line of a key as Windows reads it; else its section's header; else
  // `fallback`.
  unsigned LineOf(const std::string& section, const std::string& key,
                  unsigned fallback = 1) const;
};

// The value of a key as written (not expanded), read through the same
// platform calls as the updater; false when the key is absent or NO_DATA,
// or its value cannot be read whole.
bool RawValue(const std::string& section, const std::string& key,
              std::string* value);

// Why the updater's reader refuses a key: the finding's code (U021 for a
// key Windows does not find, U016 for a value that cannot be read or
// expanded whole) and the sentence that says why.
struct Refusal {
  Code code;
  std::string message;
};
Refusal WhyRefused(const SettingsText& text, const std::string& section,
                   const std::string& key);

// The items of a comma-separated list, blanks trimmed, as the executors take
// them.
std::vector<std::string> ItemsOf(const TextString& list);
std::vector<std::string> ItemsOf(const std::string& list);

}  // namespace checker

#endif  // UPDATER_CHECKER_CONTEXT_H_
