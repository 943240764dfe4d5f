// The procedure kinds: the one description of each kind's MODE word, its
// keys in the order they are read, how each key's value is read and what
// the runner makes of it, and the kind's loader and runner. The driver
// matches MODE values against it, the loaders read their keys through it,
// and updater-check walks it to know every kind.
#ifndef UPDATER_COMMANDS_KIND_TABLE_H_
#define UPDATER_COMMANDS_KIND_TABLE_H_

#include "base/text_string.h"
#include "commands/proc_record.h"
#include "settings/messages.h"

// How a key's value is read.
enum KeyReader : unsigned char {
  kExpandedText,   // ReadParam: symbols, App Paths and ".." steps resolved
  kLeadingNumber,  // ReadIntParam: the leading decimal number, as written
  kExitCodeList    // kExpandedText, then every item must be an exit code
                   // (commands/exit_code_list.h): MSG_BAD_FORMAT otherwise
};

// Whether a section must have the key.
enum KeyPresence : unsigned char {
  kRequired,  // absent: MSG_BAD_FORMAT, and the list is not loaded
  kOptional   // absent: the field keeps its value from the constructor
};

// What the runner makes of a key's value. Lists are split at "," and their
// items trimmed of blanks when the procedure runs.
enum ValueForm : unsigned char {
  kNoForm,
  kSourceFiles,       // files read by their exact names
  kDestinationFiles,  // files written (replaced) by their exact names
  kDeletedFiles,      // files deleted by their exact names
  kDatedFiles,        // files whose last-write dates are read
  kPatterns,          // anything a directory search matches
  kFolders,           // folders made one level per item
  kAttributeTargets,  // files, or "<folder>\*.*" for the files in a folder
  kPrograms,          // programs started by their full paths, in their folders
  kLinkTargets,       // the targets of shortcuts
  kShortcuts,         // shortcut paths without ".LNK"
  kParameters,        // free text per item, markup possibly meant literally
  kAttributes,        // "0x" and hexadecimal digits per item
  kShowCommands,      // a LINK show command number per item
  kDate,              // "year/month/day"
  kBoxType,           // a MSGBOX TYPE word (MsgboxStyle)
  kBoxText,           // free text; "%n" a line break, "%t" a tab
  kAnswers,           // numbers for OK/Yes and for No: non-zero ends the run
  kFlagTest,          // "" or "<procedure>, <0|1>" (ParseFlag)
  kTestedProcedure,   // a procedure of the list being run (TestedName)
  kBranchList,        // a procedure list, loaded and run by a SWITCH
  kWaitMode,          // 0: until ready for input; otherwise until the end
  kExitCodes          // exit codes of a waited program
};

// How a key's items go with those of the kind's driving list.
enum Pairing : unsigned char {
  kUnpaired,
  kDriving,          // counted; empty, it stops the procedure
  kPairedOrEmpty,    // item i with driving item i; a missing item is ""
  kPairedOrZero,     // the same, and a missing item reads as the number 0
  kPairedOrFails,    // a missing item is "", on which the item fails
  kPairedOrQuietEnd  // a missing item is "", which ends the procedure
                     // quietly (result false, the run goes on)
};

// The field a key fills: `number` for kLeadingNumber, `text` otherwise.
union KeyField {
  constexpr KeyField(TextString ProcRecord::*field) : text(field) {}
  constexpr KeyField(int ProcRecord::*field) : number(field) {}
  TextString ProcRecord::*text;
  int ProcRecord::*number;
};

struct ProcKey {
  char key[8];  // the key's name (held here: no pointer to relocate)
  KeyField field;
  KeyReader reader;
  KeyPresence presence;
  ValueForm form;
  Pairing pairing;
  // The index of an earlier number key of the kind: this key is read only
  // when that one was read as a number other than 0. kAlwaysRead: always.
  signed char readIfNonZero;
};

const signed char kAlwaysRead = -1;

// What a kind's result tells.
enum ProcOutcome : unsigned char {
  kResultWhenDone,  // true when every item is done
  kResultOfTest,    // the answer of a test that changes nothing
  kResultNeverSet   // always false
};

