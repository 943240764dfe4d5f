// Paths as the checker looks at them: code page 932 text, where the second
// byte of a double-byte character may be a backslash. Every split is the
// updater's own (base/text_string.h).
#ifndef UPDATER_CHECKER_PATHS_H_
#define UPDATER_CHECKER_PATHS_H_

#include <string>

namespace checker {

// Without the double quotes around it, if it has both.
std::string Unquoted(const std::string& path);

// Whether the last character is a backslash of its own.
bool EndsWithBackslash(const std::string& path);
std::string WithoutTrailingBackslashes(const std::string& path);

// The folder part (DirectoryOf), trailing backslashes removed first; ""
// when none.
std::string ParentOf(const std::string& path);

// "X:\..." or "\\server\...", quotes aside.
bool IsFullPath(const std::string& path);

bool HasWildcard(const std::string& path);

// Whether markup ("<" or "{") is left in a value after expansion.
bool HasMarkup(const std::string& path);

}  // namespace checker

#endif  // UPDATER_CHECKER_PATHS_H_
