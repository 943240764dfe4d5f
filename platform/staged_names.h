// The names of the files an all-or-nothing COPY makes beside its
// destinations and beside the updater. Every side that makes, finds or
// judges them (the Windows layer, the fake, the journal, updater-check)
// asks here.
//
// A destination's new contents are staged as "~up" + 4 hexadecimal digits +
// ".tmp" in its folder, and its old file is kept meanwhile as the same
// number with ".bak": the backup's name follows from the staged one, so a
// journal written before any file is replaced already names every backup.
// A number is used only where both names are free, so no file of anyone
// else is ever written or removed.
#ifndef UPDATER_PLATFORM_STAGED_NAMES_H_
#define UPDATER_PLATFORM_STAGED_NAMES_H_

namespace platform {

// Numbers run from 0 to 0xFFFF, and on from there modulo 0x10000.
const unsigned kStagedNumbers = 0x10000;

// "~up0000.tmp" and its terminator.
const unsigned kStagedNameSize = 12;

enum StagedRole { kStagedCopy, kStagedBackup };

// The name of number `number`'s staged copy or backup, e.g. "~up03af.tmp",
// into `name` (kStagedNameSize characters). ASCII, so it reads the same in
// code page 932 and in UTF-16: written as char or as wchar_t.
template <class Char>
void StagedName(unsigned number, StagedRole role, Char* name);

// The number whose 4 hexadecimal digits (of either case) start `text`:
// false unless they are there.
bool ReadStagedNumber(const char* text, unsigned* number);

// Whether `name` (a file name without its folder) is one StagedName makes,
// in any letter case: a leftover when no run is going on.
bool IsStagedName(const char* name);

// A bit for each number: set where the number's staged or backup name is
// taken in a folder, or given to a destination there.
const unsigned kStagedNumberBytes = kStagedNumbers / 8;

// Sets `number`'s bit in `taken`.
inline void MarkStagedNumber(unsigned char* taken, unsigned number) {
  taken[number / 8] |= static_cast<unsigned char>(1 << number % 8);
}

// The first number from `*number` on (modulo kStagedNumbers) whose bit in
// `taken` is clear, into `*number`, its bit then set: false when none is.
bool TakeFreeNumber(unsigned char* taken, unsigned* number);

// The journal of a COPY that is being replaced is the settings file's path
// with this added ("C:\Tools\setup.ini.~upj"): beside the updater, named
// after it, and no name an author ships. Once every file is replaced it is
// renamed to the committed name, after which only leftovers are removed.
const char kJournalSuffix[] = ".~upj";
const char kCommittedJournalSuffix[] = ".~upc";

}  // namespace platform

#endif  // UPDATER_PLATFORM_STAGED_NAMES_H_
