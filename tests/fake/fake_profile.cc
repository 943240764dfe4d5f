// GetPrivateProfileStringA / GetPrivateProfileSectionA over fake files,
// following the rules Windows applies (and Wine's conformance tests pin):
// lines end at CR or LF; lines, section names, keys and values are trimmed;
// names match without regard to case; only the first section of a name is
// searched and the first of duplicate keys wins.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/fake/fake_state.h"

namespace {

using fake::internal::IsLeadByte;
using fake::internal::Upper;

struct IniLine {
  std::string name;
  bool hasValue;  // the line had an "="
  std::string value;
};

struct IniSection {
  std::string name;
  std::vector<IniLine> lines;
};

// Blanks and control characters (the DOS end-of-file mark included).
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

std::string Trim(const std::string& text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

// Position of `c` outside double-byte characters (whose second byte may
// equal it), or npos.
size_t FindChar(const std::string& text, char c) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(text[i]))) {
      ++i;
    } else if (text[i] == c) {
      return i;
    }
  }
  return std::string::npos;
}

// Lines before the first header belong to a nameless section, which only
// the empty name reaches.
std::vector<IniSection> Parse(const std::string& text) {
  std::vector<IniSection> sections(1);
  size_t position = 0;
  while (position < text.size()) {
    size_t end = text.find_first_of("\r\n", position);
    if (end == std::string::npos) end = text.size();
    std::string line = Trim(text.substr(position, end - position));
    position = end + 1;
    if (line.empty()) continue;
    if (line[0] == '[') {
      size_t close = FindChar(line, ']');
      if (close != std::string::npos) {
        IniSection section;
        section.name = Trim(line.substr(1, close - 1));
        sections.push_back(section);
        continue;
      }
      // Without "]" the line is an ordinary one.
    }
    IniLine entry;
    size_t equals = FindChar(line, '=');
    entry.hasValue = equals != std::string::npos;
    if (entry.hasValue) {
      entry.name = Trim(line.substr(0, equals));
      entry.value = Trim(line.substr(equals + 1));
    } else {
      entry.name = line;
    }
    sections.back().lines.push_back(entry);
  }
  return sections;
}

// The settings file's text; false when it is missing or a directory. A bare
// file name is looked up in the Windows directory, as Windows does.
bool ReadIni(const char* file, std::string* text) {
  if (file == NULL || *file == '\0') return false;
  std::string path = file;
  if (FindChar(path, '\\') == std::string::npos &&
      FindChar(path, '/') == std::string::npos) {
    path = fake::internal::TheWorld().windowsDirectory + "\\" + path;
  }
  fake::internal::Node* node = fake::internal::Find(path);
  if (node == NULL || node->directory) return false;
  *text = node->contents;
  return true;
}

const IniSection* FirstSection(const std::vector<IniSection>& sections,
                               const std::string& name) {
  std::string wanted = Upper(name);
  for (size_t i = 0; i < sections.size(); ++i) {
    if (Upper(sections[i].name) == wanted) return &sections[i];
  }
  return NULL;
}

void NotModelled(const char* what) {
  fprintf(stderr, "fake platform: %s is not modelled\n", what);
  abort();
}

}  // namespace

namespace platform {

unsigned ProfileString(const char* section, const char* key,
                       const char* fallback, char* buffer, unsigned size,
                       const char* file) {
  if (buffer == NULL || size == 0) return 0;
  if (section == NULL || key == NULL) {
    NotModelled("listing section or key names");
  }
  // Trailing blanks of the default are dropped.
  std::string result = fallback != NULL ? fallback : "";
  while (!result.empty() && result[result.size() - 1] == ' ') {
    result.erase(result.size() - 1);
  }

  std::string text;
  if (ReadIni(file, &text)) {
    std::vector<IniSection> sections = Parse(text);
    const IniSection* found = FirstSection(sections, Trim(section));
    std::string wanted = Upper(Trim(key));
    if (found != NULL) {
      for (size_t i = 0; i < found->lines.size(); ++i) {
        const IniLine& line = found->lines[i];
        if (Upper(line.name) != wanted) continue;
        if (line.hasValue) result = line.value;
        break;  // the first line of that name decides
      }
    }
  }
  // A value (or default) in matching quotes comes back without them.
  if (result.size() >= 2 && (result[0] == '"' || result[0] == '\'') &&
      result[result.size() - 1] == result[0]) {
    result = result.substr(1, result.size() - 2);
  }
  return fake::internal::CopyCut(result, buffer, size);
}

unsigned ProfileSection(const char* section, char* buffer, unsigned size,
                        const char* file) {
  if (buffer == NULL || size == 0) return 0;
  if (section == NULL) NotModelled("listing section names");
  if (size < 2) {
    buffer[0] = '\0';
    return 0;
  }
  buffer[0] = buffer[1] = '\0';
  std::string text;
  if (!ReadIni(file, &text)) return 0;
  std::vector<IniSection> sections = Parse(text);
  const IniSection* found = FirstSection(sections, section);
  if (found == NULL) return 0;

  // Each line rebuilt from its trimmed parts and ended by a zero byte;
  // comment lines are left out.
  std::string list;
  for (size_t i = 0; i < found->lines.size(); ++i) {
    const IniLine& line = found->lines[i];
    if (!line.name.empty() && line.name[0] == ';') continue;
    list += line.name;
    if (line.hasValue) list += "=" + line.value;
    list += '\0';
  }
  if (list.size() + 1 >= size) {
    // Too small (a list that would fill the buffer exactly counts too): the
    // text is cut and closed by two zero bytes.
    memcpy(buffer, list.data(), size - 2);
    buffer[size - 2] = buffer[size - 1] = '\0';
    return size - 2;
  }
  memcpy(buffer, list.data(), list.size());
  buffer[list.size()] = '\0';
  return static_cast<unsigned>(list.size());
}

}  // namespace platform
