#include "checker/here_checks.h"

#include <set>
#include <string>
#include <vector>

#include "checker/markup.h"
#include "checker/paths.h"
#include "commands/attr.h"
#include "commands/copy.h"
#include "commands/date.h"
#include "commands/delete.h"
#include "commands/exist.h"
#include "commands/item_list.h"
#include "commands/launch.h"
#include "commands/link.h"
#include "commands/makedir.h"
#include "platform/platform.h"
#include "settings/app_paths.h"

namespace checker {

namespace {

bool IsMode(const ProcRecord& record, const char* mode) {
  return EqualsIgnoringCase(record.mode.Text(), mode);
}

std::string PathKey(const std::string& path) {
  return NameKey(WithoutTrailingBackslashes(path));
}

class HereChecker {
 public:
  explicit HereChecker(const Context& context) : context_(context) {}

  void Plan(const ProcRecord& record);
  void Check(const ProcRecord& record);
  void CheckAppPaths(unsigned line, const std::string& section,
                     const std::string& key, const std::string& raw);

 private:
  bool Exists(const std::string& path) const {
    return ItemExists(TextString(path.c_str())) || Made(path);
  }
  bool Made(const std::string& path) const {
    return made_.count(PathKey(path)) != 0;
  }
  // A missing folder of `path`, or "" when it is there (or has none). A
  // drive has no entry of its own to look for.
  std::string MissingFolder(const std::string& path) const {
    const std::string folder = ParentOf(path);
    const bool drive = folder.size() == 2 && folder[1] == ':';
    return folder.empty() || drive || Exists(folder) ? std::string() : folder;
  }
  void Add(const std::string& section, const char* key, Code code,
           const std::string& message) {
    context_.findings->Add(context_.LineOf(section, key), section, key, code,
                           message);
  }
  void AddWithBox(const std::string& section, const char* key, Code code,
                  const std::string& message, const Box& box) {
    context_.findings->AddWithBox(context_.LineOf(section, key), section, key,
                                  code, message, box);
  }
  // A file the procedure changes: false after reporting that it is
  // read-only or held open.
  bool CheckWritable(const std::string& section, const char* key, int number,
                     const std::string& path, const Box& box);

  void CheckCopy(const COPY_INFO& info);
  void CheckDelete(const DELETE_INFO& info);
  void CheckAttr(const ATTR_INFO& info);
  void CheckMakedir(const MAKEDIR_INFO& info);
  void CheckLaunch(const LAUNCH_INFO& info);
  void CheckLink(const SHORTCUT_INFO& info);
  void ReportDate(const DATE_INFO& info);
  void ReportExist(const EXIST_INFO& info);

