#include "commands/kind_table.h"

#include "commands/attr.h"
#include "commands/copy.h"
#include "commands/date.h"
#include "commands/delete.h"
#include "commands/exist.h"
#include "commands/exit_code_list.h"
#include "commands/item_list.h"
#include "commands/launch.h"
#include "commands/link.h"
#include "commands/makedir.h"
#include "commands/msgbox.h"
#include "commands/osver.h"
#include "commands/switch.h"
#include "settings/param_reader.h"

namespace {

const unsigned char kNoMessage = 0;

template <class Record>
constexpr TextString ProcRecord::*Text(TextString Record::*field) {
  return static_cast<TextString ProcRecord::*>(field);
}

template <class Record>
constexpr int ProcRecord::*Number(int Record::*field) {
  return static_cast<int ProcRecord::*>(field);
}

// A required key read with ReadParam.
#define UPDATER_TEXT_KEY(name, form, pairing, field) \
  { name, Text(field), kExpandedText, kRequired, form, pairing, kAlwaysRead }

// Where each kind's keys start in kProcKeys: each start is the one before
// plus the number of keys of the kind before.
enum KeyStart {
  kExistKeys = 0,
  kDateKeys = kExistKeys + 1,
  kSwitchKeys = kDateKeys + 2,
  kMsgboxKeys = kSwitchKeys + 3,
  kCopyKeys = kMsgboxKeys + 4,
  kLaunchKeys = kCopyKeys + 2,
  kDeleteKeys = kLaunchKeys + 5,
  kLinkKeys = kDeleteKeys + 1,
  kMakedirKeys = kLinkKeys + 4,
  kAttrKeys = kMakedirKeys + 1,
  kOsverKeys = kAttrKeys + 2,  // none
  kKeyTotal = kOsverKeys
};

}  // namespace

const ProcKey kProcKeys[] = {
    UPDATER_TEXT_KEY("FILE", kPatterns, kDriving, &EXIST_INFO::FILE),
    UPDATER_TEXT_KEY("FILE", kDatedFiles, kDriving, &DATE_INFO::FILE),
    UPDATER_TEXT_KEY("DATE", kDate, kUnpaired, &DATE_INFO::DATE),
    UPDATER_TEXT_KEY("PROC", kTestedProcedure, kUnpaired, &SWITCH_INFO::PROC),
    UPDATER_TEXT_KEY("0", kBranchList, kUnpaired, &SWITCH_INFO::LIST0),
    UPDATER_TEXT_KEY("1", kBranchList, kUnpaired, &SWITCH_INFO::LIST1),
    UPDATER_TEXT_KEY("FLAG", kFlagTest, kUnpaired, &MSGBOX_INFO::FLAG),
    UPDATER_TEXT_KEY("TYPE", kBoxType, kUnpaired, &MSGBOX_INFO::TYPE),
    UPDATER_TEXT_KEY("TEXT", kBoxText, kUnpaired, &MSGBOX_INFO::TEXT),
    UPDATER_TEXT_KEY("ISABORT", kAnswers, kUnpaired, &MSGBOX_INFO::ISABORT),
    UPDATER_TEXT_KEY("FROM", kSourceFiles, kDriving, &COPY_INFO::FROM),
    UPDATER_TEXT_KEY("TO", kDestinationFiles, kPairedOrFails, &COPY_INFO::TO),
    UPDATER_TEXT_KEY("FILE", kPrograms, kDriving, &LAUNCH_INFO::FILE),
    UPDATER_TEXT_KEY("PARAM", kParameters, kPairedOrEmpty, &LAUNCH_INFO::PARAM),
    {"ISWAIT", Number(&LAUNCH_INFO::ISWAIT), kLeadingNumber, kRequired,
     kWaitMode, kUnpaired, kAlwaysRead},
    // Read only where ISWAIT (key 2) waits for the end: the input-idle wait
    // leaves the program running, with no exit code to judge.
    {"SUCCESS", Text(&LAUNCH_INFO::SUCCESS), kExitCodeList, kOptional,
     kExitCodes, kUnpaired, 2},
    {"RESTART", Text(&LAUNCH_INFO::RESTART), kExitCodeList, kOptional,
     kExitCodes, kUnpaired, 2},
    UPDATER_TEXT_KEY("FILE", kDeletedFiles, kDriving, &DELETE_INFO::FILE),
    UPDATER_TEXT_KEY("SRC", kLinkTargets, kDriving, &SHORTCUT_INFO::SRC),
    UPDATER_TEXT_KEY("PARAM", kParameters, kPairedOrEmpty,
                     &SHORTCUT_INFO::PARAM),
    UPDATER_TEXT_KEY("SHOWCMD", kShowCommands, kPairedOrEmpty,
                     &SHORTCUT_INFO::SHOWCMD),
    UPDATER_TEXT_KEY("DST", kShortcuts, kPairedOrQuietEnd, &SHORTCUT_INFO::DST),
    UPDATER_TEXT_KEY("DIR", kFolders, kDriving, &MAKEDIR_INFO::DIR),
    UPDATER_TEXT_KEY("FILE", kAttributeTargets, kDriving, &ATTR_INFO::FILE),
    UPDATER_TEXT_KEY("ARG", kAttributes, kPairedOrZero, &ATTR_INFO::ARG),
};

