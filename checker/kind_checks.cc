#include "checker/kind_checks.h"

#include <vector>

#include "checker/markup.h"
#include "checker/paths.h"
#include "checker/symbols_check.h"
#include "commands/item_list.h"
#include "commands/link.h"
#include "commands/msgbox.h"

namespace checker {

namespace {

// A list key of a record: its items as loaded, and the same items as
// written for messages, where the written value has as many (a symbol may
// bring in commas).
struct List {
  const ProcKey* key;
  std::vector<std::string> items;
  std::vector<std::string> shown;
  unsigned line;
};

List ListOf(const Context& context, const ProcRecord& record,
            const ProcKey& key) {
  List list;
  list.key = &key;
  const TextString* value = KeyText(record, key);
  if (value) list.items = ItemsOf(*value);
  std::string raw;
  RawValue(record.name.Text(), key.key, &raw);
  const std::vector<std::string> written = ItemsOf(raw);
  list.shown = written.size() == list.items.size() ? written : list.items;
  list.line = context.LineOf(record.name.Text(), key.key);
  return list;
}

const char* Plural(size_t count) { return count == 1 ? "" : "s"; }

// scanf "%d" would read the whole item: a sign and digits only.
bool IsNumber(const std::string& item) {
  size_t i = item.size() > 0 && (item[0] == '-' || item[0] == '+') ? 1 : 0;
  if (i >= item.size()) return false;
  for (; i < item.size(); ++i) {
    if (item[i] < '0' || item[i] > '9') return false;
  }
  return true;
}

bool IsHexForm(const std::string& item) {
  if (item.size() < 3 || item.size() > 10 || item.compare(0, 2, "0x") != 0) {
    return false;
  }
  return item.find_first_not_of("0123456789abcdefABCDEF", 2) ==
         std::string::npos;
}

int ToInt(const std::string& text) { return TextString(text.c_str()).ToInt(); }

// Texts may hold "<" and ">" meant as they are; paths and lists may not.
bool IsTextForm(ValueForm form) {
  return form == kParameters || form == kBoxText;
}

// One procedure's checks: the lists of its keys and the findings on them.
class ProcedureChecks {
 public:
  ProcedureChecks(const Context& context, const ProcRecord& record)
      : context_(context),
        record_(record),
        kind_(*record.kind),
        name_(record.name.Text()),
        mode_(kind_.mode),
        driving_(0) {
    lists_.reserve(kind_.keyCount);
    for (int k = 0; k < kind_.keyCount; ++k) {
      lists_.push_back(ListOf(context, record, kind_.keys[k]));
    }
    for (size_t k = 0; k < lists_.size(); ++k) {
      if (lists_[k].key->pairing == kDriving) driving_ = &lists_[k];
    }
  }

  void Run();

 private:
  void Add(const List& list, Code code, const std::string& message) {
    context_.findings->Add(list.line, name_, list.key->key, code, message);
  }
  void AddWithBox(const List& list, Code code, const std::string& message,
                  const Box& box) {
    context_.findings->AddWithBox(list.line, name_, list.key->key, code,
                                  message, box);
  }
  size_t Count() const { return driving_ ? driving_->items.size() : 0; }

  bool CheckDriving();
  void CheckPairing(const List& list);
  void CheckPaths(const List& list, PathUse use);
  void CheckItems(const List& list);
  void CheckValue(const List& list);
  void CheckFolders(const List& list);
  void CheckPrograms(const List& list);
  void CheckDate(const List& list);
  void CheckWait(const List& list);
  void CheckAnswers(const List& list);
  void CheckConditionalKeys();

