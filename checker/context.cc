#include "checker/context.h"

#include "commands/item_list.h"
#include "settings/param_reader.h"
#include "settings/settings_reader.h"

namespace checker {

unsigned Context::LineOf(const std::string& section, const std::string& key,
                         unsigned fallback) const {
  const TextLine* line = key.empty() ? 0 : text->KeyLine(section, key);
  if (line) return line->number;
  const unsigned header = text->SectionLine(section);
  return header != 0 ? header : fallback;
}

bool RawValue(const std::string& section, const std::string& key,
              std::string* value) {
  TextString read;
  if (!ReadSettingString(SettingsPath.Text(), section.c_str(), key.c_str(),
                         read)) {
    return false;
  }
  *value = read.Text();
  return true;
}

std::string WhyMissing(const SettingsText& text, const std::string& section,
                       const std::string& key) {
  const TextLine* line = text.KeyLine(section, key);
  if (!line) {
    // "FILE C:\x": the "=" forgotten.
    const std::vector<const TextLine*> lines = text.LinesOf(section);
    for (size_t i = 0; i < lines.size() && !line; ++i) {
      const std::string& name = lines[i]->name;
      if (lines[i]->kind == platform::ProfileLine::kWord &&
          name.size() > key.size() &&
          SameName(name.substr(0, key.size()), key) &&
          static_cast<unsigned char>(name[key.size()]) <= 0x20) {
        line = lines[i];
      }
    }
  }
  if (!line) return Printf("%s is missing", key.c_str());
  if (line->kind == platform::ProfileLine::kWord) {
    return Printf("the line '%s' (line %u) has no '=': %s is missing",
                  line->name.c_str(), line->number, key.c_str());
  }
  return Printf("%s reads '%s', which counts as missing", key.c_str(),
                line->value.c_str());
}

std::vector<std::string> ItemsOf(const TextString& list) {
  std::vector<std::string> items;
  const int count = list.ItemCount(",");
  for (int i = 0; i < count; ++i) items.push_back(ListItem(list, i).Text());
  return items;
}

std::vector<std::string> ItemsOf(const std::string& list) {
  return ItemsOf(TextString(list.c_str()));
}

std::string NameKey(const std::string& name) {
  std::string key = TrimmedName(name);
  for (size_t i = 0; i < key.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(key[i]))) {
      ++i;
    } else if (key[i] >= 'a' && key[i] <= 'z') {
      key[i] = static_cast<char>(key[i] - 'a' + 'A');
    }
  }
  return key;
}

}  // namespace checker
