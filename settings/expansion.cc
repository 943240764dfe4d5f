#include "settings/expansion.h"

#include <cstring>

#include "settings/app_paths.h"
#include "settings/symbol_table.h"

namespace {

const char kPathSeparator[] = "\\";
const char kParentStep[] = "..";

// Whether replacing `group` in `text` by `value` stays within `limit`;
// notes in `limited` when it does not.
bool FitsAfterReplacing(const TextString& text, const TextString& group,
                        const TextString& value, int limit, bool* limited) {
  if (text.Length() - group.Length() + value.Length() <= limit) return true;
  if (limited) *limited = true;
  return false;
}

// The text an App Paths group stands for. False when the group is no App
// Paths group (a GUID in braces, say) or its program is not recorded.
bool ResolveAppPathsGroup(const TextString& whole, TextString& out) {
  TextString group = whole;
  group.Trim("{", "}");
  TextString head = group.Item(0, kPathSeparator);
  TextString program = group.Item(1, kPathSeparator);
  bool wantDefault = head.Equals("?App");
  if (!wantDefault && head.Differs("?AppPath")) return false;
  if (!AppPathLookup(program.Text(), group, wantDefault)) return false;
  if (!wantDefault) {
    // "C:\Editor\;" gives "C:\Editor\": the backslash is stripped first,
    // so one before the semicolon survives.
    group.Trim("", "\\");
    group.Trim("", ";");
  }
  return out.Assign(group.Text());
}

}  // namespace

bool ExpandValue(TextString& text) { return ExpandValue(text, 0); }
bool ExpandSymbols(TextString& text) { return ExpandSymbols(text, 0); }
bool ExpandAppPaths(TextString& text) { return ExpandAppPaths(text, 0); }

int ExpansionLimit(int length) {
  // The product cannot overflow: settings values stay far below 256 MiB.
  return length > kMaxExpandedLength / 8 ? length * 8 : kMaxExpandedLength;
}

bool ExpandValue(TextString& text, bool* limited) {
  // All three passes run, whatever the earlier ones did.
  bool symbols = ExpandSymbols(text, limited);
  bool appPaths = ExpandAppPaths(text, limited);
  bool folded = FoldParentDirs(text);
  return symbols || appPaths || folded;
}

bool ExpandSymbols(TextString& text, bool* limited) {
  // The turn count is fixed before the pass: references brought in by an
  // inserted value are resolved only while turns remain. Scripts rely on
  // exactly this, so it must not become "expand until nothing changes".
  int turns = text.GroupCount("<", ">");
  const int limit = ExpansionLimit(text.Length());
  bool changed = false;
  int i = 0;
  for (int turn = 0; turn < turns; ++turn) {
    TextString group = text.Group(i, "<", ">");
    TextString value;
    if (LookupSymbol(group.Text(), value) &&
        FitsAfterReplacing(text, group, value, limit, limited) &&
        text.ReplaceGroup(i, "<", ">", value.Text())) {
      changed = true;  // i stays: the inserted value is looked at next
    } else {
      ++i;
    }
  }
  return changed;
}

bool ExpandAppPaths(TextString& text, bool* limited) {
  const int turns = text.GroupCount("{", "}");
  const int limit = ExpansionLimit(text.Length());
  // `done` holds the text already passed, inserted values included; `rest`
  // the text still to look at, which starts where the bracket walk is back
  // at depth 0. Braces inside an inserted value (a folder named after a
  // GUID) are never taken for groups, nor do they hide the groups after it.
  TextString done;
  TextString rest(text);
  bool changed = false;
  int i = 0;
  for (int turn = 0; turn < turns; ++turn) {
    const char* begin;
    const char* end;
    if (!rest.LocateGroups(i, i, "{", "}", &begin, &end)) break;
    const TextString whole = rest.Slice(begin, end);
    TextString value;
    if (!ResolveAppPathsGroup(whole, value)) {
      ++i;
      continue;
    }
    const int expected =
        done.Length() + rest.Length() - whole.Length() + value.Length();
    if (expected > limit) {
      if (limited) *limited = true;
      ++i;
      continue;
    }
    const int first = static_cast<int>(begin - rest.Text());
    const int last = static_cast<int>(end - rest.Text());
    if (first > 0) done.Add(rest.Mid(0, first - 1));
    done.Add(value);
    rest = rest.Mid(last + 1, rest.Length());
    // A failed allocation on the way leaves the text as it was.
    if (done.Length() + rest.Length() != expected) return false;
    i = 0;
    changed = true;
  }
  if (changed) text.Set(done.Concat(rest));
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