  const Context& context_;
  const ProcRecord& record_;
  const ProcKind& kind_;
  const std::string name_;
  const char* mode_;
  std::vector<List> lists_;  // never grown once made
  const List* driving_;
};

// The driving list of an item walk: empty stops the updater.
bool ProcedureChecks::CheckDriving() {
  if (!driving_ || !driving_->items.empty()) return driving_ != 0;
  AddWithBox(*driving_, kEmptyList,
             Printf("%s is empty: the updater stops at this procedure",
                    driving_->key->key),
             MakeBox(MSG_BAD_ITEM_COUNT, name_,
                     kind_.countNamesKind ? kind_.mode : driving_->key->key));
  return false;
}

void ProcedureChecks::CheckPairing(const List& list) {
  const size_t n = Count();
  const size_t m = list.items.size();
  const char* drivingKey = driving_->key->key;
  if (m < n) {
    if (list.key->pairing == kPairedOrFails) {
      Box box;
      ItemFailureBox(record_, m, &box);
      AddWithBox(list, kShortPairedList,
                 Printf("%d item%s for %d in %s: '%s' would be %s an empty "
                        "name, which fails",
                        static_cast<int>(m), Plural(m), static_cast<int>(n),
                        drivingKey, driving_->shown[m].c_str(),
                        list.key->form == kDestinationFiles ? "copied to"
                                                            : "paired with"),
                 box);
    } else if (list.key->pairing == kPairedOrQuietEnd) {
      Add(list, kShortPairedList,
          Printf("%d item%s for %d in %s: the shortcut to '%s' would be "
                 "saved as '.LNK' and the procedure ends there",
                 static_cast<int>(m), Plural(m), static_cast<int>(n),
                 drivingKey, driving_->shown[m].c_str()));
    } else if (list.key->pairing == kPairedOrZero) {
      Add(list, kShortArgList,
          Printf("%d item%s for %d in %s: the files without one get the "
                 "attributes 0 (none)",
                 static_cast<int>(m), Plural(m), static_cast<int>(n),
                 drivingKey));
    }
  } else if (m > n) {
    // A list whose items go with the driving list's: extra items are
    // ignored.
    Add(list, kLongPairedList,
        Printf("%d items for %d in %s: the last %d %s ignored",
               static_cast<int>(m), static_cast<int>(n), drivingKey,
               static_cast<int>(m - n), m - n == 1 ? "is" : "are"));
  }
}

void ProcedureChecks::CheckPaths(const List& list, PathUse use) {
  if (use == kNoPaths) return;
  for (size_t i = 0; i < Count() && i < list.items.size(); ++i) {
    const std::string& shown = list.shown[i];
    const std::string item =
        use == kProgram ? Unquoted(list.items[i]) : list.items[i];
    const int number = static_cast<int>(i) + 1;
    if (item.empty()) {
      Add(list, kEmptyPathItem,
          Printf("item %d is empty: %s has no path to work on", number, mode_));
      continue;
    }
    if (HasMarkup(item)) continue;  // the markup check speaks for it
    const bool folderPattern =
        use == kFolderPattern &&
        TextString(item.c_str()).Item(-1, "\\").Equals("*.*");
    if (HasWildcard(item) && use != kPattern && !folderPattern) {
      Add(list, kWildcard,
          use == kFolderPattern
              ? Printf("item %d '%s' holds a wildcard: only a last part "
                       "'*.*' stands for the files of a folder, any other "
                       "pattern fails",
                       number, shown.c_str())
              : Printf("item %d '%s' holds a wildcard: %s takes it as a "
                       "plain name, which no file has",
                       number, shown.c_str(), mode_));
    } else if (use == kFile && EndsWithBackslash(item)) {
      Add(list, kWildcard,
          Printf("item %d '%s' names a folder: %s needs a file", number,
                 shown.c_str(), mode_));
    }
    if (!IsFullPath(item) && !(use == kProgram && ParentOf(item).empty())) {
      Add(list, kRelativePath,
          Printf("item %d '%s' is no full path: it is taken from the "
                 "updater's working directory, not its folder; write "
                 "<Src>\\...",
                 number, shown.c_str()));
    }
  }
}

// One level per item: a parent listed later does not exist yet.
void ProcedureChecks::CheckFolders(const List& list) {
  for (size_t i = 0; i < list.items.size(); ++i) {
    const std::string parent = ParentOf(list.items[i]);
    for (size_t j = i + 1; j < list.items.size() && !parent.empty(); ++j) {
      if (!SameText(WithoutTrailingBackslashes(list.items[j]), parent)) {
        continue;
      }
      Add(list, kChildBeforeParent,
          Printf("item %d '%s' comes before its parent '%s' (item %d): "
                 "each item makes one level, so list the parent first",
                 static_cast<int>(i) + 1, list.shown[i].c_str(),
                 list.shown[j].c_str(), static_cast<int>(j) + 1));
      break;
    }
  }
}

// The runner starts a program only from its folder.
void ProcedureChecks::CheckPrograms(const List& list) {
  for (size_t i = 0; i < list.items.size(); ++i) {
    const std::string bare = Unquoted(list.items[i]);
    TextString folder;
    if (bare.empty() || HasMarkup(bare) ||
        (FolderOf(bare.c_str(), &folder) &&
         bare.find('"') == std::string::npos)) {
      continue;
    }
    Box box;
    ItemFailureBox(record_, i, &box);
    AddWithBox(list, kLaunchWithoutFolder,
               Printf("item %d '%s' has no folder: the updater starts a "
                      "program only by its full path",
                      static_cast<int>(i) + 1, list.shown[i].c_str()),
               box);
  }
}

int DaysIn(int month, int year) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

void ProcedureChecks::CheckDate(const List& list) {
  const TextString date(KeyText(record_, *list.key)->Text());
  const int parts = date.ItemCount("/");
  bool numbers = parts == 3;
  for (int i = 0; i < parts && numbers; ++i) {
    TextString part = date.Item(i, "/");
    part.Trim(" ");
    numbers =
        IsNumber(part.Text()) && part.Text()[0] != '-' && part.Text()[0] != '+';
  }
  const int year = date.Item(0, "/").ToInt();
  const int month = date.Item(1, "/").ToInt();
  const int day = date.Item(2, "/").ToInt();
  if (!numbers) {
    Add(list, kBadDate,
        Printf("'%s' is not year/month/day in numbers: the updater reads "
               "%d/%d/%d",
               date.Text(), year, month, day));
  } else if (year < 100) {
    Add(list, kShortYear,
        Printf("'%s' has a two-digit year: the updater reads the year %d, "
               "so every file counts as current; write the year in full",
               date.Text(), year));
  } else if (month < 1 || month > 12 || day < 1 || day > DaysIn(month, year)) {
    Add(list, kBadDate, Printf("'%s' is no day of the calendar", date.Text()));
  } else if (year < 1601) {
    Add(list, kBadDate,
        Printf("'%s' lies before any file's date: every file counts as "
               "current",
               date.Text()));
  }
}

void ProcedureChecks::CheckWait(const List& list) {
  std::string wait;
  if (!RawValue(name_, list.key->key, &wait) || IsNumber(wait)) return;
  Add(list, kNotANumber,
      Printf("'%s' is not a number: the updater %s", wait.c_str(),
             record_.*list.key->field.number != 0
                 ? "waits until each program ends"
                 : "waits only until each program is ready"));
}

void ProcedureChecks::CheckAnswers(const List& list) {
  for (size_t i = 0; i < list.items.size() && i < 2; ++i) {
    const std::string& item = list.items[i];
    if (item.empty() || IsNumber(item)) continue;
    Add(list, kNotANumber,
        Printf("item %d '%s' is not a number: the updater reads %d",
               static_cast<int>(i) + 1, list.shown[i].c_str(), ToInt(item)));
  }
  if (list.items.size() > 2) {
    Add(list, kLongPairedList,
        "items after the second are ignored: the first is for OK or Yes, the "
        "second for No");
  }
}

// The items of a key in an item walk, as its form reads them.
void ProcedureChecks::CheckItems(const List& list) {
  const ProcKey& key = *list.key;
  if (key.pairing != kDriving && key.pairing != kUnpaired) {
    CheckPairing(list);
  }
  if (key.form == kPrograms) CheckPrograms(list);
  for (size_t i = 0; i < list.items.size() && i < Count(); ++i) {
    const std::string& item = list.items[i];
    const int number = static_cast<int>(i) + 1;
    if (key.form == kAttributes && !IsHexForm(item)) {
      Add(list, kAttrNotHex,
          Printf("item %d '%s' is not written 0x and hexadecimal digits "
                 "(such as 0x21): the updater uses 0",
                 number, list.shown[i].c_str()));
    } else if (key.form == kShowCommands && !item.empty() &&
               (!IsNumber(item) ||
                (ToInt(item) != 0 && ShowCommandFor(ToInt(item)) == 0))) {
      Add(list, kBadShowCommand,
          Printf("item %d '%s' sets no show command: 1 normal, 2 minimised, "
                 "3 maximised",
                 number, list.shown[i].c_str()));
    }
  }
  CheckPaths(list, PathUseOf(key.form));
  if (key.form == kFolders) CheckFolders(list);
}

// A key read as a whole, not as items of the driving list.
void ProcedureChecks::CheckValue(const List& list) {
  switch (list.key->form) {
    case kDate:
      CheckDate(list);
      break;
    case kWaitMode:
      CheckWait(list);
      break;
    case kAnswers:
      CheckAnswers(list);
      break;
    case kBoxType: {
      const TextString& type = *KeyText(record_, *list.key);
      if (MsgboxStyle(type) != 0) break;
      AddWithBox(list, kBadMsgboxType,
                 Printf("'%s' is none of ERROR, INFORMATION, WARNING, "
                        "QUESTION",
                        type.Text()),
                 MakeBox(MSG_BAD_SYMBOL, type.Text()));
      break;
    }
    default:
      break;
  }
}

void ProcedureChecks::Run() {
  const bool walks = CheckDriving();
  for (size_t k = 0; k < lists_.size(); ++k) {
    if (lists_[k].key->pairing == kUnpaired) {
      CheckValue(lists_[k]);
    } else if (walks) {
      CheckItems(lists_[k]);
    }
  }
  std::string raw;
  RawValue(name_, "MODE", &raw);
  CheckMarkup(context_, name_, "MODE", raw, record_.mode.Text(), false);
  for (size_t k = 0; k < lists_.size(); ++k) {
    const ProcKey& key = *lists_[k].key;
    const TextString* value = KeyText(record_, key);
    if (!value) continue;  // a number: not expanded
    RawValue(name_, key.key, &raw);
    CheckMarkup(context_, name_, key.key, raw, value->Text(),
                IsTextForm(key.form));
  }
  CheckSectionKeys(context_, name_, kind_);
  CheckConditionalKeys();
}

// Keys read only where an earlier number is not 0, written where it is 0.
void ProcedureChecks::CheckConditionalKeys() {
  for (int k = 0; k < kind_.keyCount; ++k) {
    const ProcKey& key = kind_.keys[k];
    if (key.readIfNonZero == kAlwaysRead) continue;
    const ProcKey& number = kind_.keys[key.readIfNonZero];
    std::string raw;
    if (record_.*number.field.number != 0 || !RawValue(name_, key.key, &raw)) {
      continue;
    }
    context_.findings->Add(
        context_.LineOf(name_, key.key), name_, key.key, kExitCodesUnread,
        Printf("%s is never read: it is read only where %s is not 0, and "
               "%s is 0 here, so no exit code is judged",
               key.key, number.key, number.key));
  }
}

// Lines of a section that are not keys the section's reader takes.
void CheckSectionLines(const Context& context, const std::string& section,
                       const char* reader,
                       const std::vector<std::string>& keys) {
  const std::vector<const TextLine*> lines = context.text->LinesOf(section);
  for (size_t i = 0; i < lines.size(); ++i) {
    const TextLine& line = *lines[i];
    // Comments, and "[" lines the header check reports.
    if (line.name[0] == ';' || line.name[0] == '[') continue;
    if (line.kind == platform::ProfileLine::kWord) {
      context.findings->Add(
          line.number, section, "", kLineWithoutEquals,
          Printf("'%s' has no '=': it is no key", line.name.c_str()));
      continue;
    }
    bool read = false;
    std::string known;
    for (size_t k = 0; k < keys.size(); ++k) {
      read = read || SameName(line.name, keys[k]);
      if (keys[k] == "MODE") continue;
      known += known.empty() ? "" : ", ";
      known += keys[k];
    }
    if (read) continue;
    context.findings->Add(
        line.number, section, line.name, kUnreadKey,
        Printf("%s reads no key %s%s%s", reader, line.name.c_str(),
               known.empty() ? "" : ": it reads ", known.c_str()));
  }
}

}  // namespace

PathUse PathUseOf(ValueForm form) {
  switch (form) {
    case kSourceFiles:
    case kDestinationFiles:
    case kDeletedFiles:
    case kDatedFiles:
    case kShortcuts:
      return kFile;
    case kPatterns:
      return kPattern;
    case kFolders:
      return kFolder;
    case kAttributeTargets:
      return kFolderPattern;
    case kPrograms:
    case kLinkTargets:
      return kProgram;
    default:
      return kNoPaths;
  }
}

bool ItemFailureBox(const ProcRecord& record, size_t index, Box* box) {
  const ProcKind& kind = *record.kind;
  if (kind.failure == 0 || kind.keyCount == 0) return false;
  box->id = static_cast<MessageId>(kind.failure);
  box->args.clear();
  for (int k = 0; k < kind.keyCount && k < 2; ++k) {
    const ProcKey& key = kind.keys[k];
    if (k == 1 && (key.pairing == kUnpaired || key.pairing == kDriving)) break;
    const std::vector<std::string> items = ItemsOf(*KeyText(record, key));
    const std::string item = index < items.size() ? items[index] : "";
    box->args.push_back(
        key.form == kAttributes
            ? Printf("0x%08X",
                     static_cast<unsigned>(TextString(item.c_str()).HexToInt()))
            : item);
  }
  return true;
}

void CheckProcedure(const Context& context, const ProcRecord& record) {
  ProcedureChecks(context, record).Run();
}

void CheckSectionKeys(const Context& context, const std::string& section,
                      const ProcKind& kind) {
  std::vector<std::string> keys(1, "MODE");
  for (int i = 0; i < kind.keyCount; ++i) keys.push_back(kind.keys[i].key);
  CheckSectionLines(context, section, kind.mode, keys);
}

void CheckUpdaterSection(const Context& context, const TextString& name,
                         const TextString& proc) {
  std::vector<std::string> keys;
  keys.push_back("NAME");
  keys.push_back("PROC");
  CheckSectionLines(context, "UPDATER", "[UPDATER]", keys);
  std::string raw;
  RawValue("UPDATER", "NAME", &raw);
  CheckMarkup(context, "UPDATER", "NAME", raw, name.Text(), true);
  RawValue("UPDATER", "PROC", &raw);
  CheckMarkup(context, "UPDATER", "PROC", raw, proc.Text(), false);
}

}  // namespace checker
