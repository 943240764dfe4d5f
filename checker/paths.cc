#include "checker/paths.h"

#include "base/text_string.h"

namespace checker {

std::string Unquoted(const std::string& path) {
  if (path.size() >= 2 && path[0] == '"' && path[path.size() - 1] == '"') {
    return path.substr(1, path.size() - 2);
  }
  return path;
}

bool EndsWithBackslash(const std::string& path) {
  return WithoutTrailingBackslashes(path).size() != path.size();
}

std::string WithoutTrailingBackslashes(const std::string& path) {
  TextString trimmed(path.c_str());
  trimmed.Trim("", "\\");
  return trimmed.Text();
}

std::string ParentOf(const std::string& path) {
  TextString folder;
  if (!DirectoryOf(WithoutTrailingBackslashes(path).c_str(), &folder)) {
    return std::string();
  }
  return folder.Text();
}

bool IsFullPath(const std::string& path) {
  const std::string bare = Unquoted(path);
  const bool drive = bare.size() >= 3 &&
                     ((bare[0] >= 'A' && bare[0] <= 'Z') ||
                      (bare[0] >= 'a' && bare[0] <= 'z')) &&
                     bare[1] == ':' && bare[2] == '\\';
  return drive || bare.compare(0, 2, "\\\\") == 0;
}

bool HasWildcard(const std::string& path) {
  // "*" and "?" lie below 0x40: never the second byte of a character.
  return path.find_first_of("*?") != std::string::npos;
}

bool HasMarkup(const std::string& path) {
  // "{" may be the second byte of a character (ボ is 0x83 0x7B): only a
  // character of its own counts.
  const TextString text(path.c_str());
  return text.CountOf("<") != 0 || text.CountOf("{") != 0;
}

}  // namespace checker
