#include "checker/symbols_check.h"

#include <set>
#include <vector>

#include "app/process_state.h"
#include "app/startup.h"
#include "checker/markup.h"
#include "settings/expansion.h"
#include "settings/param_reader.h"
#include "settings/settings_reader.h"
#include "settings/symbol_table.h"

namespace checker {

namespace {

const char* const kTypicalFolders[kBuiltinSymbolCount] = {
    "C:\\Windows", "C:\\Windows\\system32", "C:\\Src",
    "C:\\Users\\Public\\Desktop",
    "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs"};

bool IsBuiltin(const std::string& name) {
  for (int i = 0; i < kBuiltinSymbolCount; ++i) {
    if (SameText(name, kBuiltinSymbolNames[i])) return true;
  }
  return false;
}

struct DefineEntry {
  std::string name;
  std::string value;
  unsigned line;
};

// The [DEFINE] lines the symbol table takes, in its order.
std::vector<DefineEntry> DefineEntries(const SettingsText& text) {
  std::vector<DefineEntry> entries;
  const std::vector<const TextLine*> lines = text.LinesOf("DEFINE");
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i]->name[0] == ';') continue;  // comment lines are left out
    DefineEntry entry = {lines[i]->name, lines[i]->value, lines[i]->number};
    entries.push_back(entry);
  }
  return entries;
}

bool FirstEntry(const std::vector<DefineEntry>& entries,
                const std::string& name, size_t* index) {
  for (size_t i = 0; i < entries.size(); ++i) {
    if (SameText(entries[i].name, name)) {
      *index = i;
      return true;
    }
  }
  return false;
}

void ReportAppPaths(const Context& context, unsigned line,
                    const std::string& section, const std::string& key,
                    const std::string& raw) {
  std::vector<std::string> problems;
  AppPathsGroups(raw, &problems);
  for (size_t i = 0; i < problems.size(); ++i) {
    context.findings->Add(line, section, key, kBadAppPaths, problems[i]);
  }
}

}  // namespace

bool DefineSymbols(bool here, const std::string& settingsPath) {
  if (here) {
    ModulePath.Set(settingsPath.c_str());
    return DefineBuiltinSymbols();
  }
  TextString typical[kBuiltinSymbolCount];
  for (int i = 0; i < kBuiltinSymbolCount; ++i)
    typical[i].Set(kTypicalFolders[i]);
  return LoadSymbolTable(SettingsPath.Text(), typical);
}

void CheckDefine(const Context& context) {
  const std::vector<DefineEntry> entries = DefineEntries(*context.text);
  for (size_t i = 0; i < entries.size(); ++i) {
    const DefineEntry& entry = entries[i];
    const std::string& name = entry.name;
    const bool bracketed =
        name.size() >= 2 && name[0] == '<' && name[name.size() - 1] == '>';
    if (!bracketed) {
      context.findings->Add(
          entry.line, "DEFINE", name, kDefineWithoutBrackets,
          Printf("a reference is written <%s>, so this name without angle "
                 "brackets is never reached",
                 name.c_str()));
    } else if (IsBuiltin(name)) {
      context.findings->Add(entry.line, "DEFINE", name, kDefineBuiltin,
                            Printf("%s is built in: this line does not "
                                   "change it",
                                   name.c_str()));
    }
    const std::vector<std::string> references = References(entry.value);
    std::set<std::string> seen;
    for (size_t r = 0; r < references.size(); ++r) {
      const std::string& reference = references[r];
      if (!seen.insert(NameKey(reference)).second) continue;
      size_t target = 0;
      const bool defined = FirstEntry(entries, reference, &target);
      if (SameText(reference, name)) {
        context.findings->Add(entry.line, "DEFINE", name, kDefineSelfReference,
                              Printf("refers to itself: %s stays in its value",
                                     reference.c_str()));
      } else if (defined && target > i && !IsBuiltin(reference) &&
                 !References(entries[target].value).empty()) {
        context.findings->Add(
            entry.line, "DEFINE", name, kDefineForwardReference,
            Printf("refers to %s, defined later (line %u) with references "
                   "of its own, which stay unexpanded here: define %s first",
                   reference.c_str(), entries[target].line, reference.c_str()));
      } else if (!defined && !IsBuiltin(reference)) {
        context.findings->Add(entry.line, "DEFINE", name, kUnknownSymbol,
                              Printf("%s names no symbol: it stays as written",
                                     reference.c_str()));
      }
    }
    ReportAppPaths(context, entry.line, "DEFINE", name, entry.value);
    TextString value;
    size_t first = 0;
    if (FirstEntry(entries, name, &first) && first == i &&
        FindSymbol(name.c_str(), &value) == kSymbolCut) {
      context.findings->Add(
          entry.line, "DEFINE", name, kDefineNotWhole,
          Printf("expanded, the value would grow past what the updater "
                 "expands (%d characters, or the table's limit): every value "
                 "that refers to %s is refused",
                 ExpansionLimit(static_cast<int>(entry.value.size())),
                 name.c_str()));
    }
  }
}

void CheckMarkup(const Context& context, const std::string& section,
                 const std::string& key, const std::string& raw,
                 const std::string& expanded, bool text) {
  const unsigned line = context.LineOf(section, key);
  ReportAppPaths(context, line, section, key, raw);
  const std::vector<std::string> references = References(expanded);
  std::set<std::string> seen;
  for (size_t r = 0; r < references.size(); ++r) {
    const std::string& reference = references[r];
    if (!seen.insert(NameKey(reference)).second) continue;
    TextString value;
    const bool known = LookupSymbol(reference.c_str(), &value);
    context.findings->Add(
        line, section, key, text ? kUnexpandedInText : kUnknownSymbol,
        known ? Printf("%s is a symbol but stays unexpanded here: a '>' "
                       "stands before it, or a symbol's value brought in "
                       "references of its own",
                       reference.c_str())
              : Printf("%s names no symbol: it stays as written",
                       reference.c_str()));
  }
}

}  // namespace checker
