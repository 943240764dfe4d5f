// The markup of settings values as the checker sees it: symbol references
// and App Paths groups. Scans are aware of double-byte characters, whose
// second byte may equal "{" or "}".
#ifndef UPDATER_CHECKER_MARKUP_H_
#define UPDATER_CHECKER_MARKUP_H_

#include <string>
#include <vector>

namespace checker {

// The "<name>" spans of a text (brackets included, no "<" or ">" inside), in
// order: the references a symbol could stand for.
std::vector<std::string> References(const std::string& text);

// One "{?App\prog}" or "{?AppPath\prog}" group written correctly.
struct AppPathsGroup {
  std::string whole;    // as written, braces included
  std::string program;  // the program's file name
  bool wantDefault;     // ?App: the full path; ?AppPath: the folder list
};

// The App Paths groups of a text; `problems` receives one sentence for each
// group written so that the updater would leave it as written (a wrong
// head, no program, text after the program, no closing brace, no "?", no
// braces at all).
std::vector<AppPathsGroup> AppPathsGroups(const std::string& text,
                                          std::vector<std::string>* problems);

// ASCII letters compared without regard to case, as TextString::Equals.
bool EqualsIgnoringCase(const std::string& a, const std::string& b);

}  // namespace checker

#endif  // UPDATER_CHECKER_MARKUP_H_