#undef UPDATER_TEXT_KEY

static_assert(sizeof kProcKeys / sizeof kProcKeys[0] == kKeyTotal,
              "the starts of the kinds' keys do not add up to the keys");

// A kind whose keys start at `first`, the next kind's at `next`.
#define UPDATER_KIND(Name, mode, record, first, next, countNamesKind, outcome, \
                     failure)                                                  \
  {                                                                            \
    mode, record, {first}, static_cast<unsigned char>(next - first),           \
        countNamesKind, outcome, failure, Load##Name, Run##Name                \
  }

// RunItems holds the items of a kind's keys in an array of kMostProcKeys.
static_assert(kSwitchKeys - kDateKeys <= kMostProcKeys &&
                  kCopyKeys - kMsgboxKeys <= kMostProcKeys &&
                  kDeleteKeys - kLaunchKeys <= kMostProcKeys &&
                  kMakedirKeys - kLinkKeys <= kMostProcKeys,
              "a kind reads more keys than RunItems holds");

// Loading and running test the kinds in this order and take the first match.
// A kind not listed here is treated as naming no kind.
const ProcKind kProcKinds[kProcKindCount] = {
    UPDATER_KIND(Exist, "EXIST", "EXIST_INFO", kExistKeys, kDateKeys, false,
                 kResultOfTest, kNoMessage),
    UPDATER_KIND(Date, "DATE", "DATE_INFO", kDateKeys, kSwitchKeys, false,
                 kResultOfTest, kNoMessage),
    UPDATER_KIND(Switch, "SWITCH", "SWITCH_INFO", kSwitchKeys, kMsgboxKeys,
                 false, kResultNeverSet, kNoMessage),
    UPDATER_KIND(Msgbox, "MSGBOX", "MSGBOX_INFO", kMsgboxKeys, kCopyKeys, false,
                 kResultOfTest, kNoMessage),
    UPDATER_KIND(Copy, "COPY", "COPY_INFO", kCopyKeys, kLaunchKeys, false,
                 kResultWhenDone, MSG_COPY_FAILED),
    UPDATER_KIND(Launch, "LAUNCH", "LAUNCH_INFO", kLaunchKeys, kDeleteKeys,
                 false, kResultWhenDone, MSG_LAUNCH_FAILED),
    UPDATER_KIND(Delete, "DELETE", "DELETE_INFO", kDeleteKeys, kLinkKeys, false,
                 kResultWhenDone, MSG_DELETE_FAILED),
    // The message names the kind, not the key SRC.
    UPDATER_KIND(Link, "LINK", "SHORTCUT_INFO", kLinkKeys, kMakedirKeys, true,
                 kResultWhenDone, kNoMessage),
    UPDATER_KIND(Osver, "OSVER", "OSVER_INFO", kOsverKeys, kOsverKeys, false,
                 kResultOfTest, kNoMessage),
    UPDATER_KIND(Makedir, "MAKEDIR", "MAKEDIR_INFO", kMakedirKeys, kAttrKeys,
                 false, kResultWhenDone, MSG_MAKEDIR_FAILED),
    UPDATER_KIND(Attr, "ATTR", "ATTR_INFO", kAttrKeys, kOsverKeys, false,
                 kResultWhenDone, MSG_ATTR_FAILED),
};

