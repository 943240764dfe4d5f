#include "checker/paths.h"

#include "checker/settings_text.h"

namespace checker {

std::string Unquoted(const std::string& path) {
  if (path.size() >= 2 && path[0] == '"' && path[path.size() - 1] == '"') {
    return path.substr(1, path.size() - 2);
  }
  return path;
}

bool EndsWithBackslash(const std::string& path) {
  bool last = false;
  for (size_t i = 0; i < path.size(); ++i) {
    last = path[i] == '\\';
    if (IsLeadByte(static_cast<unsigned char>(path[i]))) {
      ++i;
      last = false;
    }
  }
  return last;
}

std::string WithoutTrailingBackslashes(std::string path) {
  while (EndsWithBackslash(path)) path.erase(path.size() - 1);
  return path;
}

std::string ParentOf(const std::string& path) {
  const std::string whole = WithoutTrailingBackslashes(path);
  size_t last = std::string::npos;
  for (size_t i = 0; i < whole.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(whole[i]))) {
      ++i;
    } else if (whole[i] == '\\') {
      last = i;
    }
  }
  return last == std::string::npos ? std::string() : whole.substr(0, last);
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
  return path.find_first_of("<{") != std::string::npos;
}

}  // namespace checker
