#include "checker/here_checks.h"

#include <set>
#include <string>
#include <vector>

#include "checker/kind_checks.h"
#include "checker/markup.h"
#include "checker/paths.h"
#include "commands/copy_journal.h"
#include "commands/date.h"
#include "commands/file_in_use.h"
#include "commands/item_list.h"
#include "commands/kind_table.h"
#include "platform/platform.h"
#include "platform/staged_names.h"
#include "settings/app_paths.h"

namespace checker {

namespace {

std::string PathKey(const std::string& path) {
  return NameKey(WithoutTrailingBackslashes(path));
}

// The items of every key of a record, by key.
std::vector<std::vector<std::string> > ItemsOfKeys(const ProcRecord& record) {
  std::vector<std::vector<std::string> > items;
  for (int k = 0; k < record.kind->keyCount; ++k) {
    const TextString* value = KeyText(record, record.kind->keys[k]);
    items.push_back(value ? ItemsOf(*value) : std::vector<std::string>());
  }
  return items;
}

class HereChecker {
 public:
  explicit HereChecker(const Context& context) : context_(context) {}

  void Plan(const ProcRecord& record);
  void Check(ProcRecord* record);
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
  // Staged copies and backups a COPY that was cut off left in the folder
  // of `path`, reported once per folder.
  void CheckLeftovers(const std::string& section, const char* key,
                      const std::string& path);
  void CheckItem(const ProcRecord& record, const ProcKey& key, int number,
                 const std::string& item, const Box& box);
  void ReportTest(const ProcRecord& record, const ProcKey& key,
                  const std::vector<std::string>& items);

