#include "tests/checker/differential.h"

#include <map>
#include <set>

#include "app/proc_driver.h"
#include "app/process_state.h"
#include "app/startup.h"
#include "checker/checker.h"
#include "checker/error_collector.h"
#include "checker/findings.h"
#include "checker/markup.h"
#include "checker/settings_text.h"
#include "commands/item_list.h"
#include "commands/kind_table.h"
#include "commands/msgbox.h"
#include "commands/switch.h"
#include "platform/platform.h"
#include "settings/app_paths.h"
#include "settings/messages.h"
#include "settings/param_reader.h"
#include "settings/settings_reader.h"
#include "tests/fake/fake_world.h"

namespace differential {

namespace {

const char kSettingsPath[] = "C:\\Tools\\updater.ini";
// Programs with an App Paths key in every world here, and where it points;
// ソ's second byte is a backslash.
const char* const kRecorded[] = {"x.exe", "ed.exe", "a.exe", "\x83\x5C.exe"};
const char kFound[] = "C:\\Found";
// Beyond this many lists the walk stops: a branch that leads to itself many
// times over says nothing new.
const int kMostLists = 2000;

using checker::Box;
using checker::Printf;

std::string Describe(const Box& box) {
  std::string text = "box " + std::to_string(box.id);
  for (size_t i = 0; i < box.args.size(); ++i) text += " '" + box.args[i] + "'";
  return text;
}

// What the updater makes of the file, from its own loading and lookups.
struct UpdaterView {
  bool startupRefused;
  std::vector<Box> refusals;         // the box of each item or list refused
  std::set<std::string> loaded;      // sections (NameKey) loaded fine
  std::set<std::string> refused;     // sections (NameKey) refused
  std::map<std::string, int> tests;  // SWITCH/MSGBOX: 1 found, 0 not, -1 both
  std::set<std::string> tooDeep;     // SWITCHes run past the bound
  std::set<std::string> inRefused;   // sections of lists not loaded
  bool complete;                     // the walk went everywhere
  // A loaded text key, as written, and how many App Paths groups the
  // updater replaced in it.
  struct Lookups {
    std::string section;
    std::string key;
    std::string raw;
    int replaced;
  };
  std::vector<Lookups> lookups;
};

int CountOf(const std::string& text, const std::string& part) {
  int count = 0;
  for (size_t at = text.find(part); at != std::string::npos;
       at = text.find(part, at + part.size())) {
    ++count;
  }
  return count;
}

// The App Paths groups replaced in each text key of a loaded record, where
// no symbol, parent step or found path written in the value blurs the
// count.
void NoteLookups(UpdaterView* view, const ProcRecord& record) {
  for (int k = 0; k < record.kind->keyCount; ++k) {
    const ProcKey& key = record.kind->keys[k];
    const TextString* value = KeyText(record, key);
    TextString raw;
    if (!value || !ReadSettingString(SettingsPath.Text(), record.name.Text(),
                                     key.key, &raw)) {
      continue;
    }
    const std::string written = raw.Text();
    if (written.find_first_of("<") != std::string::npos ||
        written.find("..") != std::string::npos ||
        written.find("Found") != std::string::npos) {
      continue;
    }
    const UpdaterView::Lookups lookups = {record.name.Text(), key.key, written,
                                          CountOf(value->Text(), kFound)};
    view->lookups.push_back(lookups);
  }
}

void NoteTest(UpdaterView* view, const std::string& section, bool found) {
  const std::string key = checker::NameKey(section);
  std::map<std::string, int>::iterator it = view->tests.find(key);
  if (it == view->tests.end()) {
    view->tests[key] = found ? 1 : 0;
  } else if (it->second != (found ? 1 : 0)) {
    it->second = -1;
  }
}

class UpdaterWalk {
 public:
  UpdaterWalk(UpdaterView* view, checker::ErrorCollector* errors)
      : view_(view), errors_(errors), lists_(0) {}

