// The symbols of the settings language: the [DEFINE] lines and the five
// built-ins, each a name (brackets included) and a value. The table is this
// module's alone: start-up and updater-check fill it through
// LoadSymbolTable, everything else only looks symbols up.
#ifndef UPDATER_SETTINGS_SYMBOL_TABLE_H_
#define UPDATER_SETTINGS_SYMBOL_TABLE_H_

#include "base/text_string.h"

// The built-in symbols, in the order start-up defines them.
const int kBuiltinSymbolCount = 5;
// Held in rows of the longest name's size: no table of pointers.
const int kLongestBuiltinSymbolName = 10;  // "<Programs>"
extern const char kBuiltinSymbolNames[kBuiltinSymbolCount]
                                     [kLongestBuiltinSymbolName + 1];

// The table's values together may grow by their expansion to the larger of
// this and eight times their length as written. An entry whose expansion
// would pass that, or pass the limit of one value (ExpansionLimit), is cut:
// it is never used, in part or as written, and every value that refers to it
// is refused as one that cannot be expanded whole.
const int kMaxSymbolTableLength = 65536;

// Empties the table.
void ClearSymbolTable();

// Fills the table as start-up does: each line of the [DEFINE] section of
// `file` that is no comment becomes an entry, in file order (a line's value
// ends before a second "=": settings files rely on that); each built-in is
// then defined with its value from `builtins` (kBuiltinSymbolNames order);
// then the table is expanded once. False after MSG_BAD_FORMAT ("DEFINE",
// "") when the section cannot be read whole: the table is then empty, for
// symbols from part of the section would give shortened paths.
bool LoadSymbolTable(const char* file,
                     const TextString (&builtins)[kBuiltinSymbolCount]);

// Replaces the value of the first entry named `name` (brackets included,
// letter case ignored), or appends a new entry. Either way the entry holds
// `value` whole.
void DefineSymbol(const char* name, const TextString& value);

// What FindSymbol found for a name.
enum SymbolLookupResult {
  kSymbolFound,    // `out` holds the value
  kSymbolMissing,  // no entry has the name
  kSymbolCut       // the first entry with the name is cut
};

// The first entry named `name`: its value into `out` when found; `out` is
// unchanged otherwise.
SymbolLookupResult FindSymbol(const char* name, TextString* out);
// FindSymbol for the callers that need the value alone: true when found.
bool LookupSymbol(const char* name, TextString* out);

// Expands every entry's value once, in table order: a reference to an
// earlier entry gets its expanded value, one to a later entry its value as
// written. Linear in the size of the table.
void ExpandSymbolTable();

// The number of entries.
int SymbolCount();

#endif  // UPDATER_SETTINGS_SYMBOL_TABLE_H_
