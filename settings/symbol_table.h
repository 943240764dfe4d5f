// The symbols of the settings language: [DEFINE] lines and the five
// built-ins, held as "name=value" lines joined by line feeds.
#ifndef UPDATER_SETTINGS_SYMBOL_TABLE_H_
#define UPDATER_SETTINGS_SYMBOL_TABLE_H_

#include "base/text_string.h"

struct SymbolTable {
  TextString text;  // entries joined by "\n"
  int count;        // entries considered: items 0 .. count - 1 of `text`
};

// The longest the table's text may grow while its values are expanded; an
// expansion that would pass it leaves that value as written.
const int kMaxSymbolTableLength = 65536;

// The one process-wide table.
extern SymbolTable Symbols;

// Replaces the value of the first entry named `name` (brackets included,
// letter case ignored), or appends a new entry.
void DefineSymbol(const char* name, const TextString& value);

// True and `out` set to the value of the first entry named `name`.
bool LookupSymbol(const char* name, TextString& out);

// Expands every entry's value once, in table order.
void ExpandSymbolTable();

#endif  // UPDATER_SETTINGS_SYMBOL_TABLE_H_
