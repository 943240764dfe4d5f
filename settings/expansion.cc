#include "settings/expansion.h"

#include <cstring>
#include <new>

#include "base/text_builder.h"
#include "platform/compiler.h"
#include "settings/app_paths.h"
#include "settings/symbol_table.h"

namespace {

const char kPathSeparator[] = "\\";
const char kParentStep[] = "..";

// The end of the path item that starts at `item`: its backslash or the
// terminator. Out of line: the fold walks the items twice.
UPDATER_NOINLINE const char* ItemEnd(const char* item) {
  while (*item && *item != '\\') item = NextTextChar(item);
  return item;
}

}  // namespace

bool ParseAppPathsGroup(const TextString& whole, TextString* program,
                        bool* wantDefault) {
  TextString group = whole;
  group.Trim("{", "}");
  const TextString head = group.Item(0, kPathSeparator);
  *wantDefault = head.Equals("?App");
  if (!*wantDefault && head.Differs("?AppPath")) return false;
  *program = group.Item(1, kPathSeparator);
  return true;
}

bool ResolveAppPathsGroup(const TextString& whole, TextString* out) {
  TextString program;
  bool wantDefault = false;
  if (!ParseAppPathsGroup(whole, &program, &wantDefault)) return false;
  TextString value;
  if (!AppPathLookup(program.Text(), &value, wantDefault)) return false;
  if (!wantDefault) {
    // "C:\Editor\;" gives "C:\Editor\": the backslash is stripped first,
    // so one before the semicolon survives.
    value.Trim("", "\\");
    value.Trim("", ";");
  }
  return out->Assign(value.Text());
}

// Out of line: both passes that insert values ask it.
UPDATER_NOINLINE int ExpansionLimit(int length) {
  // The product cannot overflow: settings values stay far below 256 MiB.
  return length > kMaxExpandedLength / 8 ? length * 8 : kMaxExpandedLength;
}

ExpansionResult ExpandValue(TextString* text) {
  // All three passes run, whatever the earlier ones did. The results are
  // ordered: a text not whole outweighs a change, a change no change.
  ExpansionResult result = ExpandSymbols(text);
  const ExpansionResult appPaths = ExpandAppPaths(text);
  if (appPaths > result) result = appPaths;
  const ExpansionResult folded = FoldParentDirs(text);
  return folded > result ? folded : result;
}

ExpansionResult ExpandSymbols(TextString* text) {
  // The turn count is fixed before the pass: references brought in by an
  // inserted value are resolved only while turns remain. Scripts rely on
  // exactly this, so it must not become "expand until nothing changes".
  int turns = text->GroupCount("<", ">");
  if (turns == 0) return kExpansionUnchanged;
  const int limit = ExpansionLimit(text->Length());
  // The front of `done` holds the text before the walk's start, which no
  // later turn looks at again; its back the rest, which after a replacement
  // starts with the inserted value: the next turn looks at it first, as a
  // walk of the whole text would (the group replaced opened at depth 0).
  TextBuilder done;
  if (!done.Put(text->Text(), text->Length())) return kExpansionNotWhole;
  bool changed = false;
  bool notWhole = false;
  GroupWalk walk(done.Back(), "<", ">");
  while (turns-- > 0) {
    const char* begin = 0;
    const char* end = 0;
    // A turn that finds no group looks up the empty name, and nothing
    // after it changes the text.
    const bool located = walk.Next(&begin, &end);
    if (!located) begin = end = done.Back() + done.BackLength();
    // The group is looked up in place, the byte after it made its end for
    // the lookup.
    char* after = const_cast<char*>(end + (located ? 1 : 0));
    const char kept = *after;
    *after = '\0';
    TextString value;
    const SymbolLookupResult lookup = FindSymbol(begin, &value);
    *after = kept;
    const bool found = lookup != kSymbolMissing;
    const int length = static_cast<int>(after - begin);
    if (lookup == kSymbolCut ||
        (found && done.Length() - length + value.Length() > limit)) {
      // A symbol that could not be expanded whole is never used.
      notWhole = true;
    } else if (found && located) {
      done.Advance(static_cast<int>(begin - done.Back()));
      done.Skip(length);
      if (!done.Put(value.Text(), value.Length())) return kExpansionNotWhole;
      changed = true;
      walk = GroupWalk(done.Back(), "<", ">");
      continue;
    }
    if (!located) break;
  }
  if (changed && !done.CopyTo(text)) return kExpansionNotWhole;
  if (notWhole) return kExpansionNotWhole;
  return changed ? kExpansionChanged : kExpansionUnchanged;
}