  void Walk(const TextString& text, int depth, std::set<std::string>* on) {
    if (++lists_ > kMostLists) {
      view_->complete = false;
      return;
    }
    const int count = text.ItemCount(",");
    bool whole = true;
    for (int i = 0; i < count; ++i) {
      const TextString item = ListItem(text, i);
      errors_->Take();
      ProcList one = LoadProcList(item, 1);
      const std::vector<Box> boxes = errors_->Take();
      if (one) {
        view_->loaded.insert(checker::NameKey(item.Text()));
        NoteLookups(view_, *one[0]);
        FreeProcList(one);
      } else {
        whole = false;
        view_->refused.insert(checker::NameKey(item.Text()));
        if (!boxes.empty()) view_->refusals.push_back(boxes[0]);
      }
    }
    if (!whole) {
      for (int i = 0; i < count; ++i) {
        view_->inRefused.insert(checker::NameKey(ListItem(text, i).Text()));
      }
    }
    if (!whole || count == 0) return;
    ProcList list = LoadProcList(text, count);
    if (!list) return;
    // Lookups and branches as SWITCH and MSGBOX make them when they run.
    std::vector<std::pair<std::string, TextString> > branches;
    for (ProcRecord** slot = list; *slot; ++slot) {
      const ProcRecord& record = **slot;
      const ProcKind& kind = *record.kind;
      bool hasBranch = false;
      for (int k = 0; k < kind.keyCount; ++k) {
        const ProcKey& key = kind.keys[k];
        const TextString* value = KeyText(record, key);
        TextString target;
        int expected = 0;
        if (key.form == kTestedProcedure) {
          NoteTest(view_, record.name.Text(),
                   FindProcRecord(list, TestedName(*value).Text()) != 0);
        } else if (key.form == kFlagTest &&
                   ParseFlag(*value, &target, &expected)) {
          NoteTest(view_, record.name.Text(),
                   FindProcRecord(list, target.Text()) != 0);
        } else if (key.form == kBranchList && value->ItemCount(",") > 0) {
          hasBranch = true;
          branches.push_back(std::make_pair(
              checker::NameKey(record.name.Text()) + "\n" + key.key, *value));
        }
      }
      if (!hasBranch) continue;
      if (depth >= kMaxProcListDepth) {
        view_->tooDeep.insert(checker::NameKey(record.name.Text()));
      }
    }
    FreeProcList(list);
    if (depth >= kMaxProcListDepth) return;
    for (size_t b = 0; b < branches.size(); ++b) {
      // A branch that leads back into itself is a loop: its own finding.
      if (!on->insert(branches[b].first).second) continue;
      Walk(branches[b].second, depth + 1, on);
      on->erase(branches[b].first);
    }
  }

