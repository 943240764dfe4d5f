#include "checker/list_walk.h"

#include <algorithm>
#include <map>
#include <set>
#include <utility>

#include "checker/kind_checks.h"
#include "checker/markup.h"
#include "commands/exit_code_list.h"
#include "commands/item_list.h"
#include "commands/kind_table.h"
#include "commands/msgbox.h"
#include "commands/switch.h"
#include "settings/param_reader.h"

namespace checker {

Flow::~Flow() {
  for (size_t l = 0; l < lists.size(); ++l) {
    for (size_t i = 0; i < lists[l].items.size(); ++i) {
      delete lists[l].items[i].record;
    }
  }
}

namespace {

std::string Describe(const FlowList& list) {
  return Printf("[%s] %s", list.owner.c_str(), list.key.c_str());
}

// "EXIST, DATE, ... or ATTR": the MODE words in the order they are matched.
std::string ModeWords() {
  std::string words;
  for (int i = 0; i < kProcKindCount; ++i) {
    if (i > 0) words += i + 1 < kProcKindCount ? ", " : " or ";
    words += kProcKinds[i].mode;
  }
  return words;
}

// Whether the updater's reader takes the key: the loader's own reading of
// it, its message caught and dropped.
bool ReaderTakes(const Context& context, const std::string& section,
                 const ProcKey& key) {
  bool taken;
  if (key.reader == kLeadingNumber) {
    int number = 0;
    taken = ReadIntParam(section.c_str(), key.key, &number);
  } else {
    TextString value;
    taken = ReadKeyText(section.c_str(), key, &value);
  }
  context.errors->Take();
  return taken;
}

// Why the reader refuses a list of exit codes that reads whole: an item
// that is no code. `refusal` stays as it is for any other reason.
void ExitCodeRefusal(const Context& context, const std::string& section,
                     const ProcKey& key, Refusal* refusal) {
  TextString value;
  TextString bad;
  const bool read = ReadParam(section.c_str(), key.key, &value);
  context.errors->Take();
  if (!read || !FindBadExitCode(value, &bad)) return;
  refusal->code = kBadExitCode;
  refusal->message = Printf(
      "'%s' is no exit code (a decimal number from -2147483648 to "
      "4294967295, or 0x and up to 8 hexadecimal digits): the updater "
      "refuses the list, since it could not judge the program's answer",
      bad.Text());
}

// Whether the item is a SWITCH with a branch that is not empty.
bool HasBranchToLoad(const FlowItem& item) {
  for (size_t b = 0; b < item.branches.size(); ++b) {
    const ProcKey* key =
        FindProcKey(*item.record->kind, item.branches[b].key.c_str());
    if (key && KeyText(*item.record, *key)->ItemCount(",") > 0) return true;
  }
  return false;
}

class ListWalker {
 public:
  ListWalker(const Context& context, Flow* flow)
      : context_(context), flow_(flow) {}

  int Walk(const TextString& text, const std::string& owner,
           const std::string& key);
  void ReportUnreachable();
  void ReportDepth();

 private:
  struct Entered {
    std::string name;  // the SWITCH whose branch is being walked
    std::string key;   // that branch
  };

  ProcRecord* Load(const std::string& name, unsigned ownerLine);
  void ReportRefusedKeys(const std::string& name, const ProcKind& kind,
                         const std::vector<Box>& boxes);
  void CheckReferences(int list);
  // A SWITCH PROC or MSGBOX FLAG of item `at` names `target`; false when no
  // procedure of the list bears that name.
  bool CheckTested(int list, int at, const std::string& key,
                   const std::string& target);
  void WalkBranches(int list, int at);

