#include "checker/checker.h"

#include <set>

#include "app/process_state.h"
#include "checker/context.h"
#include "checker/error_collector.h"
#include "checker/file_checks.h"
#include "checker/here_checks.h"
#include "checker/kind_checks.h"
#include "checker/list_walk.h"
#include "checker/settings_text.h"
#include "checker/symbols_check.h"
#include "settings/param_reader.h"

namespace checker {

namespace {

// [UPDATER] NAME or PROC, as start-up reads it; false after the finding.
bool ReadUpdaterKey(const Context& context, const char* key, TextString& out) {
  if (ReadParam("UPDATER", key, out)) return true;
  const std::vector<Box> boxes = context.errors->Take();
  Box box;
  box.id = MSG_BAD_FORMAT;
  box.args.push_back("UPDATER");
  box.args.push_back(key);
  if (!context.text->HasSection("UPDATER")) {
    // Start-up stops at NAME: one finding for the section.
    context.findings->AddWithBox(1, "UPDATER", "", kSectionMissing,
                                 "the file has no such section: the updater "
                                 "has nothing to run",
                                 boxes.empty() ? box : boxes[0]);
  } else {
    context.findings->AddWithBox(context.text->SectionLine("UPDATER"),
                                 "UPDATER", key, kKeyMissing,
                                 WhyMissing(*context.text, "UPDATER", key),
                                 boxes.empty() ? box : boxes[0]);
  }
  return false;
}

}  // namespace

void CheckSettings(const std::string& profilePath, const std::string& bytes,
                   bool here, Findings* findings, Flow* flow) {
  if (!CheckEncoding(bytes, *findings)) return;
  const SettingsText text(bytes);
  CheckLines(text, *findings);

  ResetProcessState();
  SettingsPath.Set(profilePath.c_str());
  {
    ErrorCollector errors;
    const Context context = {&text, findings, &errors, here};
    DefineSymbols(here, profilePath);
    CheckDefine(context);

    TextString name;
    TextString proc;
    ReadUpdaterKey(context, "NAME", name);
    const bool hasProc = ReadUpdaterKey(context, "PROC", proc);
    if (text.HasSection("UPDATER")) CheckUpdaterSection(context, name, proc);
    if (hasProc) WalkLists(context, proc, flow);
    // Each section once, though several lists may name it.
    std::set<std::string> checked;
    for (size_t l = 0; l < flow->lists.size(); ++l) {
      for (size_t i = 0; i < flow->lists[l].items.size(); ++i) {
        const ProcRecord* record = flow->lists[l].items[i].record;
        if (record && checked.insert(NameKey(record->name.Text())).second) {
          CheckProcedure(context, *record);
        }
      }
    }
    if (here) CheckHere(context, *flow);
  }
  ResetProcessState();
}

}  // namespace checker
