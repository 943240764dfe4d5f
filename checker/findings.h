// What the checker found in one settings file, in the order of its lines.
#ifndef UPDATER_CHECKER_FINDINGS_H_
#define UPDATER_CHECKER_FINDINGS_H_

#include <string>
#include <vector>

#include "checker/codes.h"
#include "settings/messages.h"

namespace checker {

// The error box the updater would show for a finding: its message id and
// the texts it fills in, in order (numbers already formatted).
struct Box {
  MessageId id;
  std::vector<std::string> args;
};

// The box of `id` with one or two texts.
Box MakeBox(MessageId id, const std::string& a);
Box MakeBox(MessageId id, const std::string& a, const std::string& b);

struct Finding {
  unsigned line;        // 1-based
  std::string section;  // "" when the finding is about no section
  std::string key;      // "" when it is about no key
  Code code;
  std::string message;  // one line, English; file bytes in code page 932
  bool hasBox;
  Box box;
};

class Findings {
 public:
  // Adds a finding; an identical one (same line, code, section, key and
  // message: the same section reached through two lists) is kept once.
  void Add(unsigned line, const std::string& section, const std::string& key,
           Code code, const std::string& message);
  // As Add, with the updater's box for it.
  void AddWithBox(unsigned line, const std::string& section,
                  const std::string& key, Code code, const std::string& message,
                  const Box& box);

  // Sorted by line, then in the order they were found.
  std::vector<Finding> Sorted() const;

  int Count(Severity severity) const;
  bool Empty() const { return found_.empty(); }

  // Drops every finding for which `keep` answers false.
  template <class Keep>
  void KeepIf(Keep keep) {
    std::vector<Finding> kept;
    for (size_t i = 0; i < found_.size(); ++i) {
      if (keep(found_[i])) kept.push_back(found_[i]);
    }
    found_.swap(kept);
  }

 private:
  std::vector<Finding> found_;
};

// printf into a std::string.
std::string Printf(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

}  // namespace checker

#endif  // UPDATER_CHECKER_FINDINGS_H_
