#include "settings/symbol_table.h"

#include <cstring>
#include <new>

#include "platform/compiler.h"
#include "platform/text_rules.h"
#include "settings/expansion.h"
#include "settings/messages.h"
#include "settings/settings_reader.h"

const char
    kBuiltinSymbolNames[kBuiltinSymbolCount][kLongestBuiltinSymbolName + 1] = {
        "<Win>", "<Sys>", "<Src>", "<Desktop>", "<Programs>"};

namespace {

struct Entry {
  Entry() : cut(false), next(0), sameSlot(0) {}
  TextString name;
  TextString value;
  bool cut;
  Entry* next;      // in the order the entries were added
  Entry* sameSlot;  // the next entry of the index's slot
};

// The entries in the order they were added, and an index from each name
// (letters folded) to the first entry of that name: a power of two of
// slots, each a chain of entries of different names.
struct Table {
  Entry* first;
  Entry* last;
  Entry** slots;
  unsigned slotMask;  // the number of slots - 1
  int count;
  int length;  // names and values, as "name=value" lines joined by "\n"
} g_table = {0, 0, 0, 0, 0, 0};

Entry** SlotOf(const char* name) {
  return &g_table.slots[platform::FoldedHash(name) & g_table.slotMask];
}

Entry* FirstEntry(const char* name) {
  if (!g_table.slots) return 0;
  for (Entry* entry = *SlotOf(name); entry; entry = entry->sameSlot) {
    if (entry->name.Equals(name)) return entry;
  }
  return 0;
}

// Slots for about `count` entries, so that a lookup takes constant time.
// The table must be empty.
bool Reserve(int count) {
  unsigned slotCount = 32;
  while (slotCount < static_cast<unsigned>(count)) slotCount *= 2;
  g_table.slots = new (std::nothrow) Entry*[slotCount]();
  g_table.slotMask = slotCount - 1;
  return g_table.slots != 0;
}

// Appends an entry; the index keeps leading to the first of a name.
bool Append(const char* name, const char* value) {
  if (!g_table.slots && !Reserve(0)) return false;
  Entry* entry = new (std::nothrow) Entry;
  if (!entry) return false;
  entry->name.Set(name);
  entry->value.Set(value);
  if (!FirstEntry(entry->name.Text())) {
    Entry** slot = SlotOf(entry->name.Text());
    entry->sameSlot = *slot;
    *slot = entry;
  }
  Table* table = &g_table;
  UPDATER_OPAQUE(table);
  (table->last ? table->last->next : table->first) = entry;
  table->last = entry;
  ++table->count;
  table->length += entry->name.Length() + entry->value.Length() + 2;
  return true;
}

// A [DEFINE] line as its author wrote it, terminated, in a buffer of the
// caller's: the name before the first "=", the value up to a second one; a
// line without "=" has the empty value. The "=" is no second byte of any
// character.
bool AppendLine(char* line) {
  char* equals = std::strchr(line, '=');
  if (!equals) return Append(line, "");
  *equals = '\0';
  char* valueEnd = std::strchr(equals + 1, '=');
  if (valueEnd) *valueEnd = '\0';
  return Append(line, equals + 1);
}

void SetValue(Entry* entry, const TextString& value) {
  g_table.length += value.Length() - entry->value.Length();
  entry->value.Set(value);
}

}  // namespace

void ClearSymbolTable() {
  for (Entry* entry = g_table.first; entry;) {
    Entry* next = entry->next;
    delete entry;
    entry = next;
  }
  delete[] g_table.slots;
  const Table empty = {0, 0, 0, 0, 0, 0};
  g_table = empty;
}

bool LoadSymbolTable(const char* file,
                     const TextString (&builtins)[kBuiltinSymbolCount]) {
  ClearSymbolTable();
  TextString lines;
  int count = 0;
  if (!ReadSettingSection(file, "DEFINE", &lines, &count) ||
      !Reserve(count + kBuiltinSymbolCount)) {
    ShowError(MSG_BAD_FORMAT, "DEFINE", "");
    return false;
  }
  // One walk over the lines: the "=" and the line feed are no second byte
  // of any character, so a byte search finds them.
  char* line = lines.Buffer();
  for (int i = 0; i < count; ++i) {
    char* end = std::strchr(line, '\n');
    if (end) *end = '\0';
    if (!AppendLine(line)) {
      ClearSymbolTable();
      ShowError(MSG_OUT_OF_MEMORY, "DEFINE");
      return false;
    }
    if (!end) break;
    line = end + 1;
  }
  for (int i = 0; i < kBuiltinSymbolCount; ++i) {
    DefineSymbol(kBuiltinSymbolNames[i], builtins[i]);
  }
  ExpandSymbolTable();
  return true;
}

void DefineSymbol(const char* name, const TextString& value) {
  Entry* entry = FirstEntry(name);
  if (entry) {
    // Nothing of a [DEFINE] line after a second "=" may trail the value.
    SetValue(entry, value);
    entry->cut = false;
    return;
  }
  Append(name, value.Text());
}

SymbolLookupResult FindSymbol(const char* name, TextString* out) {
  const Entry* entry = FirstEntry(name);
  if (!entry) return kSymbolMissing;
  if (entry->cut) return kSymbolCut;
  out->Set(entry->value);
  return kSymbolFound;
}

bool LookupSymbol(const char* name, TextString* out) {
  return FindSymbol(name, out) == kSymbolFound;
}

void ExpandSymbolTable() {
  // The values together may grow eight times; a [DEFINE] of 32 KiB and
  // more is no reason to stop.
  const int written = g_table.length;
  const int limit =
      written > kMaxSymbolTableLength / 8 ? written * 8 : kMaxSymbolTableLength;
  // In table order, each value once: a reference to an earlier entry gets
  // its expanded value, one to a later entry its value as written.
  for (Entry* each = g_table.first; each; each = each->next) {
    Entry& entry = *each;
    TextString value(entry.value);
    const ExpansionResult expanded = ExpandValue(&value);
    if (expanded == kExpansionNotWhole ||
        g_table.length - entry.value.Length() + value.Length() > limit) {
      entry.cut = true;
    } else if (expanded == kExpansionChanged) {
      // Held whole: a value that took in "<Src>" of a folder "C:\eq=folder"
      // keeps its "=".
      SetValue(&entry, value);
    }
  }
}

int SymbolCount() { return g_table.count; }