  const Context& context_;
  std::set<std::string> made_;      // paths the script itself makes
  std::set<std::string> searched_;  // folders looked in for leftovers
};

void HereChecker::CheckLeftovers(const std::string& section, const char* key,
                                 const std::string& path) {
  const std::string folder = ParentOf(path);
  if (folder.empty() || !searched_.insert(PathKey(folder)).second) return;
  platform::FindEntry entry;
  platform::FileSearch search;
  std::string found;
  for (bool more = search.First((folder + "\\~up*").c_str(), &entry); more;
       more = search.Next(&entry)) {
    if (!platform::IsStagedName(entry.name)) continue;
    found += (found.empty() ? "'" : ", '") + std::string(entry.name) + "'";
  }
  if (found.empty()) return;
  Add(section, key, kCutOffCopyLeft,
      Printf("'%s' holds %s, left by a COPY that was cut off", folder.c_str(),
             found.c_str()));
}

void HereChecker::Plan(const ProcRecord& record) {
  for (int k = 0; k < record.kind->keyCount; ++k) {
    const ProcKey& key = record.kind->keys[k];
    if (key.form != kFolders && key.form != kDestinationFiles &&
        key.form != kShortcuts) {
      continue;
    }
    const std::vector<std::string> made = ItemsOf(*KeyText(record, key));
    for (size_t i = 0; i < made.size(); ++i) {
      if (made[i].empty()) continue;
      made_.insert(
          PathKey(key.form == kShortcuts ? made[i] + ".LNK" : made[i]));
    }
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
    TextString names;
    const bool named = HolderNames(path.c_str(), &names);
    AddWithBox(section, key, kFileHeld,
               Printf("item %d '%s' is held open by another program%s%s",
                      number, path.c_str(), named ? ": " : "", names.Text()),
               box);
    return false;
  }
  return true;
}

// What the runner would meet with one item of a key, by what it makes of
// the key's items.
void HereChecker::CheckItem(const ProcRecord& record, const ProcKey& key,
                            int number, const std::string& item,
                            const Box& box) {
  const std::string name = record.name.Text();
  const char* mode = record.kind->mode;
  const std::string missing =
      Printf("item %d '%s' is not on this PC", number, item.c_str());
  switch (key.form) {
    case kSourceFiles:
      if (!Exists(item))
        AddWithBox(name, key.key, kSourceMissing, missing, box);
      break;
    case kDestinationFiles: {
      CheckLeftovers(name, key.key, item);
      if (ItemExists(TextString(item.c_str()))) {
        CheckWritable(name, key.key, number, item, box);
        break;
      }
      const std::string folder = MissingFolder(item);
      if (folder.empty()) break;
      AddWithBox(name, key.key, kFolderMissing,
                 Printf("the folder of item %d, '%s', is not on this PC: "
                        "%s makes no folders",
                        number, folder.c_str(), mode),
                 box);
      break;
    }
    case kDeletedFiles:
      if (!Exists(item)) {
        AddWithBox(name, key.key, kFileMissing, missing, box);
      } else {
        CheckWritable(name, key.key, number, item, box);
      }
      break;
    case kAttributeTargets:
      // A folder pattern that matches nothing is no failure.
      if (!TextString(item.c_str()).Item(-1, "\\").Equals("*.*") &&
          !Exists(item)) {
        AddWithBox(name, key.key, kFileMissing, missing, box);
      }
      break;
    case kFolders: {
      if (ItemExists(TextString(item.c_str()))) break;
      const std::string folder = MissingFolder(item);
      if (folder.empty()) break;
      AddWithBox(name, key.key, kFolderMissing,
                 Printf("the parent of item %d, '%s', is not on this PC and "
                        "no %s makes it",
                        number, folder.c_str(), mode),
                 box);
      break;
    }
    case kPrograms: {
      const std::string program = Unquoted(item);
      if (ParentOf(program).empty() || Exists(program)) break;
      AddWithBox(name, key.key, kProgramMissing,
                 Printf("item %d '%s' is not on this PC: the start fails",
                        number, program.c_str()),
                 box);
      break;
    }
    case kShortcuts:
      if (MissingFolder(item).empty()) break;
      Add(name, key.key, kLinkFolderMissing,
          Printf("the folder of item %d, '%s', is not on this PC: %s ends "
                 "there without a word",
                 number, MissingFolder(item).c_str(), mode));
      break;
    default:
      break;
  }
}

// What a test's files answer now: the runner's own test, in its order.
void HereChecker::ReportTest(const ProcRecord& record, const ProcKey& key,
                             const std::vector<std::string>& items) {
  const std::string name = record.name.Text();
  if (items.empty()) return;
  if (key.form == kPatterns) {
    for (size_t i = 0; i < items.size(); ++i) {
      if (ItemExists(TextString(items[i].c_str()))) continue;
      Add(name, key.key, kExistNow,
          Printf("result now 0: '%s' is not on this PC", items[i].c_str()));
      return;
    }
    Add(name, key.key, kExistNow, "result now 1: every item is on this PC");
    return;
  }
  // kDatedFiles, against the kind's date. The first file not current
  // decides.
  const TextString* date = 0;
  for (int k = 0; k < record.kind->keyCount; ++k) {
    if (record.kind->keys[k].form == kDate) {
      date = KeyText(record, record.kind->keys[k]);
    }
  }
  if (!date) return;
  for (size_t i = 0; i < items.size(); ++i) {
    if (FileDateAtLeast(items[i].c_str(), date->Text())) continue;
    Add(name, key.key, kDateNow,
        Printf("result now 1: '%s' is older than %s or cannot be opened",
               items[i].c_str(), date->Text()));
    return;
  }
  Add(name, key.key, kDateNow,
      Printf("result now 0: every file is dated %s or later", date->Text()));
}

void HereChecker::Check(ProcRecord* record) {
  const ProcKind& kind = *record->kind;
  if (kind.outcome == kResultOfTest && kind.keyCount == 0) {
    // A test of the system alone (OSVER): its runner only asks.
    const bool before = record->result;
    kind.run(record);
    const bool now = record->result;
    record->result = before;
    Add(record->name.Text(), "MODE", kOsverNow,
        Printf("result now %d on this PC", now ? 1 : 0));
    return;
  }
  const std::vector<std::vector<std::string> > items = ItemsOfKeys(*record);
  const ProcKey* driving = DrivingKey(kind);
  if (!driving) return;
  const size_t count = items[driving - &kind.keys[0]].size();
  for (int k = 0; k < kind.keyCount; ++k) {
    if (kind.keys[k].form == kPatterns || kind.keys[k].form == kDatedFiles) {
      ReportTest(*record, kind.keys[k], items[k]);
    }
  }
  for (size_t i = 0; i < count; ++i) {
    // An empty path is reported already; the item is not looked at.
    bool complete = true;
    for (int k = 0; k < kind.keyCount; ++k) {
      complete = complete && (PathUseOf(kind.keys[k].form) == kNoPaths ||
                              (i < items[k].size() && !items[k][i].empty()));
    }
    if (!complete) continue;
    Box box;
    ItemFailureBox(*record, i, &box);
    for (int k = 0; k < kind.keyCount; ++k) {
      if (i >= items[k].size()) continue;
      CheckItem(*record, kind.keys[k], static_cast<int>(i) + 1, items[k][i],
                box);
    }
  }
}

void HereChecker::CheckAppPaths(unsigned line, const std::string& section,
                                const std::string& key,
                                const std::string& raw) {
  std::vector<std::string> problems;
  const std::vector<AppPathsGroup> groups = AppPathsGroups(raw, &problems);
  for (size_t i = 0; i < groups.size(); ++i) {
    if (!groups[i].problem.empty()) continue;  // reported as written wrongly
    TextString found;
    if (AppPathLookup(groups[i].program.c_str(), &found,
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
  std::vector<ProcRecord*> records;
  std::set<std::string> seen;
  for (size_t l = 0; l < flow.lists.size(); ++l) {
    for (size_t i = 0; i < flow.lists[l].items.size(); ++i) {
      ProcRecord* record = flow.lists[l].items[i].record;
      if (record && seen.insert(NameKey(record->name.Text())).second) {
        records.push_back(record);
      }
    }
  }
  for (size_t i = 0; i < records.size(); ++i) checker.Plan(*records[i]);
  for (size_t i = 0; i < records.size(); ++i) checker.Check(records[i]);
  for (int committed = 0; committed < 2; ++committed) {
    const TextString journal = CopyJournalPath(committed != 0);
    if (!platform::FileExists(journal.Text())) continue;
    context.findings->Add(
        context.LineOf("UPDATER", "PROC"), "UPDATER", "PROC", kCutOffCopyLeft,
        Printf("'%s' is the journal of a COPY that was cut off: the next run "
               "finishes it before anything else",
               journal.Text()));
  }

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
