#include "checker/list_walk.h"

#include <map>
#include <set>
#include <utility>

#include "checker/kind_checks.h"
#include "checker/kind_keys.h"
#include "checker/markup.h"
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

bool IsMode(const ProcRecord* record, const char* mode) {
  return record && EqualsIgnoringCase(record->mode.Text(), mode);
}

std::string Describe(const FlowList& list) {
  return Printf("[%s] %s", list.owner.c_str(), list.key.c_str());
}

class ListWalker {
 public:
  ListWalker(const Context& context, Flow* flow)
      : context_(context), flow_(flow) {}

  int Walk(const TextString& text, const std::string& owner,
           const std::string& key);
  void ReportUnreachable();

 private:
  struct Entered {
    std::string name;  // the SWITCH whose branch is being walked
    std::string key;   // that branch
  };

  ProcRecord* Load(const std::string& name, unsigned ownerLine);
  void ReportMissingKeys(const std::string& name, const std::string& mode,
                         const std::vector<Box>& boxes);
  void CheckReferences(int list);
  // SWITCH PROC or MSGBOX FLAG of item `at` names `target`; false when no
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
  if (!ReadParam(name.c_str(), "MODE", mode)) {
    const std::vector<Box> boxes = context_.errors->Take();
    const Box box =
        boxes.empty() ? MakeBox(MSG_BAD_FORMAT, name, "MODE") : boxes[0];
    if (!context_.text->HasSection(name)) {
      context_.findings->AddWithBox(
          ownerLine, name, "", kSectionMissing,
          "the list names this section, but the file has none of that name",
          box);
    } else {
      context_.findings->AddWithBox(
          context_.text->SectionLine(name), name, "MODE", kKeyMissing,
          WhyMissing(*context_.text, name, "MODE"), box);
    }
    return 0;
  }
  context_.errors->Take();
  const ProcKind* kind = FindProcKind(mode);
  if (!kind) {
    context_.findings->AddWithBox(
        context_.LineOf(name, "MODE"), name, "MODE", kUnknownMode,
        Printf("'%s' names no kind: EXIST, DATE, SWITCH, MSGBOX, COPY, "
               "LAUNCH, DELETE, LINK, OSVER, MAKEDIR or ATTR",
               mode.Text()),
        MakeBox(MSG_BAD_SYMBOL, mode.Text()));
    return 0;
  }
  ProcRecord* record = kind->load(name.c_str());
  const std::vector<Box> boxes = context_.errors->Take();
  if (!record) {
    ReportMissingKeys(name, mode.Text(), boxes);
    CheckSectionKeys(context_, name, mode.Text());
  }
  return record;
}

void ListWalker::ReportMissingKeys(const std::string& name,
                                   const std::string& mode,
                                   const std::vector<Box>& boxes) {
  std::string first;
  if (!boxes.empty() && boxes[0].id == MSG_BAD_FORMAT &&
      boxes[0].args.size() == 2) {
    first = boxes[0].args[1];
    context_.findings->AddWithBox(
        context_.text->SectionLine(name), name, first, kKeyMissing,
        WhyMissing(*context_.text, name, first), boxes[0]);
  }
  // The loader stops at the first missing key; the others are missing too.
  const KindKeys* keys = KindKeysOf(mode);
  for (int i = 0; keys && i < keys->count; ++i) {
    std::string value;
    if (EqualsIgnoringCase(keys->keys[i], first) ||
        RawValue(name, keys->keys[i], &value)) {
      continue;
    }
    context_.findings->Add(context_.text->SectionLine(name), name,
                           keys->keys[i], kKeyMissing,
                           WhyMissing(*context_.text, name, keys->keys[i]));
  }
}

