#include "checker/kind_checks.h"

#include <string.h>

#include <utility>
#include <vector>

#include "checker/kind_keys.h"
#include "checker/markup.h"
#include "checker/paths.h"
#include "checker/symbols_check.h"
#include "commands/attr.h"
#include "commands/copy.h"
#include "commands/date.h"
#include "commands/delete.h"
#include "commands/exist.h"
#include "commands/item_list.h"
#include "commands/launch.h"
#include "commands/link.h"
#include "commands/makedir.h"
#include "commands/msgbox.h"
#include "commands/switch.h"

namespace checker {

namespace {

typedef std::vector<std::pair<const char*, const TextString*> > Fields;

// A list key of a record: its items as loaded, and the same items as
// written for messages, where the written value has as many (a symbol may
// bring in commas).
struct List {
  const char* key;
  std::vector<std::string> items;
  std::vector<std::string> shown;
  unsigned line;
};

List ListOf(const Context& context, const std::string& section, const char* key,
            const TextString& value) {
  List list;
  list.key = key;
  list.items = ItemsOf(value);
  std::string raw;
  RawValue(section, key, &raw);
  const std::vector<std::string> written = ItemsOf(raw);
  list.shown = written.size() == list.items.size() ? written : list.items;
  list.line = context.LineOf(section, key);
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

enum PathUse {
  kFile,           // one existing or new file
  kFolder,         // a folder, trailing backslash allowed
  kPattern,        // anything FindFirstFile matches
  kFolderPattern,  // a file, a folder, or "<folder>\*.*"
  kProgram         // a program, perhaps in quotes
};

void CheckPaths(const Context& context, const std::string& section,
                const List& list, size_t count, PathUse use, const char* kind) {
  for (size_t i = 0; i < count && i < list.items.size(); ++i) {
    const std::string& shown = list.shown[i];
    const std::string item =
        use == kProgram ? Unquoted(list.items[i]) : list.items[i];
    const int number = static_cast<int>(i) + 1;
    if (item.empty()) {
      context.findings->Add(
          list.line, section, list.key, kEmptyPathItem,
          Printf("item %d is empty: %s has no path to work on", number, kind));
      continue;
    }
    if (HasMarkup(item)) continue;  // the markup check speaks for it
    const bool folderPattern =
        use == kFolderPattern &&
        TextString(item.c_str()).Item(-1, "\\").Equals("*.*");
    if (HasWildcard(item) && use != kPattern && !folderPattern) {
      context.findings->Add(
          list.line, section, list.key, kWildcard,
          use == kFolderPattern
              ? Printf("item %d '%s' holds a wildcard: only a last part "
                       "'*.*' stands for the files of a folder, any other "
                       "pattern fails",
                       number, shown.c_str())
              : Printf("item %d '%s' holds a wildcard: %s takes it as a "
                       "plain name, which no file has",
                       number, shown.c_str(), kind));
    } else if (use == kFile && EndsWithBackslash(item)) {
      context.findings->Add(list.line, section, list.key, kWildcard,
                            Printf("item %d '%s' names a folder: %s needs "
                                   "a file",
                                   number, shown.c_str(), kind));
    }
    if (!IsFullPath(item) && !(use == kProgram && ParentOf(item).empty())) {
      context.findings->Add(
          list.line, section, list.key, kRelativePath,
          Printf("item %d '%s' is no full path: it is taken from the "
                 "updater's working directory, not its folder; write "
                 "<Src>\\...",
                 number, shown.c_str()));
    }
  }
}

// The driving list of an item walk: empty stops the updater.
bool CheckDriving(const Context& context, const std::string& section,
                  const List& list, const char* boxKey) {
  if (!list.items.empty()) return true;
  context.findings->AddWithBox(
      list.line, section, list.key, kEmptyList,
      Printf("%s is empty: the updater stops at this procedure", list.key),
      MakeBox(MSG_BAD_ITEM_COUNT, section, boxKey));
  return false;
}

// A list whose items go with the driving list's: extra items are ignored.
void CheckNotLonger(const Context& context, const std::string& section,
                    const List& list, const List& driving) {
  const size_t n = driving.items.size();
  if (list.items.size() <= n) return;
  context.findings->Add(
      list.line, section, list.key, kLongPairedList,
      Printf("%d items for %d in %s: the last %d %s ignored",
             static_cast<int>(list.items.size()), static_cast<int>(n),
             driving.key, static_cast<int>(list.items.size() - n),
             list.items.size() - n == 1 ? "is" : "are"));
}

void CheckCopy(const Context& context, const COPY_INFO& info) {
  const std::string& name = info.name.Text();
  const List from = ListOf(context, name, "FROM", info.FROM);
  const List to = ListOf(context, name, "TO", info.TO);
  if (!CheckDriving(context, name, from, "FROM")) return;
  const size_t n = from.items.size();
  if (to.items.size() < n) {
    const size_t m = to.items.size();
    context.findings->AddWithBox(
        to.line, name, "TO", kShortPairedList,
        Printf("%d item%s for %d in FROM: '%s' would be copied to an empty "
               "name, which fails",
               static_cast<int>(m), Plural(m), static_cast<int>(n),
               from.shown[m].c_str()),
        MakeBox(MSG_COPY_FAILED, from.items[m], ""));
  }
  CheckNotLonger(context, name, to, from);
  CheckPaths(context, name, from, n, kFile, "COPY");
  CheckPaths(context, name, to, n, kFile, "COPY");
}

void CheckFileList(const Context& context, const ProcRecord& record,
                   const char* key, const TextString& value, PathUse use,
                   const char* kind) {
  const std::string& name = record.name.Text();
  const List list = ListOf(context, name, key, value);
  if (!CheckDriving(context, name, list, key)) return;
  CheckPaths(context, name, list, list.items.size(), use, kind);
}

void CheckMakedir(const Context& context, const MAKEDIR_INFO& info) {
  const std::string& name = info.name.Text();
  const List dir = ListOf(context, name, "DIR", info.DIR);
  if (!CheckDriving(context, name, dir, "DIR")) return;
  CheckPaths(context, name, dir, dir.items.size(), kFolder, "MAKEDIR");
  // One level per item: a parent listed later does not exist yet.
  for (size_t i = 0; i < dir.items.size(); ++i) {
    const std::string parent = ParentOf(dir.items[i]);
    for (size_t j = i + 1; j < dir.items.size() && !parent.empty(); ++j) {
      if (!EqualsIgnoringCase(WithoutTrailingBackslashes(dir.items[j]),
                              parent)) {
        continue;
      }
      context.findings->Add(
          dir.line, name, "DIR", kChildBeforeParent,
          Printf("item %d '%s' comes before its parent '%s' (item %d): "
                 "each item makes one level, so list the parent first",
                 static_cast<int>(i) + 1, dir.shown[i].c_str(),
                 dir.shown[j].c_str(), static_cast<int>(j) + 1));
      break;
    }
  }
}

int DaysIn(int month, int year) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

void CheckDateValue(const Context& context, const DATE_INFO& info) {
  const std::string& name = info.name.Text();
  const unsigned line = context.LineOf(name, "DATE");
  const TextString& date = info.DATE;
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
    context.findings->Add(
        line, name, "DATE", kBadDate,
        Printf("'%s' is not year/month/day in numbers: the updater reads "
               "%d/%d/%d",
               date.Text(), year, month, day));
  } else if (year < 100) {
    context.findings->Add(
        line, name, "DATE", kShortYear,
        Printf("'%s' has a two-digit year: the updater reads the year %d, "
               "so every file counts as current; write the year in full",
               date.Text(), year));
  } else if (month < 1 || month > 12 || day < 1 || day > DaysIn(month, year)) {
    context.findings->Add(
        line, name, "DATE", kBadDate,
        Printf("'%s' is no day of the calendar", date.Text()));
  } else if (year < 1601) {
    context.findings->Add(line, name, "DATE", kBadDate,
                          Printf("'%s' lies before any file's date: every "
                                 "file counts as current",
                                 date.Text()));
  }
}

void CheckAttr(const Context& context, const ATTR_INFO& info) {
  const std::string& name = info.name.Text();
  const List file = ListOf(context, name, "FILE", info.FILE);
  const List arg = ListOf(context, name, "ARG", info.ARG);
  if (!CheckDriving(context, name, file, "FILE")) return;
  const size_t n = file.items.size();
  if (arg.items.size() < n) {
    context.findings->Add(
        arg.line, name, "ARG", kShortArgList,
        Printf("%d item%s for %d in FILE: the files without one get the "
               "attributes 0 (none)",
               static_cast<int>(arg.items.size()), Plural(arg.items.size()),
               static_cast<int>(n)));
  }
  CheckNotLonger(context, name, arg, file);
  for (size_t i = 0; i < arg.items.size() && i < n; ++i) {
    if (IsHexForm(arg.items[i])) continue;
    context.findings->Add(
        arg.line, name, "ARG", kAttrNotHex,
        Printf("item %d '%s' is not written 0x and hexadecimal digits (such "
               "as 0x21): the updater uses 0",
               static_cast<int>(i) + 1, arg.shown[i].c_str()));
  }
  CheckPaths(context, name, file, n, kFolderPattern, "ATTR");
}

void CheckLaunch(const Context& context, const LAUNCH_INFO& info) {
  const std::string& name = info.name.Text();
  const List file = ListOf(context, name, "FILE", info.FILE);
  const List param = ListOf(context, name, "PARAM", info.PARAM);
  std::string wait;
  if (RawValue(name, "ISWAIT", &wait) && !IsNumber(wait)) {
    context.findings->Add(
        context.LineOf(name, "ISWAIT"), name, "ISWAIT", kNotANumber,
        Printf("'%s' is not a number: the updater %s", wait.c_str(),
               info.ISWAIT != 0 ? "waits until each program ends"
                                : "waits only until each program is ready"));
  }
  if (!CheckDriving(context, name, file, "FILE")) return;
  CheckNotLonger(context, name, param, file);
  for (size_t i = 0; i < file.items.size(); ++i) {
    const std::string bare = Unquoted(file.items[i]);
    TextString folder;
    if (bare.empty() || HasMarkup(bare) ||
        (FolderOf(bare.c_str(), folder) &&
         bare.find('"') == std::string::npos)) {
      continue;
    }
    const std::string params = i < param.items.size() ? param.items[i] : "";
    context.findings->AddWithBox(
        file.line, name, "FILE", kLaunchWithoutFolder,
        Printf("item %d '%s' has no folder: the updater starts a program "
               "only by its full path",
               static_cast<int>(i) + 1, file.shown[i].c_str()),
        MakeBox(MSG_LAUNCH_FAILED, file.items[i], params));
  }
  CheckPaths(context, name, file, file.items.size(), kProgram, "LAUNCH");
}

void CheckLink(const Context& context, const SHORTCUT_INFO& info) {
  const std::string& name = info.name.Text();
  const List src = ListOf(context, name, "SRC", info.SRC);
  const List param = ListOf(context, name, "PARAM", info.PARAM);
  const List show = ListOf(context, name, "SHOWCMD", info.SHOWCMD);
  const List dst = ListOf(context, name, "DST", info.DST);
  // The updater names the kind in this box, not the key.
  if (!CheckDriving(context, name, src, "LINK")) return;
  const size_t n = src.items.size();
  if (dst.items.size() < n) {
    context.findings->Add(
        dst.line, name, "DST", kShortPairedList,
        Printf("%d item%s for %d in SRC: the shortcut to '%s' would be "
               "saved as '.LNK' and the procedure ends there",
               static_cast<int>(dst.items.size()), Plural(dst.items.size()),
               static_cast<int>(n), src.shown[dst.items.size()].c_str()));
  }
  CheckNotLonger(context, name, param, src);
  CheckNotLonger(context, name, show, src);
  CheckNotLonger(context, name, dst, src);
  for (size_t i = 0; i < show.items.size() && i < n; ++i) {
    const std::string& item = show.items[i];
    if (item.empty() ||
        (IsNumber(item) && ToInt(item) >= 0 && ToInt(item) <= 3)) {
      continue;
    }
    context.findings->Add(
        show.line, name, "SHOWCMD", kBadShowCommand,
        Printf("item %d '%s' sets no show command: 1 normal, 2 minimised, "
               "3 maximised",
               static_cast<int>(i) + 1, show.shown[i].c_str()));
  }
  CheckPaths(context, name, src, n, kProgram, "LINK");
  CheckPaths(context, name, dst, n, kFile, "LINK");
}

void CheckMsgbox(const Context& context, const MSGBOX_INFO& info) {
  const std::string& name = info.name.Text();
  static const char* const kTypes[] = {"ERROR", "INFORMATION", "WARNING",
                                       "QUESTION"};
  bool known = false;
  for (int i = 0; i < 4; ++i) known = known || info.TYPE.Equals(kTypes[i]);
  if (!known) {
    Box box;
    box.id = MSG_BAD_SYMBOL;
    box.args.push_back(info.TYPE.Text());
    context.findings->AddWithBox(
        context.LineOf(name, "TYPE"), name, "TYPE", kBadMsgboxType,
        Printf("'%s' is none of ERROR, INFORMATION, WARNING, QUESTION",
               info.TYPE.Text()),
        box);
  }
  const List abort = ListOf(context, name, "ISABORT", info.ISABORT);
  for (size_t i = 0; i < abort.items.size() && i < 2; ++i) {
    const std::string& item = abort.items[i];
    if (item.empty() || IsNumber(item)) continue;
    context.findings->Add(
        abort.line, name, "ISABORT", kNotANumber,
        Printf("item %d '%s' is not a number: the updater reads %d",
               static_cast<int>(i) + 1, abort.shown[i].c_str(), ToInt(item)));
  }
  if (abort.items.size() > 2) {
    context.findings->Add(abort.line, name, "ISABORT", kLongPairedList,
                          "items after the second are ignored: the first is "
                          "for OK or Yes, the second for No");
  }
}

// The string keys of a record with the fields they were loaded into.
Fields FieldsOf(const ProcRecord& record) {
  Fields fields;
  fields.push_back(std::make_pair("MODE", &record.mode));
  const std::string mode = record.mode.Text();
#define FIELD(Type, key) \
  fields.push_back(std::make_pair(#key, &static_cast<const Type&>(record).key))
  if (EqualsIgnoringCase(mode, "COPY")) {
    FIELD(COPY_INFO, FROM);
    FIELD(COPY_INFO, TO);
  } else if (EqualsIgnoringCase(mode, "DELETE")) {
    FIELD(DELETE_INFO, FILE);
  } else if (EqualsIgnoringCase(mode, "EXIST")) {
    FIELD(EXIST_INFO, FILE);
  } else if (EqualsIgnoringCase(mode, "DATE")) {
    FIELD(DATE_INFO, FILE);
    FIELD(DATE_INFO, DATE);
  } else if (EqualsIgnoringCase(mode, "MAKEDIR")) {
    FIELD(MAKEDIR_INFO, DIR);
  } else if (EqualsIgnoringCase(mode, "ATTR")) {
    FIELD(ATTR_INFO, FILE);
    FIELD(ATTR_INFO, ARG);
  } else if (EqualsIgnoringCase(mode, "LAUNCH")) {
    FIELD(LAUNCH_INFO, FILE);
    FIELD(LAUNCH_INFO, PARAM);
  } else if (EqualsIgnoringCase(mode, "LINK")) {
    FIELD(SHORTCUT_INFO, SRC);
    FIELD(SHORTCUT_INFO, PARAM);
    FIELD(SHORTCUT_INFO, SHOWCMD);
    FIELD(SHORTCUT_INFO, DST);
  } else if (EqualsIgnoringCase(mode, "MSGBOX")) {
    FIELD(MSGBOX_INFO, FLAG);
    FIELD(MSGBOX_INFO, TYPE);
    FIELD(MSGBOX_INFO, TEXT);
    FIELD(MSGBOX_INFO, ISABORT);
  } else if (EqualsIgnoringCase(mode, "SWITCH")) {
    FIELD(SWITCH_INFO, PROC);
    fields.push_back(
        std::make_pair("0", &static_cast<const SWITCH_INFO&>(record).LIST0));
    fields.push_back(
        std::make_pair("1", &static_cast<const SWITCH_INFO&>(record).LIST1));
  }
#undef FIELD
  return fields;
}

// Texts may hold "<" and ">" meant as they are; paths and lists may not.
bool IsText(const ProcRecord& record, const char* key) {
  const std::string mode = record.mode.Text();
  return (EqualsIgnoringCase(mode, "MSGBOX") && strcmp(key, "TEXT") == 0) ||
         strcmp(key, "PARAM") == 0;
}

// A value the settings reader cuts: the updater sees only its beginning.
void CheckWhole(const Context& context, const std::string& section,
                const TextLine& line) {
  std::string read;
  if (!RawValue(section, line.name, &read)) return;
  std::string written = line.value;
  if (written.size() >= 2 && (written[0] == '"' || written[0] == '\'') &&
      written[written.size() - 1] == written[0]) {
    written = written.substr(1, written.size() - 2);
  }
  if (read.size() >= written.size()) return;
  const size_t tail = read.size() > 16 ? read.size() - 16 : 0;
  context.findings->Add(
      line.number, section, line.name, kValueCut,
      Printf("the value has %d characters, of which the updater reads %d, up "
             "to '...%s': split it, or use symbols",
             static_cast<int>(written.size()), static_cast<int>(read.size()),
             read.substr(tail).c_str()));
}

// Lines of a section that are not keys the section's reader takes.
void CheckSectionLines(const Context& context, const std::string& section,
                       const char* reader, const char* const* keys, int count) {
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
    for (int k = 0; k < count && !read; ++k) {
      read = EqualsIgnoringCase(line.name, keys[k]);
    }
    if (read) {
      if (context.text->KeyLine(section, line.name) == &line) {
        CheckWhole(context, section, line);
      }
      continue;
    }
    std::string known;
    for (int k = 0; k < count; ++k) {
      if (strcmp(keys[k], "MODE") == 0) continue;
      known += known.empty() ? "" : ", ";
      known += keys[k];
    }
    context.findings->Add(
        line.number, section, line.name, kUnreadKey,
        Printf("%s reads no key %s%s%s", reader, line.name.c_str(),
               known.empty() ? "" : ": it reads ", known.c_str()));
  }
}

}  // namespace

void CheckProcedure(const Context& context, const ProcRecord& record) {
  const std::string mode = record.mode.Text();
  if (EqualsIgnoringCase(mode, "COPY")) {
    CheckCopy(context, static_cast<const COPY_INFO&>(record));
  } else if (EqualsIgnoringCase(mode, "DELETE")) {
    CheckFileList(context, record, "FILE",
                  static_cast<const DELETE_INFO&>(record).FILE, kFile,
                  "DELETE");
  } else if (EqualsIgnoringCase(mode, "EXIST")) {
    CheckFileList(context, record, "FILE",
                  static_cast<const EXIST_INFO&>(record).FILE, kPattern,
                  "EXIST");
  } else if (EqualsIgnoringCase(mode, "DATE")) {
    const DATE_INFO& info = static_cast<const DATE_INFO&>(record);
    CheckFileList(context, record, "FILE", info.FILE, kFile, "DATE");
    CheckDateValue(context, info);
  } else if (EqualsIgnoringCase(mode, "MAKEDIR")) {
    CheckMakedir(context, static_cast<const MAKEDIR_INFO&>(record));
  } else if (EqualsIgnoringCase(mode, "ATTR")) {
    CheckAttr(context, static_cast<const ATTR_INFO&>(record));
  } else if (EqualsIgnoringCase(mode, "LAUNCH")) {
    CheckLaunch(context, static_cast<const LAUNCH_INFO&>(record));
  } else if (EqualsIgnoringCase(mode, "LINK")) {
    CheckLink(context, static_cast<const SHORTCUT_INFO&>(record));
  } else if (EqualsIgnoringCase(mode, "MSGBOX")) {
    CheckMsgbox(context, static_cast<const MSGBOX_INFO&>(record));
  }

  const std::string& name = record.name.Text();
  const Fields fields = FieldsOf(record);
  for (size_t i = 0; i < fields.size(); ++i) {
    std::string raw;
    RawValue(name, fields[i].first, &raw);
    CheckMarkup(context, name, fields[i].first, raw, fields[i].second->Text(),
                IsText(record, fields[i].first));
  }
  CheckSectionKeys(context, name, mode);
}

void CheckSectionKeys(const Context& context, const std::string& section,
                      const std::string& mode) {
  const KindKeys* kind = KindKeysOf(mode);
  if (!kind) return;
  const char* keys[5] = {"MODE"};
  int count = 1;
  for (int i = 0; i < kind->count; ++i) keys[count++] = kind->keys[i];
  CheckSectionLines(context, section, kind->mode, keys, count);
}

void CheckUpdaterSection(const Context& context, const TextString& name,
                         const TextString& proc) {
  static const char* const kKeys[] = {"NAME", "PROC"};
  CheckSectionLines(context, "UPDATER", "[UPDATER]", kKeys, 2);
  std::string raw;
  RawValue("UPDATER", "NAME", &raw);
  CheckMarkup(context, "UPDATER", "NAME", raw, name.Text(), true);
  RawValue("UPDATER", "PROC", &raw);
  CheckMarkup(context, "UPDATER", "PROC", raw, proc.Text(), false);
}

}  // namespace checker
