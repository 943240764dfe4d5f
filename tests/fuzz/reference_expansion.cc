#include "tests/fuzz/reference_expansion.h"

#include <cstring>

#include "settings/expansion.h"
#include "settings/symbol_table.h"

namespace reference {

namespace {

int FindFrom(const char* text, int from, const char* pattern) {
  const char* p = text + from;
  for (;;) {
    const char* hit = std::strstr(p, pattern);
    if (!hit) return -1;
    while (p < hit) p = NextTextChar(p);
    if (p == hit) return static_cast<int>(hit - text);
  }
}

bool GroupStep(const char* text, const char* open, int openLength,
               const char* close, int closeLength, int* pos, int* depth,
               bool* tookClose, bool* openedAtTop) {
  int c = FindFrom(text, *pos, close);
  if (c < 0) return false;
  int o = FindFrom(text, *pos, open);
  *openedAtTop = false;
  if (o >= 0 && o < c) {
    *openedAtTop = (*depth == 0);
    ++*depth;
    *pos = o + openLength;
    *tookClose = false;
  } else {
    --*depth;
    *pos = c + closeLength;
    *tookClose = true;
  }
  return true;
}

TextString Group(const TextString& text, int i, const char* open,
                 const char* close) {
  int b, e;
  if (!LocateGroups(text, i, i, open, close, &b, &e)) return TextString();
  return text.Mid(b, e);
}

bool ReplaceGroup(TextString* text, int i, const char* open, const char* close,
                  const char* value) {
  int b, e;
  if (!LocateGroups(*text, i, i, open, close, &b, &e)) return false;
  text->ReplaceSpan(text->Text() + b, text->Text() + e, value);
  return true;
}

bool ExpandSymbols(TextString* text, bool* limited) {
  int turns = GroupCount(*text, "<", ">");
  const int limit = ExpansionLimit(text->Length());
  bool changed = false;
  int i = 0;
  for (int turn = 0; turn < turns; ++turn) {
    TextString group = Group(*text, i, "<", ">");
    TextString value;
    const SymbolLookupResult lookup = FindSymbol(group.Text(), &value);
    const bool found = lookup != kSymbolMissing;
    if (lookup == kSymbolCut) {
      *limited = true;
      ++i;
    } else if (found &&
               text->Length() - group.Length() + value.Length() > limit) {
      *limited = true;
      ++i;
    } else if (found && ReplaceGroup(text, i, "<", ">", value.Text())) {
      changed = true;
    } else {
      ++i;
    }
  }
  return changed;
}

bool ExpandAppPaths(TextString* text, bool* limited) {
  const int turns = GroupCount(*text, "{", "}");
  const int limit = ExpansionLimit(text->Length());
  TextString done;
  TextString rest(*text);
  bool changed = false;
  int i = 0;
  for (int turn = 0; turn < turns; ++turn) {
    int first, last;
    if (!LocateGroups(rest, i, i, "{", "}", &first, &last)) break;
    const TextString whole = rest.Mid(first, last);
    TextString value;
    if (!ResolveAppPathsGroup(whole, &value)) {
      ++i;
      continue;
    }
    const int expected =
        done.Length() + rest.Length() - whole.Length() + value.Length();
    if (expected > limit) {
      *limited = true;
      ++i;
      continue;
    }
    if (first > 0) done.Add(rest.Mid(0, first - 1));
    done.Add(value);
    rest = rest.Mid(last + 1, rest.Length());
    i = 0;
    changed = true;
  }
  if (changed) text->Set(done.Concat(rest));
  return changed;
}

bool FoldParentDirs(TextString* text) {
  if (!std::strstr(text->Text(), "\\..")) return false;
  int items = text->ItemCount("\\");
  if (items <= 2) return false;
  bool changed = false;
  int d = 2;
  int k = 0;
  for (int turn = 0; turn < items - 2; ++turn) {
    if (std::strcmp(text->Item(d, "\\").Text(), "..") != 0) {
      ++d;
      ++k;
      continue;
    }
    TextString kept = text->Item(k, "\\");
    if (text->ReplaceItems(k, d, "\\", kept.Text())) changed = true;
    --d;
    --k;
    if (k < 0) break;
  }
  return changed;
}

}  // namespace

int GroupCount(const TextString& text, const char* open, const char* close) {
  const char* s = text.Text();
  int openLength = static_cast<int>(std::strlen(open));
  int closeLength = static_cast<int>(std::strlen(close));
  int pos = 0, depth = 0, count = 0;
  bool tookClose, openedAtTop;
  while (GroupStep(s, open, openLength, close, closeLength, &pos, &depth,
                   &tookClose, &openedAtTop)) {
    if (tookClose && depth == 0) ++count;
  }
  return count;
}

bool LocateGroups(const TextString& text, int first, int last, const char* open,
                  const char* close, int* begin, int* end) {
  if (first < 0 || last < 0) {
    int n = GroupCount(text, open, close);
    if (n == 0) return false;
    if (first < 0) first += n;
    if (last < 0) last += n;
  }
  if (first < 0) first = 0;
  const char* s = text.Text();
  int openLength = static_cast<int>(std::strlen(open));
  int closeLength = static_cast<int>(std::strlen(close));
  int pos = 0, depth = 0, k = 0;
  bool hasBegin = false;
  bool tookClose, openedAtTop;
  while (last >= 0 && k <= last &&
         GroupStep(s, open, openLength, close, closeLength, &pos, &depth,
                   &tookClose, &openedAtTop)) {
    if (openedAtTop) ++k;
    if (!hasBegin && k > first) {
      *begin = pos;
      hasBegin = true;
    }
  }
  if (!hasBegin) return false;
  bool hasEnd = false;
  while (GroupStep(s, open, openLength, close, closeLength, &pos, &depth,
                   &tookClose, &openedAtTop)) {
    if (tookClose && depth == 0) {
      *end = pos - 1;
      hasEnd = true;
      break;
    }
  }
  if (!hasEnd) *end = text.Length() - 1;
  *begin -= openLength;
  return true;
}

bool ExpandValue(TextString* text, bool* limited) {
  bool symbols = reference::ExpandSymbols(text, limited);
  bool appPaths = reference::ExpandAppPaths(text, limited);
  bool folded = reference::FoldParentDirs(text);
  return symbols || appPaths || folded;
}

}  // namespace reference
