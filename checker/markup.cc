#include "checker/markup.h"

#include "checker/findings.h"
#include "checker/settings_text.h"

namespace checker {

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }

bool StartsWithIgnoringCase(const std::string& text, size_t at,
                            const char* prefix) {
  for (size_t i = 0; prefix[i] != '\0'; ++i) {
    if (at + i >= text.size() || Upper(text[at + i]) != Upper(prefix[i])) {
      return false;
    }
  }
  return true;
}

// Offset of the next single-byte `c` at or after `from`, or npos.
size_t FindByte(const std::string& text, size_t from, char c) {
  for (size_t i = from; i < text.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(text[i]))) {
      ++i;
    } else if (text[i] == c) {
      return i;
    }
  }
  return std::string::npos;
}

struct Span {
  size_t begin;  // the "{"
  size_t end;    // one past the "}", or the text's end when unclosed
  bool closed;
};

// Top-level brace groups, nesting counted.
std::vector<Span> BraceGroups(const std::string& text) {
  std::vector<Span> groups;
  int depth = 0;
  Span current = {0, 0, false};
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(text[i]))) {
      ++i;
    } else if (text[i] == '{') {
      if (depth++ == 0) current.begin = i;
    } else if (text[i] == '}' && depth > 0 && --depth == 0) {
      current.end = i + 1;
      current.closed = true;
      groups.push_back(current);
    }
  }
  if (depth > 0) {
    current.end = text.size();
    current.closed = false;
    groups.push_back(current);
  }
  return groups;
}

// The group's text without its leading "{"s and trailing "}"s, as the
// updater strips it.
std::string Inside(const std::string& group) {
  size_t begin = 0;
  size_t end = group.size();
  while (begin < end && group[begin] == '{') ++begin;
  while (end > begin && group[end - 1] == '}') --end;
  return group.substr(begin, end - begin);
}

}  // namespace

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Upper(a[i]) != Upper(b[i])) return false;
  }
  return true;
}

std::vector<std::string> References(const std::string& text) {
  std::vector<std::string> found;
  size_t open = std::string::npos;
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(text[i]))) {
      ++i;
    } else if (text[i] == '<') {
      open = i;
    } else if (text[i] == '>' && open != std::string::npos) {
      found.push_back(text.substr(open, i - open + 1));
      open = std::string::npos;
    }
  }
  return found;
}

std::vector<AppPathsGroup> AppPathsGroups(const std::string& text,
                                          std::vector<std::string>* problems) {
  std::vector<AppPathsGroup> groups;
  const std::vector<Span> spans = BraceGroups(text);
  for (size_t g = 0; g < spans.size(); ++g) {
    const std::string whole =
        text.substr(spans[g].begin, spans[g].end - spans[g].begin);
    const std::string inside = Inside(whole);
    const bool lookup = !inside.empty() && inside[0] == '?';
    if (!lookup) {
      if (StartsWithIgnoringCase(inside, 0, "App\\") ||
          StartsWithIgnoringCase(inside, 0, "AppPath\\")) {
        problems->push_back(
            Printf("'%s' lacks the '?' of an App Paths lookup", whole.c_str()));
      }
      continue;
    }
    if (!spans[g].closed) {
      problems->push_back(Printf("'%s' has no closing '}': it stays as written",
                                 whole.c_str()));
      continue;
    }
    const size_t slash = FindByte(inside, 0, '\\');
    const std::string head = inside.substr(0, slash);
    AppPathsGroup group;
    group.whole = whole;
    group.wantDefault = EqualsIgnoringCase(head, "?App");
    if (!group.wantDefault && !EqualsIgnoringCase(head, "?AppPath")) {
      problems->push_back(
          Printf("'%s' is no App Paths lookup: write "
                 "{?App\\prog.exe} or {?AppPath\\prog.exe}",
                 whole.c_str()));
      continue;
    }
    const size_t second = slash == std::string::npos
                              ? std::string::npos
                              : FindByte(inside, slash + 1, '\\');
    group.program = slash == std::string::npos
                        ? std::string()
                        : inside.substr(slash + 1, second == std::string::npos
                                                       ? std::string::npos
                                                       : second - slash - 1);
    if (group.program.empty()) {
      problems->push_back(
          Printf("'%s' names no program: write %s\\prog.exe inside the braces",
                 whole.c_str(), head.c_str()));
      continue;
    }
    if (second != std::string::npos) {
      problems->push_back(
          Printf("'%s': the text after '%s' is replaced with the group; put it "
                 "after the '}'",
                 whole.c_str(), group.program.c_str()));
      continue;
    }
    groups.push_back(group);
  }
  // "?App\" outside any braces is plain text to the updater.
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(text[i]))) {
      ++i;
      continue;
    }
    if (text[i] != '?' || !(StartsWithIgnoringCase(text, i, "?App\\") ||
                            StartsWithIgnoringCase(text, i, "?AppPath\\"))) {
      continue;
    }
    bool inGroup = false;
    for (size_t g = 0; g < spans.size(); ++g) {
      inGroup = inGroup || (i > spans[g].begin && i < spans[g].end);
    }
    if (!inGroup) {
      const size_t comma = text.find(',', i);
      const std::string bare =
          text.substr(i, comma == std::string::npos ? comma : comma - i);
      problems->push_back(Printf("'%s' is not in braces: write {%s}",
                                 bare.c_str(), bare.c_str()));
    }
  }
  return groups;
}

}  // namespace checker