// The keys of every kind, each kind's together in the order its loader
// reads them.
extern const ProcKey kProcKeys[];

// A kind's keys: keys[k] is its key k. (A start in kProcKeys rather than a
// pointer keeps the table small.)
struct ProcKeys {
  unsigned char first;
  const ProcKey& operator[](int k) const { return kProcKeys[first + k]; }
};

struct ProcKind {
  char mode[8];         // the MODE value, matched without regard to case
  char recordName[14];  // for MSG_OUT_OF_MEMORY
  ProcKeys keys;        // in the order the loader reads them
  unsigned char keyCount;
  // MSG_BAD_ITEM_COUNT for an empty driving list names the kind (its mode),
  // not the driving key.
  bool countNamesKind;
  ProcOutcome outcome;
  // The message the runner shows when an item fails (0: none), with item i
  // of the first key and, when it takes two, item i of the second.
  unsigned char failure;
  ProcLoader load;
  ProcExecutor run;
};

// The kinds, in the fixed order in which MODE values are matched.
enum ProcKindIndex {
  kExistKind,
  kDateKind,
  kSwitchKind,
  kMsgboxKind,
  kCopyKind,
  kLaunchKind,
  kDeleteKind,
  kLinkKind,
  kOsverKind,
  kMakedirKind,
  kAttrKind,
  kProcKindCount
};
extern const ProcKind kProcKinds[kProcKindCount];

// The first kind whose mode equals `mode`, or null when none does.
const ProcKind* FindProcKind(const TextString& mode);

// The loading every kind shares: `record` (new, null when its allocation
// failed: MSG_OUT_OF_MEMORY naming the record) gets `name`, its kind, MODE
// and then each key of the kind in order, noted for the log. Null after the
// message of the first key that is required and absent (or cannot be read
// whole); the record is then destroyed.
ProcRecord* LoadProcRecord(const ProcKind& kind, ProcRecord* record,
                           const char* name);

// The reading LoadProcRecord does once the record is made: MODE, then the
// `count` keys at `keys` in order, each noted for the log. False after the
// message of the first key that is required and absent (or cannot be read
// whole).
bool ReadProcKeys(ProcRecord* record, const char* name, const ProcKey* keys,
                  int count);

// The key of the record's kind named `key` (letter case ignored), or null.
const ProcKey* FindProcKey(const ProcKind& kind, const char* key);

// A loaded record's value of a text key; null for a number key.
const TextString* KeyText(const ProcRecord& record, const ProcKey& key);

// Reads the value of the text key `key` of `section` into `out` as its
// reader says. False after the reader's message (MSG_BAD_FORMAT naming the
// section and the key); `out` may then hold the value read.
bool ReadKeyText(const char* section, const ProcKey& key, TextString* out);

// The driving key of a kind, or null when it walks no items.
const ProcKey* DrivingKey(const ProcKind& kind);

// The most keys a kind reads after MODE.
const int kMostProcKeys = 5;

// What a runner makes of one item of its driving list.
enum ItemOutcome {  // in this order: the last two go on with the run
  kItemDone,        // on to the next item
  kItemFailed,      // the kind's failure message, then the run stops
  kItemStopped,     // the run stops; the step showed its own message
  kItemEnds,        // the procedure ends, its result unchanged; the run goes on
  kItemAnswers      // the procedure ends with the result true; the run goes on
};
// One item: `items[k]` is item i of key k of the record's kind for every key
// that goes with the driving list ("" past its end), "" for any other key.
typedef ItemOutcome (*ItemStep)(const ProcRecord& record,
                                const TextString* items);

// The item walk of the runners of kinds with a driving list: false after
// MSG_BAD_ITEM_COUNT (naming the procedure, and the kind or its driving key)
// when the list is empty; otherwise `step` on each item
// in order until one ends the procedure (kItemFailed shows the kind's
// failure message with the items of its first two keys). When every item
// is done, the result becomes true if `resultWhenDone`. False when the run
// stops.
bool RunItems(ProcRecord* record, ItemStep step, bool resultWhenDone);

#endif  // UPDATER_COMMANDS_KIND_TABLE_H_
