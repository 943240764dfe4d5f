// The fake world itself and the path rules every fake operation shares.
#include "tests/fake/fake_state.h"

#include <string.h>

#include "platform/text_rules.h"

namespace fake {
namespace internal {

World& TheWorld() {
  static World world;
  static bool populated = false;
  if (!populated) {
    populated = true;  // first, so that Populate may use TheWorld()
    Populate();
  }
  return world;
}

bool IsLeadByte(unsigned char c) { return platform::IsLeadByte932(c); }

std::string Upper(const std::string& text) {
  std::string result = text;
  if (!result.empty()) {
    platform::FoldTextCase(&result[0], static_cast<unsigned>(result.size()));
  }
  return result;
}

namespace {

bool IsDriveLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Win32's folding of a name: one followed by a separator loses one
// trailing period ("sub..\x" is "sub.\x"); the last name of a path loses
// all its trailing periods and blanks ("a.txt. ." is "a.txt").
std::string FoldName(const std::string& name, bool last) {
  if (name == "." || name == "..") return name;
  size_t end = name.size();
  if (!last) {
    if (end > 0 && name[end - 1] == '.') --end;
  } else {
    while (end > 0 && (name[end - 1] == '.' || name[end - 1] == ' ')) --end;
  }
  return name.substr(0, end);
}

}  // namespace

bool ParsePath(const std::string& path, ParsedPath* parsed) {
  parsed->parts.clear();
  parsed->trailingBackslash = false;
  if (path.size() < 2 || !IsDriveLetter(path[0]) || path[1] != ':') {
    return false;
  }
  // Windows is never handed a path that is no code page 932 text.
  if (!platform::IsValidText932(path.data(),
                                static_cast<unsigned>(path.size()))) {
    return false;
  }
  if (path.size() > 2 && path[2] != '\\' && path[2] != '/') return false;
  parsed->parts.push_back(Upper(path.substr(0, 2)));
  std::string name;
  bool lastWasSeparator = false;
  for (size_t i = 2; i <= path.size(); ++i) {
    bool atEnd = i == path.size();
    unsigned char c = atEnd ? 0 : static_cast<unsigned char>(path[i]);
    if (!atEnd && IsLeadByte(c) && i + 1 < path.size()) {
      name += path.substr(i, 2);
      ++i;
      lastWasSeparator = false;
      continue;
    }
    if (atEnd || c == '\\' || c == '/') {
      std::string part = FoldName(name, atEnd);
      name.clear();
      if (part == "..") {
        if (parsed->parts.size() > 1) parsed->parts.pop_back();
      } else if (!part.empty() && part != ".") {
        parsed->parts.push_back(part);
      }
      if (!atEnd) lastWasSeparator = true;
      continue;
    }
    name += static_cast<char>(c);
    lastWasSeparator = false;
  }
  parsed->trailingBackslash = lastWasSeparator;
  return true;
}

std::string JoinKey(const std::vector<std::string>& parts, size_t count) {
  std::string key;
  for (size_t i = 0; i < count && i < parts.size(); ++i) {
    if (i > 0) key += '\\';
    key += Upper(parts[i]);
  }
  return key;
}

std::string KeyOf(const std::string& path) {
  ParsedPath parsed;
  if (!ParsePath(path, &parsed)) return std::string();
  return JoinKey(parsed.parts, parsed.parts.size());
}

Node* Find(const std::string& path) {
  ParsedPath parsed;
  if (!ParsePath(path, &parsed)) return NULL;
  World& world = TheWorld();
  std::map<std::string, Node>::iterator it =
      world.nodes.find(JoinKey(parsed.parts, parsed.parts.size()));
  if (it == world.nodes.end()) return NULL;
  if (parsed.trailingBackslash && !it->second.directory) return NULL;
  return &it->second;
}

bool ExistingParent(const std::string& path, std::string* parentKey,
                    std::string* name) {
  ParsedPath parsed;
  if (!ParsePath(path, &parsed) || parsed.parts.size() < 2) return false;
  std::string key = JoinKey(parsed.parts, parsed.parts.size() - 1);
  World& world = TheWorld();
  std::map<std::string, Node>::iterator it = world.nodes.find(key);
  if (it == world.nodes.end() || !it->second.directory) return false;
  *parentKey = key;
  *name = parsed.parts.back();
  return true;
}

unsigned CopyCut(const std::string& text, char* buffer, unsigned size) {
  if (size == 0) return 0;
  size_t length = text.size();
  if (length > size - 1) length = size - 1;
  memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
  return static_cast<unsigned>(length);
}

bool CountCall() {
  World& world = TheWorld();
  const unsigned call = ++world.countedCalls;
  if (world.lastLiveCall != 0 && call > world.lastLiveCall)
    return Fail(kErrorOperationAborted);
  const std::map<unsigned, unsigned>::const_iterator failing =
      world.failingCalls.find(call);
  return failing == world.failingCalls.end() || Fail(failing->second);
}

bool Fail(unsigned code) {
  TheWorld().lastErrorCode = code;
  return false;
}

unsigned MissingCode(const std::string& path) {
  std::string parentKey;
  std::string name;
  return ExistingParent(path, &parentKey, &name) ? kErrorFileNotFound
                                                 : kErrorPathNotFound;
}

size_t WideLength(const std::string& text) {
  size_t units = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(text[i])) &&
        i + 1 < text.size()) {
      ++i;
    }
    ++units;
  }
  return units;
}

}  // namespace internal
}  // namespace fake
