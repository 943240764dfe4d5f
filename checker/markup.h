// The markup of settings values as the checker sees it: symbol references
// and App Paths groups, found with the updater's own bracket walk and
// character steps (base/text_string.h, settings/expansion.h).
#ifndef UPDATER_CHECKER_MARKUP_H_
#define UPDATER_CHECKER_MARKUP_H_

#include <string>
#include <vector>

namespace checker {

// The "<name>" spans of a text (brackets included, no "<" or ">" inside), in
// order: every name a reference could be meant to be, whether or not the
// updater's walk takes it for a group.
std::vector<std::string> References(const std::string& text);

// One App Paths group as the updater looks it up.
struct AppPathsGroup {
  std::string whole;    // as written, braces included
  std::string program;  // the program's file name
  bool wantDefault;     // ?App: the full path; ?AppPath: the folder list
  std::string problem;  // "" for a group written as meant
};

// Every App Paths group of a text that the updater looks up, in order;
// `problems` receives one sentence for each lookup written so that the
// updater would leave it as written or replace more than meant (a wrong
// head, no program, text after the program, no closing brace, no "?", no
// braces at all, braces a stray "}" before them keeps from forming a
// group).
std::vector<AppPathsGroup> AppPathsGroups(const std::string& text,
                                          std::vector<std::string>* problems);

// Whether the updater takes two names for the same (TextString::Equals).
bool SameText(const std::string& a, const std::string& b);

// A key for maps of such names: two texts have the same key exactly when
// they are SameText (letters folded by platform/text_rules.h, nothing
// trimmed).
std::string FoldedKey(const std::string& text);

}  // namespace checker

#endif  // UPDATER_CHECKER_MARKUP_H_