#undef UPDATER_KIND

const ProcKind* FindProcKind(const TextString& mode) {
  for (int i = 0; i < kProcKindCount; ++i)
    if (mode.Equals(kProcKinds[i].mode)) return &kProcKinds[i];
  return 0;
}

namespace {

// Reads one key into its field, noting the value for the log; false after
// the reader's message.
bool ReadKey(ProcRecord* record, const char* section, const ProcKey& key) {
  TextString shown;  // a number as the log shows it
  const char* value;
  if (key.reader == kLeadingNumber) {
    int& field = record->*key.field.number;
    if (!ReadIntParam(section, key.key, &field)) return false;
    shown.Format("%d", field);
    value = shown.Text();
  } else {
    TextString& field = record->*key.field.text;
    if (!ReadKeyText(section, key, &field)) return false;
    value = field.Text();
  }
  NoteKeyValue(record, key.key, value);
  return true;
}

}  // namespace

ProcRecord* LoadProcRecord(const ProcKind& kind, ProcRecord* made,
                           const char* name) {
  if (!made) {
    ShowError(MSG_OUT_OF_MEMORY, kind.recordName);
    return 0;
  }
  made->name.Set(name);
  made->kind = &kind;
  if (ReadProcKeys(made, name, kProcKeys + kind.keys.first, kind.keyCount)) {
    return made;
  }
  delete made;
  return 0;
}

bool ReadProcKeys(ProcRecord* record, const char* name, const ProcKey* keys,
                  int count) {
  if (!ReadParam(name, "MODE", &record->mode)) return false;
  for (int i = 0; i < count; ++i) {
    const ProcKey& key = keys[i];
    if (key.readIfNonZero != kAlwaysRead &&
        record->*keys[key.readIfNonZero].field.number == 0) {
      continue;
    }
    if (key.presence == kOptional && !ParamPresent(name, key.key)) continue;
    if (!ReadKey(record, name, key)) return false;
  }
  return true;
}

const ProcKey* FindProcKey(const ProcKind& kind, const char* key) {
  for (int i = 0; i < kind.keyCount; ++i)
    if (TextString(kind.keys[i].key).Equals(key)) return &kind.keys[i];
  return 0;
}

const TextString* KeyText(const ProcRecord& record, const ProcKey& key) {
  return key.reader != kLeadingNumber ? &(record.*key.field.text) : 0;
}

bool ReadKeyText(const char* section, const ProcKey& key, TextString* out) {
  if (!ReadParam(section, key.key, out)) return false;
  TextString bad;
  if (key.reader != kExitCodeList || !FindBadExitCode(*out, &bad)) return true;
  // A code that cannot be read would judge the program's answer wrongly.
  ShowError(MSG_BAD_FORMAT, section, key.key);
  return false;
}

const ProcKey* DrivingKey(const ProcKind& kind) {
  for (int i = 0; i < kind.keyCount; ++i)
    if (kind.keys[i].pairing == kDriving) return &kind.keys[i];
  return 0;
}

bool RunItems(ProcRecord* record, ItemStep step, bool resultWhenDone) {
  const ProcKind& kind = *record->kind;
  // Every kind whose runner walks items has a driving key, a text key.
  const ProcKey& driving = *DrivingKey(kind);
  const int count = (record->*driving.field.text).ItemCount(",");
  if (count == 0) {
    ShowError(MSG_BAD_ITEM_COUNT, record->name.Text(),
              kind.countNamesKind ? kind.mode : driving.key);
    return false;
  }
  TextString items[kMostProcKeys];
  for (int i = 0; i < count; ++i) {
    for (int k = 0; k < kind.keyCount; ++k) {
      // Keys that go with the driving list are text keys.
      if (kind.keys[k].pairing != kUnpaired) {
        items[k].Set(ListItem(record->*kind.keys[k].field.text, i));
      }
    }
    const ItemOutcome outcome = step(*record, items);
    if (outcome == kItemDone) continue;
    if (outcome == kItemFailed) {
      ShowError(kind.failure, items[0].Text(), items[1].Text());
    }
    if (outcome == kItemAnswers) record->result = true;
    return outcome >= kItemEnds;
  }
  if (resultWhenDone) record->result = true;
  return true;
}
