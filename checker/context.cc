#include "checker/context.h"

#include "checker/markup.h"
#include "commands/item_list.h"
#include "platform/platform.h"
#include "settings/expansion.h"
#include "settings/param_reader.h"
#include "settings/settings_reader.h"
#include "settings/symbol_table.h"

namespace checker {

namespace {

// The value of a line as the profile functions hand it out: without the
// quotes around it.
std::string Unquoted(const std::string& written) {
  if (written.size() >= 2 && (written[0] == '"' || written[0] == '\'') &&
      written[written.size() - 1] == written[0]) {
    return written.substr(1, written.size() - 2);
  }
  return written;
}

// Why a value that was read cannot be expanded whole.
std::string WhyNotExpanded(const std::string& key, const std::string& raw) {
  const std::vector<std::string> references = References(raw);
  for (size_t i = 0; i < references.size(); ++i) {
    TextString value;
    if (FindSymbol(references[i].c_str(), &value) == kSymbolCut) {
      return Printf(
          "%s refers to %s, whose value cannot be expanded whole: "
          "the updater refuses the key",
          key.c_str(), references[i].c_str());
    }
  }
  return Printf(
      "%s grows past %d characters when its markup is expanded: "
      "the updater refuses the key",
      key.c_str(), ExpansionLimit(static_cast<int>(raw.size())));
}

}  // namespace

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
                         &read)) {
    return false;
  }
  *value = read.Text();
  return true;
}

Refusal WhyRefused(const SettingsText& text, const std::string& section,
                   const std::string& key) {
  std::string raw;
  if (RawValue(section, key, &raw)) {
    const Refusal refusal = {kValueNotWhole, WhyNotExpanded(key, raw)};
    return refusal;
  }
  const TextLine* line = text.KeyLine(section, key);
  if (!line) {
    // "FILE C:\x": the "=" forgotten.
    const std::vector<const TextLine*> lines = text.LinesOf(section);
    for (size_t i = 0; i < lines.size() && !line; ++i) {
      const std::string& name = lines[i]->name;
      if (lines[i]->kind == platform::ProfileLine::kWord &&
          name.size() > key.size() &&
          SameName(name.substr(0, key.size()), key) &&
          platform::IsProfileBlank(name[key.size()])) {
        line = lines[i];
      }
    }
  }
  Refusal refusal = {kKeyMissing, std::string()};
  if (!line) {
    refusal.message = Printf("%s is missing", key.c_str());
  } else if (line->kind == platform::ProfileLine::kWord) {
    refusal.message =
        Printf("the line '%s' (line %u) has no '=': %s is missing",
               line->name.c_str(), line->number, key.c_str());
  } else if (SameText(Unquoted(line->value), kNoDataSentinel)) {
    refusal.message = Printf("%s reads '%s', which counts as missing",
                             key.c_str(), line->value.c_str());
  } else {
    refusal.code = kValueNotWhole;
    refusal.message = Printf(
        "the value has %d characters, more than the profile functions of %s "
        "read: the updater refuses the key",
        static_cast<int>(Unquoted(line->value).size()),
        platform::IsNtPlatform() ? "the NT family" : "Windows 95, 98 and Me");
  }
  return refusal;
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

}  // namespace checker
