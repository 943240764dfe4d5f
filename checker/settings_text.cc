#include "checker/settings_text.h"

#include "platform/text_rules.h"

namespace checker {

bool SameName(const std::string& a, const std::string& b) {
  return platform::ProfileNamesEqual(a.data(), static_cast<unsigned>(a.size()),
                                     b.data(), static_cast<unsigned>(b.size()));
}

std::string TrimmedName(const std::string& name) {
  const char* begin = 0;
  const unsigned length = platform::TrimProfileName(
      name.data(), static_cast<unsigned>(name.size()), &begin);
  return std::string(begin, length);
}

std::string NameKey(const std::string& name) {
  std::string key = TrimmedName(name);
  if (!key.empty()) {
    platform::FoldTextCase(&key[0], static_cast<unsigned>(key.size()));
  }
  return key;
}

SettingsText::SettingsText(const std::string& bytes)
    : sectionLines_(1), sectionKeys_(1) {
  platform::ProfileScanner scanner(bytes.data(),
                                   static_cast<unsigned>(bytes.size()));
  platform::ProfileLine line;
  while (scanner.Next(&line)) {
    TextLine entry;
    entry.kind = line.kind;
    entry.number = line.number;
    entry.name.assign(line.name, line.nameLength);
    entry.value.assign(line.value, line.valueLength);
    if (line.kind == platform::ProfileLine::kHeader) {
      TextSection section;
      section.name = entry.name;
      section.line = line.number;
      section.first = FirstSection(entry.name);
      // The empty name reads the lines before the first header, never a
      // "[]".
      if (section.first < 0 || entry.name.empty()) {
        section.first = static_cast<int>(sections_.size());
        if (!entry.name.empty()) {
          firstSections_[NameKey(entry.name)] = section.first;
        }
      }
      sections_.push_back(section);
      sectionLines_.push_back(std::vector<int>());
      sectionKeys_.push_back(std::map<std::string, int>());
    }
    entry.section = static_cast<int>(sections_.size()) - 1;
    const int index = static_cast<int>(lines_.size());
    lines_.push_back(entry);
    if (entry.kind != platform::ProfileLine::kHeader) {
      sectionLines_[entry.section + 1].push_back(index);
      sectionKeys_[entry.section + 1].insert(
          std::make_pair(NameKey(entry.name), index));
    }
  }
}

int SettingsText::FirstSection(const std::string& name) const {
  std::map<std::string, int>::const_iterator found =
      firstSections_.find(NameKey(name));
  return found == firstSections_.end() ? -1 : found->second;
}

bool SettingsText::HasSection(const std::string& name) const {
  const std::string trimmed = TrimmedName(name);
  return trimmed.empty() || FirstSection(trimmed) >= 0;
}

unsigned SettingsText::SectionLine(const std::string& name) const {
  const std::string trimmed = TrimmedName(name);
  if (trimmed.empty()) return 0;
  const int index = FirstSection(trimmed);
  return index < 0 ? 0 : sections_[index].line;
}

std::vector<const TextLine*> SettingsText::LinesOf(
    const std::string& name) const {
  std::vector<const TextLine*> found;
  const std::string trimmed = TrimmedName(name);
  const int index = trimmed.empty() ? -1 : FirstSection(trimmed);
  if (index < 0 && !trimmed.empty()) return found;
  const std::vector<int>& lines = sectionLines_[index + 1];
  for (size_t i = 0; i < lines.size(); ++i) found.push_back(&lines_[lines[i]]);
  return found;
}

const TextLine* SettingsText::KeyLine(const std::string& section,
                                      const std::string& key) const {
  const std::string trimmed = TrimmedName(section);
  const int index = trimmed.empty() ? -1 : FirstSection(trimmed);
  if (index < 0 && !trimmed.empty()) return 0;
  const std::map<std::string, int>& keys = sectionKeys_[index + 1];
  std::map<std::string, int>::const_iterator found = keys.find(NameKey(key));
  return found == keys.end() ? 0 : &lines_[found->second];
}

}  // namespace checker