bool ListWalker::CheckTested(int list, int at, const std::string& key,
                             const std::string& target) {
  const std::vector<FlowItem>& items = flow_->lists[list].items;
  int tested = -1;
  for (size_t j = 0; j < items.size() && tested < 0; ++j) {
    if (EqualsIgnoringCase(items[j].name, target)) tested = static_cast<int>(j);
  }
  if (tested < 0) return false;
  const std::string& name = items[at].name;
  const unsigned line = context_.LineOf(name, key);
  if (tested >= at) {
    context_.findings->Add(
        line, name, key, kTestedNotRun,
        Printf("tests %s, which %s: its result is still false then",
               target.c_str(),
               tested == at ? "is this procedure itself"
                            : "comes later in the list"));
  } else if (IsMode(items[tested].record, "SWITCH")) {
    context_.findings->Add(
        line, name, key, kTestedNotRun,
        Printf("tests %s, a SWITCH, whose result is always false",
               target.c_str()));
  }
  return true;
}

void ListWalker::CheckReferences(int list) {
  for (size_t k = 0; k < flow_->lists[list].items.size(); ++k) {
    const FlowItem& item = flow_->lists[list].items[k];
    const int at = static_cast<int>(k);
    if (IsMode(item.record, "SWITCH")) {
      const SWITCH_INFO* info = static_cast<const SWITCH_INFO*>(item.record);
      TextString target(info->PROC);
      target.Trim(" ");
      if (!CheckTested(list, at, "PROC", target.Text())) {
        context_.findings->AddWithBox(
            context_.LineOf(item.name, "PROC"), item.name, "PROC",
            kSwitchTargetMissing,
            Printf("'%s' names no procedure of the list %s", target.Text(),
                   Describe(flow_->lists[list]).c_str()),
            MakeBox(MSG_BAD_SYMBOL, info->PROC.Text()));
      }
    } else if (IsMode(item.record, "MSGBOX")) {
      const MSGBOX_INFO* info = static_cast<const MSGBOX_INFO*>(item.record);
      if (info->FLAG.ItemCount(",") < 2) continue;
      const std::string target = ListItem(info->FLAG, 0).Text();
      if (!CheckTested(list, at, "FLAG", target)) {
        context_.findings->AddWithBox(
            context_.LineOf(item.name, "FLAG"), item.name, "FLAG",
            kFlagTargetMissing,
            Printf("'%s' names no procedure of the list %s", target.c_str(),
                   Describe(flow_->lists[list]).c_str()),
            MakeBox(MSG_BAD_SYMBOL, info->FLAG.Text()));
      }
      const TextString expected = ListItem(info->FLAG, 1);
      if (expected.Equals("0") || expected.Equals("1")) continue;
      const int read = expected.ToInt();
      context_.findings->Add(
          context_.LineOf(item.name, "FLAG"), item.name, "FLAG",
          kFlagExpectation,
          read == 0 || read == 1
              ? Printf("expects '%s', read as %d: write 0 or 1",
                       expected.Text(), read)
              : Printf("expects %d, but a result is 0 or 1: the box is never "
                       "shown",
                       read));
    }
  }
}

void ListWalker::WalkBranches(int list, int at) {
  const std::string name = flow_->lists[list].items[at].name;
  const SWITCH_INFO* info =
      static_cast<const SWITCH_INFO*>(flow_->lists[list].items[at].record);
  for (int b = 0; b < 2; ++b) {
    const TextString& branch = b ? info->LIST1 : info->LIST0;
    if (branch.ItemCount(",") == 0) continue;
    const std::string key = b ? "1" : "0";
    // Loading a branch from inside itself: the walk came round.
    const Entered* outer = 0;
    for (size_t e = 0; e < entered_.size() && !outer; ++e) {
      if (NameKey(entered_[e].name) == NameKey(name) &&
          entered_[e].key == key) {
        outer = &entered_[e];
      }
    }
    if (outer) {
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
      flow_->lists[list].items[at].loops[b] = true;
      flow_->lists[list].items[at].branch[b] =
          again == walked_.end() ? -1 : again->second;
      continue;
    }
    Entered entered = {name, key};
    entered_.push_back(entered);
    const int walked = Walk(branch, name, key);
    entered_.pop_back();
    flow_->lists[list].items[at].branch[b] = walked;
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
    item.branch[0] = item.branch[1] = -1;
    item.loops[0] = item.loops[1] = false;
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
    if (IsMode(flow_->lists[list].items[k].record, "SWITCH")) {
      WalkBranches(list, k);
    }
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
}

}  // namespace checker