  const Context& context_;
  std::set<std::string> made_;  // paths the script itself makes
};

void HereChecker::Plan(const ProcRecord& record) {
  std::vector<std::string> made;
  if (IsMode(record, "MAKEDIR")) {
    made = ItemsOf(static_cast<const MAKEDIR_INFO&>(record).DIR);
  } else if (IsMode(record, "COPY")) {
    made = ItemsOf(static_cast<const COPY_INFO&>(record).TO);
  } else if (IsMode(record, "LINK")) {
    made = ItemsOf(static_cast<const SHORTCUT_INFO&>(record).DST);
    for (size_t i = 0; i < made.size(); ++i) made[i] += ".LNK";
  }
  for (size_t i = 0; i < made.size(); ++i) {
    if (!made[i].empty()) made_.insert(PathKey(made[i]));
  }
}

bool HereChecker::CheckWritable(const std::string& section, const char* key,
                                int number, const std::string& path,
                                const Box& box) {
  platform::FindEntry entry;
  platform::FileSearch search;
  if (!search.First(path.c_str(), &entry) ||
      (entry.attributes & platform::kAttributeDirectory)) {
    return true;
  }
  if (entry.attributes & platform::kAttributeReadOnly) {
    AddWithBox(section, key, kFileReadOnly,
               Printf("item %d '%s' is read-only here", number, path.c_str()),
               box);
    return false;
  }
  if (!platform::OpenableForWriting(path.c_str())) {
    AddWithBox(section, key, kFileHeld,
               Printf("item %d '%s' is held open by another program", number,
                      path.c_str()),
               box);
    return false;
  }
  return true;
}

void HereChecker::CheckCopy(const COPY_INFO& info) {
  const std::string name = info.name.Text();
  const std::vector<std::string> from = ItemsOf(info.FROM);
  const std::vector<std::string> to = ItemsOf(info.TO);
  for (size_t i = 0; i < from.size() && i < to.size(); ++i) {
    if (from[i].empty() || to[i].empty()) continue;  // reported already
    const int number = static_cast<int>(i) + 1;
    const Box box = MakeBox(MSG_COPY_FAILED, from[i], to[i]);
    if (!Exists(from[i])) {
      AddWithBox(
          name, "FROM", kSourceMissing,
          Printf("item %d '%s' is not on this PC", number, from[i].c_str()),
          box);
    }
    if (ItemExists(TextString(to[i].c_str()))) {
      CheckWritable(name, "TO", number, to[i], box);
      continue;
    }
    const std::string folder = MissingFolder(to[i]);
    if (!folder.empty()) {
      AddWithBox(name, "TO", kFolderMissing,
                 Printf("the folder of item %d, '%s', is not on this PC: "
                        "COPY makes no folders",
                        number, folder.c_str()),
                 box);
    }
  }
}

void HereChecker::CheckDelete(const DELETE_INFO& info) {
  const std::string name = info.name.Text();
  const std::vector<std::string> files = ItemsOf(info.FILE);
  for (size_t i = 0; i < files.size(); ++i) {
    if (files[i].empty()) continue;
    const int number = static_cast<int>(i) + 1;
    const Box box = MakeBox(MSG_DELETE_FAILED, files[i]);
    if (!Exists(files[i])) {
      AddWithBox(
          name, "FILE", kFileMissing,
          Printf("item %d '%s' is not on this PC", number, files[i].c_str()),
          box);
    } else {
      CheckWritable(name, "FILE", number, files[i], box);
    }
  }
}

void HereChecker::CheckAttr(const ATTR_INFO& info) {
  const std::string name = info.name.Text();
  const std::vector<std::string> files = ItemsOf(info.FILE);
  for (size_t i = 0; i < files.size(); ++i) {
    const TextString file(files[i].c_str());
    // A folder pattern that matches nothing is no failure.
    if (files[i].empty() || file.Item(-1, "\\").Equals("*.*")) continue;
    if (Exists(files[i])) continue;
    const unsigned attributes = static_cast<unsigned>(
        ListItem(info.ARG, static_cast<int>(i)).HexToInt());
    AddWithBox(
        name, "FILE", kFileMissing,
        Printf("item %d '%s' is not on this PC", static_cast<int>(i) + 1,
               files[i].c_str()),
        MakeBox(MSG_ATTR_FAILED, files[i], Printf("0x%08X", attributes)));
  }
}

void HereChecker::CheckMakedir(const MAKEDIR_INFO& info) {
  const std::string name = info.name.Text();
  const std::vector<std::string> dirs = ItemsOf(info.DIR);
  for (size_t i = 0; i < dirs.size(); ++i) {
    if (dirs[i].empty() || ItemExists(TextString(dirs[i].c_str()))) continue;
    const std::string folder = MissingFolder(dirs[i]);
    if (folder.empty()) continue;
    AddWithBox(name, "DIR", kFolderMissing,
               Printf("the parent of item %d, '%s', is not on this PC and "
                      "no MAKEDIR makes it",
                      static_cast<int>(i) + 1, folder.c_str()),
               MakeBox(MSG_MAKEDIR_FAILED, dirs[i]));
  }
}

void HereChecker::CheckLaunch(const LAUNCH_INFO& info) {
  const std::string name = info.name.Text();
  const std::vector<std::string> files = ItemsOf(info.FILE);
  const std::vector<std::string> params = ItemsOf(info.PARAM);
  for (size_t i = 0; i < files.size(); ++i) {
    const std::string program = Unquoted(files[i]);
    if (program.empty() || ParentOf(program).empty() || Exists(program)) {
      continue;
    }
    AddWithBox(name, "FILE", kProgramMissing,
               Printf("item %d '%s' is not on this PC: the start fails",
                      static_cast<int>(i) + 1, program.c_str()),
               MakeBox(MSG_LAUNCH_FAILED, files[i],
                       i < params.size() ? params[i] : std::string()));
  }
}

void HereChecker::CheckLink(const SHORTCUT_INFO& info) {
  const std::string name = info.name.Text();
  const std::vector<std::string> shortcuts = ItemsOf(info.DST);
  for (size_t i = 0; i < shortcuts.size(); ++i) {
    const std::string folder = MissingFolder(shortcuts[i]);
    if (shortcuts[i].empty() || folder.empty()) continue;
    Add(name, "DST", kLinkFolderMissing,
        Printf("the folder of item %d, '%s', is not on this PC: LINK ends "
               "there without a word",
               static_cast<int>(i) + 1, folder.c_str()));
  }
}

void HereChecker::ReportDate(const DATE_INFO& info) {
  const std::vector<std::string> files = ItemsOf(info.FILE);
  if (files.empty()) return;
  // The updater's own test, in its order: the first file not current
  // decides.
  for (size_t i = 0; i < files.size(); ++i) {
    if (FileDateAtLeast(files[i].c_str(), info.DATE.Text())) continue;
    Add(info.name.Text(), "FILE", kDateNow,
        Printf("result now 1: '%s' is older than %s or cannot be opened",
               files[i].c_str(), info.DATE.Text()));
    return;
  }
  Add(info.name.Text(), "FILE", kDateNow,
      Printf("result now 0: every file is dated %s or later",
             info.DATE.Text()));
}

void HereChecker::ReportExist(const EXIST_INFO& info) {
  const std::vector<std::string> files = ItemsOf(info.FILE);
  if (files.empty()) return;
  for (size_t i = 0; i < files.size(); ++i) {
    if (ItemExists(TextString(files[i].c_str()))) continue;
    Add(info.name.Text(), "FILE", kExistNow,
        Printf("result now 0: '%s' is not on this PC", files[i].c_str()));
    return;
  }
  Add(info.name.Text(), "FILE", kExistNow,
      "result now 1: every item is on this PC");
}

void HereChecker::Check(const ProcRecord& record) {
  if (IsMode(record, "COPY")) {
    CheckCopy(static_cast<const COPY_INFO&>(record));
  } else if (IsMode(record, "DELETE")) {
    CheckDelete(static_cast<const DELETE_INFO&>(record));
  } else if (IsMode(record, "ATTR")) {
    CheckAttr(static_cast<const ATTR_INFO&>(record));
  } else if (IsMode(record, "MAKEDIR")) {
    CheckMakedir(static_cast<const MAKEDIR_INFO&>(record));
  } else if (IsMode(record, "LAUNCH")) {
    CheckLaunch(static_cast<const LAUNCH_INFO&>(record));
  } else if (IsMode(record, "LINK")) {
    CheckLink(static_cast<const SHORTCUT_INFO&>(record));
  } else if (IsMode(record, "DATE")) {
    ReportDate(static_cast<const DATE_INFO&>(record));
  } else if (IsMode(record, "EXIST")) {
    ReportExist(static_cast<const EXIST_INFO&>(record));
  } else if (IsMode(record, "OSVER")) {
    const bool nt = platform::IsNtPlatform();
    Add(record.name.Text(), "MODE", kOsverNow,
        Printf("result now %d: %s", nt ? 1 : 0,
               nt ? "a Windows of the NT family" : "not the NT family"));
  }
}

void HereChecker::CheckAppPaths(unsigned line, const std::string& section,
                                const std::string& key,
                                const std::string& raw) {
  std::vector<std::string> problems;
  const std::vector<AppPathsGroup> groups = AppPathsGroups(raw, &problems);
  for (size_t i = 0; i < groups.size(); ++i) {
    TextString found;
    if (AppPathLookup(groups[i].program.c_str(), found,
                      groups[i].wantDefault)) {
      continue;
    }
    context_.findings->Add(
        line, section, key, kAppPathsMissing,
        Printf("'%s' finds nothing on this PC: it stays as written",
               groups[i].whole.c_str()));
  }
}

}  // namespace

void CheckHere(const Context& context, const Flow& flow) {
  HereChecker checker(context);
  std::vector<const ProcRecord*> records;
  std::set<std::string> seen;
  for (size_t l = 0; l < flow.lists.size(); ++l) {
    for (size_t i = 0; i < flow.lists[l].items.size(); ++i) {
      const ProcRecord* record = flow.lists[l].items[i].record;
      if (record && seen.insert(NameKey(record->name.Text())).second) {
        records.push_back(record);
      }
    }
  }
  for (size_t i = 0; i < records.size(); ++i) checker.Plan(*records[i]);
  for (size_t i = 0; i < records.size(); ++i) checker.Check(*records[i]);

  // Every value read as written: App Paths groups in any key and symbol.
  const std::vector<TextLine>& lines = context.text->Lines();
  for (size_t i = 0; i < lines.size(); ++i) {
    const TextLine& line = lines[i];
    if (line.kind != platform::ProfileLine::kKey || line.section < 0) continue;
    const TextSection& section = context.text->Sections()[line.section];
    if (section.first != line.section) continue;
    if (!SameName(section.name, "UPDATER") &&
        !SameName(section.name, "DEFINE") &&
        seen.count(NameKey(section.name)) == 0) {
      continue;
    }
    checker.CheckAppPaths(line.number, section.name, line.name, line.value);
  }
}

}  // namespace checker