ExpansionResult ExpandAppPaths(TextString* text) {
  const int turns = text->GroupCount("{", "}");
  if (turns == 0) return kExpansionUnchanged;
  const int limit = ExpansionLimit(text->Length());
  // One walk over the text as written: the walk goes on after each inserted
  // value, so braces inside it (a folder named after a GUID) are never taken
  // for groups, nor do they hide the groups after it. `done` holds the text
  // already passed, inserted values included.
  const char* const start = text->Text();
  const int length = text->Length();
  GroupWalk walk(start, "{", "}");
  TextBuilder done;
  const char* passed = start;
  bool changed = false;
  bool notWhole = false;
  const char* begin;
  const char* end;
  for (int turn = 0; turn < turns && walk.Next(&begin, &end); ++turn) {
    const TextString whole = TextOfSpan(begin, end);
    TextString value;
    if (!ResolveAppPathsGroup(whole, &value)) continue;
    const int expected = done.Length() + static_cast<int>(begin - passed) +
                         length - static_cast<int>(end + 1 - start) +
                         value.Length();
    if (expected > limit) {
      notWhole = true;
      continue;
    }
    if (!done.Append(passed, static_cast<int>(begin - passed)) ||
        !done.Append(value.Text(), value.Length())) {
      return kExpansionNotWhole;  // the text is left as it was
    }
    passed = end + 1;
    changed = true;
  }
  if (!changed) return notWhole ? kExpansionNotWhole : kExpansionUnchanged;
  if (!done.Append(passed, static_cast<int>(start + length - passed)) ||
      !done.CopyTo(text)) {
    return kExpansionNotWhole;
  }
  return notWhole ? kExpansionNotWhole : kExpansionChanged;
}

ExpansionResult FoldParentDirs(TextString* text) {
  if (!std::strstr(text->Text(), "\\..")) return kExpansionUnchanged;
  const int items = text->ItemCount(kPathSeparator);
  if (items <= 2) return kExpansionUnchanged;
  // The items are walked from 2 on: an item ".." goes together with the
  // item before it, which by then is the last one kept. Once item 1 has been
  // folded away the pass ends, so "C:\a\..\b\..\c" keeps its second step.
  // Item 0 never goes. `kept` holds the start of each item kept.
  const char* const s = text->Text();
  const char** kept = new (std::nothrow) const char*[items];
  if (!kept) return kExpansionNotWhole;
  int keptCount = 0;
  const char* restStart = 0;  // the text after the pass ended early
  bool changed = false;
  const char* item = s;
  for (int index = 0;; ++index) {
    const char* end = ItemEnd(item);
    const bool parentStep =
        end - item == 2 && std::memcmp(item, kParentStep, 2) == 0;
    if (index >= 2 && parentStep) {
      --keptCount;
      changed = true;
      if (keptCount == 1) {
        restStart = *end ? end + 1 : 0;
        break;
      }
    } else {
      kept[keptCount++] = item;
    }
    if (!*end) break;
    item = end + 1;
  }
  if (!changed) {
    delete[] kept;
    return kExpansionUnchanged;
  }
  TextBuilder folded;
  for (int i = 0; i < keptCount; ++i) {
    const char* end = ItemEnd(kept[i]);
    if (i > 0) folded.Append(kPathSeparator, 1);
    folded.Append(kept[i], static_cast<int>(end - kept[i]));
  }
  if (restStart) {
    folded.Append(kPathSeparator, 1);
    folded.Append(restStart, static_cast<int>(std::strlen(restStart)));
  }
  delete[] kept;
  return folded.CopyTo(text) ? kExpansionChanged : kExpansionNotWhole;
}
