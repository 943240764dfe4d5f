// A settings file's lines as Windows reads them (platform/profile_text.h),
// with the line each section and key stands on, for placing findings. Read
// and indexed once: every question is answered without walking the file.
#ifndef UPDATER_CHECKER_SETTINGS_TEXT_H_
#define UPDATER_CHECKER_SETTINGS_TEXT_H_

#include <map>
#include <string>
#include <vector>

#include "platform/profile_text.h"

namespace checker {

struct TextLine {
  platform::ProfileLine::Kind kind;
  unsigned number;
  std::string name;   // section name, key, or the whole line of a word
  std::string value;  // key lines only, quotes kept
  int section;        // index into Sections(); -1 before the first header
};

struct TextSection {
  std::string name;
  unsigned line;
  int first;  // index of the first section of this name: the one read
};

class SettingsText {
 public:
  explicit SettingsText(const std::string& bytes);

  const std::vector<TextLine>& Lines() const { return lines_; }
  const std::vector<TextSection>& Sections() const { return sections_; }

  // Whether Windows finds a section of that name (names trimmed, letter case
  // ignored). The empty name always exists: the lines before any header.
  bool HasSection(const std::string& name) const;
  // Line of the header Windows reads for `name`; 0 when there is none.
  unsigned SectionLine(const std::string& name) const;
  // The lines of the section Windows reads for `name`, in order.
  std::vector<const TextLine*> LinesOf(const std::string& name) const;
  // The line Windows reads for the key: the first line of that name in that
  // section (a key line, or a word that hides the key); null when none.
  const TextLine* KeyLine(const std::string& section,
                          const std::string& key) const;

 private:
  int FirstSection(const std::string& name) const;  // -1: before the headers

  std::vector<TextLine> lines_;
  std::vector<TextSection> sections_;
  std::map<std::string, int> firstSections_;  // by NameKey
  // The lines of each section (index + 1; 0 for the lines before any
  // header), and the first line of each name in it.
  std::vector<std::vector<int> > sectionLines_;
  std::vector<std::map<std::string, int> > sectionKeys_;
};

// Whether the profile functions take two names for the same.
bool SameName(const std::string& a, const std::string& b);

// The name with blanks and control characters trimmed, as the profile
// functions trim the names they are given.
std::string TrimmedName(const std::string& name);

// A key for sets and maps of names: trimmed, letters folded as the profile
// functions and the updater compare them (platform/text_rules.h).
std::string NameKey(const std::string& name);

}  // namespace checker

#endif  // UPDATER_CHECKER_SETTINGS_TEXT_H_