 private:
  UpdaterView* view_;
  checker::ErrorCollector* errors_;
  int lists_;
};

void Prepare(const std::string& bytes, unsigned platformId) {
  fake::Reset();
  fake::SetPlatformId(platformId);
  ResetProcessState();
  fake::AddFile(kSettingsPath, bytes);
  for (size_t i = 0; i < sizeof kRecorded / sizeof kRecorded[0]; ++i) {
    const std::string key = std::string(kAppPathsKey) + kRecorded[i];
    fake::SetRegistryString(fake::kView32, key, "",
                            std::string(kFound) + "\\" + kRecorded[i]);
    fake::SetRegistryString(fake::kView32, key, "PATH", kFound);
  }
}

// How many of the lookups the checker sees the updater would find.
int Predicted(const std::string& raw) {
  std::vector<std::string> problems;
  const std::vector<checker::AppPathsGroup> groups =
      checker::AppPathsGroups(raw, &problems);
  int found = 0;
  for (size_t g = 0; g < groups.size(); ++g) {
    for (size_t i = 0; i < sizeof kRecorded / sizeof kRecorded[0]; ++i) {
      if (checker::SameText(groups[g].program, kRecorded[i])) ++found;
    }
  }
  return found;
}

UpdaterView RunUpdater(const std::string& bytes, unsigned platformId) {
  Prepare(bytes, platformId);
  UpdaterView view;
  view.startupRefused = false;
  view.complete = true;
  {
    checker::ErrorCollector errors;
    if (!Initialize("")) {
      view.startupRefused = true;
      const std::vector<Box> boxes = errors.Take();
      if (!boxes.empty()) view.refusals.push_back(boxes[0]);
    } else if (UpdaterProc.ItemCount(",") == 0) {
      // RunUpdater's own message for an empty PROC.
      view.refusals.push_back(
          checker::MakeBox(MSG_BAD_ITEM_COUNT, "UPDATER", "PROC"));
    } else {
      std::set<std::string> on;
      UpdaterWalk(&view, &errors).Walk(UpdaterProc, 1, &on);
    }
  }
  FreeAllProcLists();
  ResetProcessState();
  return view;
}

}  // namespace

std::vector<std::string> Disagreements(const std::string& bytes,
                                       unsigned platformId) {
  const UpdaterView view = RunUpdater(bytes, platformId);

  // The checker on the same world; the built-in folders as start-up takes
  // them (--here), so that both expand the same values.
  Prepare(bytes, platformId);
  checker::Findings findings;
  checker::Flow flow;
  checker::CheckOptions options;
  options.here = true;
  checker::CheckSettings(kSettingsPath, bytes, options, &findings, &flow);
  const std::vector<checker::Finding> found = findings.Sorted();
  fake::Reset();

  std::vector<std::string> problems;
  // A file the checker reads no further than its encoding: what Windows
  // makes of it differs from system to system.
  for (size_t i = 0; i < found.size(); ++i) {
    if (found[i].code == checker::kUtf8Bom ||
        found[i].code == checker::kUtf16) {
      return problems;
    }
  }
  for (size_t r = 0; r < view.refusals.size(); ++r) {
    bool predicted = false;
    for (size_t i = 0; i < found.size() && !predicted; ++i) {
      predicted = checker::InfoOf(found[i].code).severity == checker::kError &&
                  found[i].hasBox && found[i].box.id == view.refusals[r].id &&
                  found[i].box.args == view.refusals[r].args;
    }
    if (!predicted) {
      problems.push_back("the updater refuses with " +
                         Describe(view.refusals[r]) +
                         ", which no error of the checker predicts");
    }
  }
  if (view.startupRefused) return problems;

  for (size_t i = 0; i < view.lookups.size(); ++i) {
    const UpdaterView::Lookups& lookups = view.lookups[i];
    const int predicted = Predicted(lookups.raw);
    if (predicted == lookups.replaced) continue;
    problems.push_back(Printf(
        "[%s] %s '%s': the updater finds %d App Paths lookups, the checker "
        "sees %d",
        lookups.section.c_str(), lookups.key.c_str(), lookups.raw.c_str(),
        lookups.replaced, predicted));
  }

  std::map<std::string, std::set<checker::Code> > byProcedure;
  for (size_t i = 0; i < found.size(); ++i) {
    const checker::Finding& finding = found[i];
    const std::string section = checker::NameKey(finding.section);
    byProcedure[section].insert(finding.code);
    if (!checker::InfoOf(finding.code).refusal ||
        finding.code == checker::kEmptyListName) {
      continue;  // an empty name is reported for the list that holds it
    }
    const bool startup = section == "UPDATER" || section == "DEFINE";
    if (startup ||
        (view.loaded.count(section) != 0 && view.refused.count(section) == 0)) {
      problems.push_back(Printf(
          "%s on line %u says the updater refuses [%s] %s, which it loads",
          checker::InfoOf(finding.code).id, finding.line,
          finding.section.c_str(), finding.key.c_str()));
    }
  }
  for (std::map<std::string, int>::const_iterator t = view.tests.begin();
       t != view.tests.end(); ++t) {
    // Found in one list, not in another; or in a list the updater refuses,
    // whose lookups the checker reports all the same.
    if (t->second < 0 || view.inRefused.count(t->first) != 0) continue;
    const std::set<checker::Code>& codes = byProcedure[t->first];
    const bool reported = codes.count(checker::kSwitchTargetMissing) != 0 ||
                          codes.count(checker::kFlagTargetMissing) != 0;
    if (reported == (t->second == 0)) continue;
    problems.push_back(
        Printf("[%s] tests a procedure the updater %s, but the checker %s",
               t->first.c_str(), t->second ? "finds" : "does not find",
               reported ? "says it is missing" : "finds it"));
  }
  // Nesting depends on the way taken once a branch leads back to its
  // SWITCH: that is a finding of its own (U034), and depths are not compared.
  bool loops = false;
  for (size_t i = 0; i < found.size(); ++i) {
    loops = loops || found[i].code == checker::kSwitchLoop;
  }
  if (view.complete && !loops) {
    std::set<std::string> sections(view.tooDeep);
    for (std::map<std::string, std::set<checker::Code> >::const_iterator p =
             byProcedure.begin();
         p != byProcedure.end(); ++p) {
      if (p->second.count(checker::kSwitchTooDeep) != 0) {
        sections.insert(p->first);
      }
    }
    for (std::set<std::string>::const_iterator s = sections.begin();
         s != sections.end(); ++s) {
      const bool reported = byProcedure[*s].count(checker::kSwitchTooDeep) != 0;
      if (reported == (view.tooDeep.count(*s) != 0)) continue;
      problems.push_back(Printf(
          "[%s] %s past the updater's nesting bound, but the checker says %s",
          s->c_str(), reported ? "does not run" : "runs",
          reported ? "it does" : "nothing"));
    }
  }
  return problems;
}

}  // namespace differential
