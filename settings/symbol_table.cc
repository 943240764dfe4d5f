#include "settings/symbol_table.h"

#include <string.h>

#include "settings/expansion.h"

SymbolTable Symbols;

namespace {

const char kEntrySeparator[] = "\n";
const char kNameSeparator[] = "=";

bool HoldsWholeValue(int index) {
  return index < Symbols.whole.Length() && Symbols.whole.Text()[index] == '1';
}

void MarkWholeValue(int index) {
  const int length = Symbols.whole.Length();
  if (index >= length) {
    TextString grown;
    if (!grown.Reserve(index + 2)) return;
    memset(grown.Buffer(), '0', static_cast<size_t>(index) + 1);
    memcpy(grown.Buffer(), Symbols.whole.Text(), static_cast<size_t>(length));
    Symbols.whole.Set(grown);
    if (Symbols.whole.Length() != index + 1) return;  // out of memory
  }
  Symbols.whole.Buffer()[index] = '1';
}

}  // namespace

void DefineSymbol(const char* name, const TextString& value) {
  for (int i = 0; i < Symbols.count; ++i) {
    TextString entry = Symbols.text.Item(i, kEntrySeparator);
    if (entry.Item(0, kNameSeparator).Differs(name)) continue;
    // Nothing of a [DEFINE] line after a second "=" may trail the value.
    MarkWholeValue(i);
    if (!entry.ReplaceItems(1, -1, kNameSeparator, value.Text())) {
      // A [DEFINE] line without "=" has no value item to replace; giving it
      // one keeps such a line from overriding a built-in with "".
      entry.Add(kNameSeparator);
      entry.Add(value);
    }
    Symbols.text.ReplaceItems(i, i, kEntrySeparator, entry.Text());
    return;
  }
  TextString entry(name);
  entry.Add(kNameSeparator);
  entry.Add(value);
  MarkWholeValue(Symbols.count);
  if (Symbols.count == 0) {
    Symbols.text.Set(entry);
  } else {
    Symbols.text.Add(kEntrySeparator);
    Symbols.text.Add(entry);
  }
  ++Symbols.count;
}

bool LookupSymbol(const char* name, TextString& out) {
  // One walk over the table text, line by line: the same entries as taking
  // item i for "\n" in turn, without rescanning the text for each of them.
  const char* line = Symbols.text.Text();
  for (int i = 0; i < Symbols.count; ++i) {
    const char* end = strchr(line, '\n');
    if (!end) end = line + strlen(line);
    const char* equals = static_cast<const char*>(
        memchr(line, '=', static_cast<size_t>(end - line)));
    const char* nameEnd = equals ? equals : end;
    if (SpanEquals(line, static_cast<int>(nameEnd - line), name)) {
      if (!equals) {
        out.Set("");
        return true;
      }
      // A line as written ends its value before a second "=".
      const char* valueEnd =
          HoldsWholeValue(i)
              ? NULL
              : static_cast<const char*>(memchr(
                    equals + 1, '=', static_cast<size_t>(end - equals - 1)));
      if (!valueEnd) valueEnd = end;
      out.Set(Symbols.text.Slice(equals + 1, valueEnd - 1));
      return true;
    }
    if (*end == '\0') break;
    line = end + 1;
  }
  return false;
}

void ExpandSymbolTable() {
  // In table order, each value once: a reference to an earlier entry gets
  // its expanded value, one to a later entry its value as written.
  for (int i = 0; i < Symbols.count; ++i) {
    TextString entry = Symbols.text.Item(i, kEntrySeparator);
    TextString value =
        entry.Items(1, HoldsWholeValue(i) ? -1 : 1, kNameSeparator);
    const int before = value.Length();
    if (!ExpandValue(value)) continue;
    if (Symbols.text.Length() - before + value.Length() > kMaxSymbolTableLength)
      continue;
    // Written back whole: a value that took in "<Src>" of a folder
    // "C:\eq=folder" keeps its "=", and a line's text after its second "="
    // goes.
    MarkWholeValue(i);
    entry.ReplaceItems(1, -1, kNameSeparator, value.Text());
    Symbols.text.ReplaceItems(i, i, kEntrySeparator, entry.Text());
  }
}
