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
#include "checker/suppressions.h"
#include "checker/symbols_check.h"
#include "platform/platform.h"
#include "settings/param_reader.h"

namespace checker {

namespace {

// [UPDATER] NAME or PROC, as start-up reads it; false after the finding.
bool ReadUpdaterKey(const Context& context, const char* key, TextString* out) {
  if (ReadParam("UPDATER", key, out)) return true;
  const std::vector<Box> boxes = context.errors->Take();
  const Box box =
      boxes.empty() ? MakeBox(MSG_BAD_FORMAT, "UPDATER", key) : boxes[0];
  if (!context.text->HasSection("UPDATER")) {
    // Start-up stops at NAME: one finding for the section.
    context.findings->AddWithBox(1, "UPDATER", "", kSectionMissing,
                                 "the file has no such section: the updater "
                                 "has nothing to run",
                                 box);
  } else {
    const Refusal refusal = WhyRefused(*context.text, "UPDATER", key);
    context.findings->AddWithBox(
        refusal.code == kKeyMissing ? context.text->SectionLine("UPDATER")
                                    : context.LineOf("UPDATER", key),
        "UPDATER", key, refusal.code, refusal.message, box);
  }
  return false;
}

// Start-up refuses a [DEFINE] it cannot read whole, before anything runs.
void ReportDefineNotWhole(const Context& context) {
  const std::vector<Box> boxes = context.errors->Take();
  context.findings->AddWithBox(
      context.text->SectionLine("DEFINE"), "DEFINE", "", kValueNotWhole,
      Printf(
          "the section is longer than the profile functions of %s read: "
          "the updater stops at start-up",
          platform::IsNtPlatform() ? "the NT family" : "Windows 95, 98 and Me"),
      boxes.empty() ? MakeBox(MSG_BAD_FORMAT, "DEFINE", "") : boxes[0]);
}

void CheckLoadedFile(const std::string& profilePath, const SettingsText& text,
                     const CheckOptions& options, Findings* findings,
                     Flow* flow) {
  ErrorCollector errors;
  const Context context = {&text, findings, &errors, options.here};
  if (!DefineSymbols(options.here, profilePath)) {
    ReportDefineNotWhole(context);
    return;
  }
  CheckDefine(context);

  TextString name;
  TextString proc;
  ReadUpdaterKey(context, "NAME", &name);
  const bool hasProc = ReadUpdaterKey(context, "PROC", &proc);
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
  if (options.here) CheckHere(context, *flow);
}

}  // namespace

void CheckSettings(const std::string& profilePath, const std::string& bytes,
                   const CheckOptions& options, Findings* findings,
                   Flow* flow) {
  if (!CheckEncoding(bytes, findings)) return;
  const SettingsText text(bytes);
  CheckLines(text, findings);

  ResetProcessState();
  SettingsPath.Set(profilePath.c_str());
  CheckLoadedFile(profilePath, text, options, findings, flow);
  ResetProcessState();
  ApplySuppressions(text, options.excluded, findings);
}

}  // namespace checker
