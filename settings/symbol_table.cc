#include "settings/symbol_table.h"

#include <cstring>
#include <new>

#include "platform/text_rules.h"
#include "settings/expansion.h"
#include "settings/messages.h"
#include "settings/settings_reader.h"

const char* const kBuiltinSymbolNames[kBuiltinSymbolCount] = {
    "<Win>", "<Sys>", "<Src>", "<Desktop>", "<Programs>"};

namespace {

struct Entry {
  Entry() : cut(false) {}
  TextString name;
  TextString value;
  bool cut;
};

// The entries in the order they were added, and an index from each name
// (letters folded) to the first entry of that name: open addressing over a
// power of two of slots, each the entry's position plus one, 0 when free.
struct Table {
  Entry** entries;
  int count;
  int capacity;
  int* slots;
  int slotCount;
  int length;  // names and values, as "name=value" lines joined by "\n"
} g_table = {0, 0, 0, 0, 0, 0};

// The slot holding `name`, or the free slot where it would go; -1 when the
// index has no slots.
int SlotOf(const char* name) {
  if (g_table.slotCount == 0) return -1;
  const unsigned mask = static_cast<unsigned>(g_table.slotCount) - 1;
  for (unsigned slot = platform::FoldedHash(name) & mask;;
       slot = (slot + 1) & mask) {
    const int held = g_table.slots[slot];
    if (held == 0 || g_table.entries[held - 1]->name.Equals(name)) {
      return static_cast<int>(slot);
    }
  }
}

Entry* FirstEntry(const char* name) {
  const int slot = SlotOf(name);
  return slot < 0 || g_table.slots[slot] == 0
             ? 0
             : g_table.entries[g_table.slots[slot] - 1];
}

// Room for `count` entries, the index at most half full.
bool Reserve(int count) {
  if (count > g_table.capacity) {
    int capacity = g_table.capacity < 16 ? 16 : g_table.capacity;
    while (capacity < count) capacity *= 2;
    Entry** entries = new (std::nothrow) Entry*[capacity];
    if (!entries) return false;
    if (g_table.count) {
      std::memcpy(entries, g_table.entries, sizeof(Entry*) * g_table.count);
    }
    delete[] g_table.entries;
    g_table.entries = entries;
    g_table.capacity = capacity;
  }
  if (count * 2 <= g_table.slotCount) return true;
  int slotCount = 32;
  while (slotCount < count * 2) slotCount *= 2;
  int* slots = new (std::nothrow) int[slotCount]();
  if (!slots) return false;
  delete[] g_table.slots;
  g_table.slots = slots;
  g_table.slotCount = slotCount;
  for (int i = 0; i < g_table.count; ++i) {
    const int slot = SlotOf(g_table.entries[i]->name.Text());
    if (g_table.slots[slot] == 0) g_table.slots[slot] = i + 1;
  }
  return true;
}

// Appends an entry; the index keeps pointing at the first of a name.
bool Append(const TextString& name, const TextString& value) {
  Entry* entry = Reserve(g_table.count + 1) ? new (std::nothrow) Entry : 0;
  if (!entry) return false;
  entry->name.Set(name);
  entry->value.Set(value);
  const int slot = SlotOf(entry->name.Text());
  if (g_table.slots[slot] == 0) g_table.slots[slot] = g_table.count + 1;
  g_table.entries[g_table.count++] = entry;
  g_table.length += name.Length() + value.Length() + 2;
  return true;
}

// A [DEFINE] line as its author wrote it, `line` to `end`: the name before
// the first "=", the value up to a second one; a line without "=" has the
// empty value. The "=" is no second byte of any character.
bool AppendLine(const char* line, const char* end) {
  const char* equals =
      static_cast<const char*>(std::memchr(line, '=', end - line));
  if (!equals) return Append(TextOfSpan(line, end - 1), TextString());
  const char* valueEnd = static_cast<const char*>(
      std::memchr(equals + 1, '=', static_cast<size_t>(end - equals - 1)));
  if (!valueEnd) valueEnd = end;
  return Append(TextOfSpan(line, equals - 1),
                TextOfSpan(equals + 1, valueEnd - 1));
}

void SetValue(Entry& entry, const TextString& value) {
  g_table.length += value.Length() - entry.value.Length();
  entry.value.Set(value);
}

}  // namespace

void ClearSymbolTable() {
  for (int i = 0; i < g_table.count; ++i) delete g_table.entries[i];
  delete[] g_table.entries;
  delete[] g_table.slots;
  const Table empty = {0, 0, 0, 0, 0, 0};
  g_table = empty;
}

bool LoadSymbolTable(const char* file,
                     const TextString (&builtins)[kBuiltinSymbolCount]) {
  ClearSymbolTable();
  TextString lines;
  const int count = ReadSettingSection(file, "DEFINE", lines);
  if (count == kSectionNotReadWhole || !Reserve(count + kBuiltinSymbolCount)) {
    ShowError(MSG_BAD_FORMAT, "DEFINE", "");
    return false;
  }
  // One walk over the lines: the "=" and the line feed are no second byte
  // of any character, so a byte search finds them.
  const char* line = lines.Text();
  for (int i = 0; i < count; ++i) {
    const char* end = std::strchr(line, '\n');
    if (!end) end = line + std::strlen(line);
    if (!AppendLine(line, end)) {
      ClearSymbolTable();
      ShowError(MSG_OUT_OF_MEMORY, "DEFINE");
      return false;
    }
    line = *end ? end + 1 : end;
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
    SetValue(*entry, value);
    entry->cut = false;
    return;
  }
  Append(TextString(name), value);
}

bool LookupSymbol(const char* name, TextString& out) {
  bool cut = false;
  return LookupSymbol(name, out, &cut) && !cut;
}

bool LookupSymbol(const char* name, TextString& out, bool* cut) {
  const Entry* entry = FirstEntry(name);
  if (!entry) return false;
  *cut = entry->cut;
  if (!entry->cut) out.Set(entry->value);
  return true;
}

void ExpandSymbolTable() {
  // The values together may grow eight times; a [DEFINE] of 32 KiB and
  // more is no reason to stop.
  const int written = g_table.length;
  const int limit =
      written > kMaxSymbolTableLength / 8 ? written * 8 : kMaxSymbolTableLength;
  // In table order, each value once: a reference to an earlier entry gets
  // its expanded value, one to a later entry its value as written.
  for (int i = 0; i < g_table.count; ++i) {
    Entry& entry = *g_table.entries[i];
    TextString value(entry.value);
    bool limited = false;
    const bool changed = ExpandValue(value, &limited);
    if (limited ||
        g_table.length - entry.value.Length() + value.Length() > limit) {
      entry.cut = true;
    } else if (changed) {
      // Held whole: a value that took in "<Src>" of a folder "C:\eq=folder"
      // keeps its "=".
      SetValue(entry, value);
    }
  }
}

int SymbolCount() { return g_table.count; }
