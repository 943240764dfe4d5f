// The symbols of the settings language: [DEFINE] lines and the five
// built-ins, held as "name=value" lines joined by line feeds.
#ifndef UPDATER_SETTINGS_SYMBOL_TABLE_H_
#define UPDATER_SETTINGS_SYMBOL_TABLE_H_

#include "base/text_string.h"

// An entry's value ends before a second "=" when the entry is a [DEFINE]
// line as its author wrote it: settings files rely on that. Values the
// system hands out (a folder "C:\eq=folder") and values the table's own
// expansion wrote run to the end of their line, so they arrive whole.
struct SymbolTable {
  TextString text;  // entries joined by "\n"
  int count;        // entries considered: items 0 .. count - 1 of `text`
  // One byte per entry, "1" where entry i's value runs to the end of its
  // line; an entry past its end (or "0") is a line as written.
  TextString whole;
};

// The longest the table's text may grow while its values are expanded; an
// expansion that would pass it leaves that value as written.
const int kMaxSymbolTableLength = 65536;

// The one process-wide table.
extern SymbolTable Symbols;

// Replaces the value of the first entry named `name` (brackets included,
// letter case ignored), everything after its first "=" included, or
// appends a new entry. Either way the entry holds `value` whole.
void DefineSymbol(const char* name, const TextString& value);

// True and `out` set to the value of the first entry named `name` (see
// SymbolTable for where it ends).
bool LookupSymbol(const char* name, TextString& out);

// Expands every entry's value once, in table order. An entry whose value
// changed is written back as "name=value", holding the value whole.
void ExpandSymbolTable();

#endif  // UPDATER_SETTINGS_SYMBOL_TABLE_H_
