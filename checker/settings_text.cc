#include "checker/settings_text.h"

namespace checker {

bool IsLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

bool SameName(const std::string& a, const std::string& b) {
  return platform::ProfileNamesEqual(a.data(), static_cast<unsigned>(a.size()),
                                     b.data(), static_cast<unsigned>(b.size()));
}

std::string TrimmedName(const std::string& name) {
  size_t begin = 0;
  size_t end = name.size();
  while (begin < end && static_cast<unsigned char>(name[begin]) <= 0x20) {
    ++begin;
  }
  while (end > begin && static_cast<unsigned char>(name[end - 1]) <= 0x20) {
    --end;
  }
  return name.substr(begin, end - begin);
}

SettingsText::SettingsText(const std::string& bytes) {
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
      if (section.first < 0 || entry.name.empty()) {
        section.first = static_cast<int>(sections_.size());
      }
      sections_.push_back(section);
    }
    entry.section = static_cast<int>(sections_.size()) - 1;
    lines_.push_back(entry);
  }
}

int SettingsText::FirstSection(const std::string& name) const {
  for (size_t i = 0; i < sections_.size(); ++i) {
    if (SameName(sections_[i].name, name)) return static_cast<int>(i);
  }
  return -1;
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
  // The empty name reads the lines before the first header, never a "[]".
  const int index = trimmed.empty() ? -1 : FirstSection(trimmed);
  if (index < 0 && !trimmed.empty()) return found;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].section == index &&
        lines_[i].kind != platform::ProfileLine::kHeader) {
      found.push_back(&lines_[i]);
    }
  }
  return found;
}

const TextLine* SettingsText::KeyLine(const std::string& section,
                                      const std::string& key) const {
  const std::vector<const TextLine*> lines = LinesOf(section);
  const std::string wanted = TrimmedName(key);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (SameName(lines[i]->name, wanted)) return lines[i];
  }
  return 0;
}

}  // namespace checker
