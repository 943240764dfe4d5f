#include "settings/expansion.h"

#include <cstring>

#include "settings/app_paths.h"
#include "settings/symbol_table.h"

namespace {

const char kPathSeparator[] = "\\";
const char kParentStep[] = "..";

// Whether replacing `group` in `text` by `value` stays within the limit.
bool FitsAfterReplacing(const TextString& text, const TextString& group,
                        const TextString& value) {
  return text.Length() - group.Length() + value.Length() <= kMaxExpandedLength;
}

}  // namespace

bool ExpandValue(TextString& text) {
  // All three passes run, whatever the earlier ones did.
  bool symbols = ExpandSymbols(text);
  bool appPaths = ExpandAppPaths(text);
  bool folded = FoldParentDirs(text);
  return symbols || appPaths || folded;
}

bool ExpandSymbols(TextString& text) {
  // The turn count is fixed before the pass: references brought in by an
  // inserted value are resolved only while turns remain. Scripts rely on
  // exactly this, so it must not become "expand until nothing changes".
  int turns = text.GroupCount("<", ">");
  bool changed = false;
  int i = 0;
  for (int turn = 0; turn < turns; ++turn) {
    TextString group = text.Group(i, "<", ">");
    TextString value;
    if (LookupSymbol(group.Text(), value) &&
        FitsAfterReplacing(text, group, value) &&
        text.ReplaceGroup(i, "<", ">", value.Text())) {
      changed = true;  // i stays: the inserted value is looked at next
    } else {
      ++i;
    }
  }
  return changed;
}

bool ExpandAppPaths(TextString& text) {
  int turns = text.GroupCount("{", "}");
  bool changed = false;
  int i = 0;
  for (int turn = 0; turn < turns; ++turn) {
    const TextString whole = text.Group(i, "{", "}");
    TextString group = whole;
    group.Trim("{", "}");
    TextString head = group.Item(0, kPathSeparator);
    TextString program = group.Item(1, kPathSeparator);
    bool wantDefault = head.Equals("?App");
    // Anything else, such as a GUID in braces, stays as written.
    if (!wantDefault && head.Differs("?AppPath")) {
      ++i;
      continue;
    }
    if (!AppPathLookup(program.Text(), group, wantDefault)) {
      ++i;
      continue;
    }
    if (!wantDefault) {
      // "C:\Editor\;" gives "C:\Editor\": the backslash is stripped first,
      // so one before the semicolon survives.
      group.Trim("", "\\");
      group.Trim("", ";");
    }
    if (!FitsAfterReplacing(text, whole, group)) {
      ++i;
      continue;
    }
    if (text.ReplaceGroup(i, "{", "}", group.Text())) changed = true;
  }
  return changed;
}

bool FoldParentDirs(TextString& text) {
  if (!std::strstr(text.Text(), "\\..")) return false;
  int items = text.ItemCount(kPathSeparator);
  if (items <= 2) return false;
  // d walks the items from 2 on, k = d - 2. A fold of items k..d leaves
  // item k; once item 1 has been folded away (k < 0) the pass ends, so
  // "C:\a\..\b\..\c" keeps its second step. Item 0 never goes.
  bool changed = false;
  int d = 2;
  int k = 0;
  for (int turn = 0; turn < items - 2; ++turn) {
    if (std::strcmp(text.Item(d, kPathSeparator).Text(), kParentStep) != 0) {
      ++d;
      ++k;
      continue;
    }
    TextString kept = text.Item(k, kPathSeparator);
    if (text.ReplaceItems(k, d, kPathSeparator, kept.Text())) changed = true;
    --d;
    --k;
    if (k < 0) break;
  }
  return changed;
}