  const Context& context_;
  Flow* flow_;
  std::map<std::string, int> walked_;  // SWITCH and branch -> list
  std::vector<Entered> entered_;       // branches being walked, outermost first
  std::set<std::string> reached_;      // sections named by a list
};

ProcRecord* ListWalker::Load(const std::string& name, unsigned ownerLine) {
  reached_.insert(NameKey(name));
  // The steps of LoadProcList for one item, repeated for every item so that
  // every bad section is reported, not only the first.
  TextString mode;
  if (!ReadParam(name.c_str(), "MODE", &mode)) {
    const std::vector<Box> boxes = context_.errors->Take();
    const Box box =
        boxes.empty() ? MakeBox(MSG_BAD_FORMAT, name, "MODE") : boxes[0];
    if (!context_.text->HasSection(name)) {
      context_.findings->AddWithBox(
          ownerLine, name, "", kSectionMissing,
          "the list names this section, but the file has none of that name",
          box);
    } else {
      const Refusal refusal = WhyRefused(*context_.text, name, "MODE");
      context_.findings->AddWithBox(
          refusal.code == kKeyMissing ? context_.text->SectionLine(name)
                                      : context_.LineOf(name, "MODE"),
          name, "MODE", refusal.code, refusal.message, box);
    }
    return 0;
  }
  context_.errors->Take();
  const ProcKind* kind = FindProcKind(mode);
  if (!kind) {
    context_.findings->AddWithBox(
        context_.LineOf(name, "MODE"), name, "MODE", kUnknownMode,
        Printf("'%s' names no kind: %s", mode.Text(), ModeWords().c_str()),
        MakeBox(MSG_BAD_SYMBOL, mode.Text()));
    return 0;
  }
  ProcRecord* record = kind->load(name.c_str());
  const std::vector<Box> boxes = context_.errors->Take();
  if (!record) {
    ReportRefusedKeys(name, *kind, boxes);
    CheckSectionKeys(context_, name, *kind);
  }
  return record;
}

void ListWalker::ReportRefusedKeys(const std::string& name,
                                   const ProcKind& kind,
                                   const std::vector<Box>& boxes) {
  std::string first;
  if (!boxes.empty() && boxes[0].id == MSG_BAD_FORMAT &&
      boxes[0].args.size() == 2) {
    first = boxes[0].args[1];
  }
  // The loader stops at the first key it refuses; every required key it
  // would refuse is reported, the first with the updater's box.
  for (int i = 0; i < kind.keyCount; ++i) {
    const ProcKey& key = kind.keys[i];
    const bool isFirst = SameName(key.key, first);
    if (!isFirst &&
        (key.presence != kRequired || key.readIfNonZero != kAlwaysRead ||
         ReaderTakes(context_, name, key))) {
      continue;
    }
    Refusal refusal = WhyRefused(*context_.text, name, key.key);
    if (key.reader == kExitCodeList) {
      ExitCodeRefusal(context_, name, key, &refusal);
    }
    const unsigned line = refusal.code == kKeyMissing
                              ? context_.text->SectionLine(name)
                              : context_.LineOf(name, key.key);
    if (isFirst) {
      context_.findings->AddWithBox(line, name, key.key, refusal.code,
                                    refusal.message, boxes[0]);
    } else {
      context_.findings->Add(line, name, key.key, refusal.code,
                             refusal.message);
    }
  }
}

bool ListWalker::CheckTested(int list, int at, const std::string& key,
                             const std::string& target) {
  const std::vector<FlowItem>& items = flow_->lists[list].items;
  int tested = -1;
  for (size_t j = 0; j < items.size() && tested < 0; ++j) {
    if (SameText(items[j].name, target)) tested = static_cast<int>(j);
  }
  if (tested < 0) return false;
  const std::string& name = items[at].name;
  const unsigned line = context_.LineOf(name, key);
  const ProcRecord* record = items[tested].record;
  if (tested >= at) {
    context_.findings->Add(
        line, name, key, kTestedNotRun,
        Printf("tests %s, which %s: its result is still false then",
               target.c_str(),
               tested == at ? "is this procedure itself"
                            : "comes later in the list"));
  } else if (record && record->kind->outcome == kResultNeverSet) {
    context_.findings->Add(
        line, name, key, kTestedNotRun,
        Printf("tests %s, a %s, whose result is always false", target.c_str(),
               record->kind->mode));
  }
  return true;
}

void ListWalker::CheckReferences(int list) {
  for (size_t k = 0; k < flow_->lists[list].items.size(); ++k) {
    const FlowItem& item = flow_->lists[list].items[k];
    if (!item.record) continue;
    const ProcKind& kind = *item.record->kind;
    const int at = static_cast<int>(k);
    for (int i = 0; i < kind.keyCount; ++i) {
      const ProcKey& key = kind.keys[i];
      if (key.form != kTestedProcedure && key.form != kFlagTest) continue;
      const TextString& value = *KeyText(*item.record, key);
      TextString target = TestedName(value);
      int expected = 0;
      if (key.form == kFlagTest && !ParseFlag(value, &target, &expected)) {
        continue;  // no test: the box is always shown
      }
      const unsigned line = context_.LineOf(item.name, key.key);
      if (!CheckTested(list, at, key.key, target.Text())) {
        context_.findings->AddWithBox(
            line, item.name, key.key,
            key.form == kFlagTest ? kFlagTargetMissing : kSwitchTargetMissing,
            Printf("'%s' names no procedure of the list %s", target.Text(),
                   Describe(flow_->lists[list]).c_str()),
            MakeBox(MSG_BAD_SYMBOL, value.Text()));
      }
      if (key.form != kFlagTest) continue;
      const TextString written = ListItem(value, 1);
      if (written.Equals("0") || written.Equals("1")) continue;
      context_.findings->Add(
          line, item.name, key.key, kFlagExpectation,
          expected == 0 || expected == 1
              ? Printf("expects '%s', read as %d: write 0 or 1", written.Text(),
                       expected)
              : Printf("expects %d, but a result is 0 or 1: the box is never "
                       "shown",
                       expected));
    }
  }
}

void ListWalker::WalkBranches(int list, int at) {
  const std::string name = flow_->lists[list].items[at].name;
  const ProcRecord& record = *flow_->lists[list].items[at].record;
  const ProcKind& kind = *record.kind;
  for (int k = 0; k < kind.keyCount; ++k) {
    const ProcKey& branchKey = kind.keys[k];
    if (branchKey.form != kBranchList) continue;
    FlowBranch branch = {branchKey.key, -1, false};
    const TextString& text = *KeyText(record, branchKey);
    const std::string key = branchKey.key;
    // Loading a branch from inside itself: the walk came round.
    const Entered* outer = 0;
    for (size_t e = 0; e < entered_.size() && !outer; ++e) {
      if (NameKey(entered_[e].name) == NameKey(name) &&
          entered_[e].key == key) {
        outer = &entered_[e];
      }
    }
    if (text.ItemCount(",") == 0) {
      // nothing to load
    } else if (outer) {
      // Loading this branch again would repeat the walk without end; the
      // updater nests one level per pass up to its bound.
      context_.findings->Add(
          context_.LineOf(outer->name, outer->key), outer->name, outer->key,
          kSwitchLoop,
          Printf("branch %s leads back to [%s]: each pass loads one more "
                 "level, and at %d the updater stops the run",
                 outer->key.c_str(), outer->name.c_str(), kMaxProcListDepth));
      std::map<std::string, int>::const_iterator again =
          walked_.find(NameKey(name) + "\n" + key);
      branch.loops = true;
      branch.list = again == walked_.end() ? -1 : again->second;
    } else {
      Entered entered = {name, key};
      entered_.push_back(entered);
      branch.list = Walk(text, name, key);
      entered_.pop_back();
    }
    flow_->lists[list].items[at].branches.push_back(branch);
  }
}

int ListWalker::Walk(const TextString& text, const std::string& owner,
                     const std::string& key) {
  // A branch list is the same wherever its SWITCH stands: walked once.
  const std::string walkedKey = NameKey(owner) + "\n" + key;
  std::map<std::string, int>::const_iterator done = walked_.find(walkedKey);
  if (done != walked_.end()) return done->second;
  const int list = static_cast<int>(flow_->lists.size());
  walked_[walkedKey] = list;
  FlowList entry;
  entry.owner = owner;
  entry.key = key;
  flow_->lists.push_back(entry);

  const unsigned ownerLine = context_.LineOf(owner, key);
  const int count = text.ItemCount(",");
  for (int i = 0; i < count; ++i) {
    FlowItem item;
    item.name = ListItem(text, i).Text();
    item.record = 0;
    if (item.name.empty()) {
      context_.findings->AddWithBox(
          ownerLine, owner, key, kEmptyListName,
          Printf("item %d is empty: the updater looks for a section without "
                 "a name and runs nothing of this list",
                 i + 1),
          MakeBox(MSG_BAD_FORMAT, "", "MODE"));
    } else {
      item.record = Load(item.name, ownerLine);
    }
    flow_->lists[list].items.push_back(item);
  }
  CheckReferences(list);
  for (int k = 0; k < count; ++k) {
    if (flow_->lists[list].items[k].record) WalkBranches(list, k);
  }
  return list;
}

void ListWalker::ReportUnreachable() {
  const std::vector<TextSection>& sections = context_.text->Sections();
  for (size_t i = 0; i < sections.size(); ++i) {
    const TextSection& section = sections[i];
    if (section.first != static_cast<int>(i) || section.name.empty() ||
        SameName(section.name, "UPDATER") || SameName(section.name, "DEFINE") ||
        reached_.count(NameKey(section.name)) != 0) {
      continue;
    }
    const TextLine* mode = context_.text->KeyLine(section.name, "MODE");
    if (!mode || mode->kind != platform::ProfileLine::kKey) continue;
    flow_->unreachable.push_back(section.name);
    context_.findings->Add(section.line, section.name, "", kUnreachable,
                           "no list names this procedure: it never runs");
  }
}

// A SWITCH running in the list at depth kMaxProcListDepth (the [UPDATER]
// PROC list is at depth 1) has no room for its branch: the updater stops
// the run there. Depths follow the deepest way to each list that the
// updater can take; the way round a loop is the loop's own finding.
void ListWalker::ReportDepth() {
  const size_t count = flow_->lists.size();
  // Lists in an order where each comes after every list whose branch leads
  // to it: a depth-first walk, each list after all it leads to, reversed.
  std::vector<int> order;
  std::vector<int> state(count, 0);  // 0 new, 1 on the way, 2 placed
  std::vector<std::pair<int, size_t> > stack;
  if (count > 0) stack.push_back(std::make_pair(0, size_t(0)));
  std::vector<std::vector<int> > next(count);
  for (size_t l = 0; l < count; ++l) {
    for (size_t i = 0; i < flow_->lists[l].items.size(); ++i) {
      const std::vector<FlowBranch>& branches =
          flow_->lists[l].items[i].branches;
      for (size_t b = 0; b < branches.size(); ++b) {
        if (!branches[b].loops && branches[b].list >= 0) {
          next[l].push_back(branches[b].list);
        }
      }
    }
  }
  // A list with an item that does not load never runs: nothing of it
  // nests further.
  std::vector<bool> loads(count, true);
  for (size_t l = 0; l < count; ++l) {
    for (size_t i = 0; i < flow_->lists[l].items.size(); ++i) {
      if (!flow_->lists[l].items[i].record) loads[l] = false;
    }
  }
  if (count > 0) state[0] = 1;
  while (!stack.empty()) {
    const int list = stack.back().first;
    const size_t at = stack.back().second++;
    if (at < next[list].size()) {
      const int target = next[list][at];
      if (state[target] == 0) {
        state[target] = 1;
        stack.push_back(std::make_pair(target, size_t(0)));
      }
      continue;
    }
    state[list] = 2;
    order.push_back(list);
    stack.pop_back();
  }
  std::reverse(order.begin(), order.end());
  std::vector<int> depth(count, 0);
  if (count > 0) depth[0] = 1;
  for (size_t o = 0; o < order.size(); ++o) {
    const int list = order[o];
    // A list at the bound loads no branch: nothing is ever nested deeper.
    if (depth[list] >= kMaxProcListDepth || !loads[list]) continue;
    for (size_t n = 0; n < next[list].size(); ++n) {
      depth[next[list][n]] = std::max(depth[next[list][n]], depth[list] + 1);
    }
  }
  for (size_t l = 0; l < count; ++l) {
    if (depth[l] < kMaxProcListDepth || !loads[l]) continue;
    for (size_t i = 0; i < flow_->lists[l].items.size(); ++i) {
      const FlowItem& item = flow_->lists[l].items[i];
      if (!HasBranchToLoad(item)) continue;
      context_.findings->AddWithBox(
          context_.text->SectionLine(item.name), item.name, "", kSwitchTooDeep,
          Printf("runs in the list %s, nested %d deep: the updater loads at "
                 "most %d lists at once and stops the run here rather than "
                 "load a branch",
                 Describe(flow_->lists[l]).c_str(), depth[l],
                 kMaxProcListDepth),
          MakeBox(MSG_BAD_SYMBOL, item.name));
    }
  }
}

}  // namespace

void WalkLists(const Context& context, const TextString& proc, Flow* flow) {
  if (proc.ItemCount(",") == 0) {
    context.findings->AddWithBox(
        context.LineOf("UPDATER", "PROC"), "UPDATER", "PROC", kEmptyList,
        "PROC is empty: the updater has nothing to run",
        MakeBox(MSG_BAD_ITEM_COUNT, "UPDATER", "PROC"));
    return;
  }
  ListWalker walker(context, flow);
  walker.Walk(proc, "UPDATER", "PROC");
  walker.ReportUnreachable();
  walker.ReportDepth();
}

}  // namespace checker
