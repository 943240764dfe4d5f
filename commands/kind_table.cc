#include "commands/kind_table.h"

#include "commands/attr.h"
#include "commands/copy.h"
#include "commands/date.h"
#include "commands/delete.h"
#include "commands/exist.h"
#include "commands/launch.h"
#include "commands/link.h"
#include "commands/makedir.h"
#include "commands/msgbox.h"
#include "commands/osver.h"
#include "commands/switch.h"
#include "platform/scoped_owner.h"
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

// Each kind's keys, held together so that no array of them is padded.
const struct {
  ProcKey exist[1];
  ProcKey date[2];
  ProcKey switchKind[3];
  ProcKey msgbox[4];
  ProcKey copy[2];
  ProcKey launch[3];
  ProcKey deleteKind[1];
  ProcKey link[4];
  ProcKey makedir[1];
  ProcKey attr[2];
} kKeys = {
    {UPDATER_TEXT_KEY("FILE", kPatterns, kDriving, &EXIST_INFO::FILE)},
    {UPDATER_TEXT_KEY("FILE", kDatedFiles, kDriving, &DATE_INFO::FILE),
     UPDATER_TEXT_KEY("DATE", kDate, kUnpaired, &DATE_INFO::DATE)},
    {UPDATER_TEXT_KEY("PROC", kTestedProcedure, kUnpaired, &SWITCH_INFO::PROC),
     UPDATER_TEXT_KEY("0", kBranchList, kUnpaired, &SWITCH_INFO::LIST0),
     UPDATER_TEXT_KEY("1", kBranchList, kUnpaired, &SWITCH_INFO::LIST1)},
    {UPDATER_TEXT_KEY("FLAG", kFlagTest, kUnpaired, &MSGBOX_INFO::FLAG),
     UPDATER_TEXT_KEY("TYPE", kBoxType, kUnpaired, &MSGBOX_INFO::TYPE),
     UPDATER_TEXT_KEY("TEXT", kBoxText, kUnpaired, &MSGBOX_INFO::TEXT),
     UPDATER_TEXT_KEY("ISABORT", kAnswers, kUnpaired, &MSGBOX_INFO::ISABORT)},
    {UPDATER_TEXT_KEY("FROM", kSourceFiles, kDriving, &COPY_INFO::FROM),
     UPDATER_TEXT_KEY("TO", kDestinationFiles, kPairedOrFails, &COPY_INFO::TO)},
    {UPDATER_TEXT_KEY("FILE", kPrograms, kDriving, &LAUNCH_INFO::FILE),
     UPDATER_TEXT_KEY("PARAM", kParameters, kPairedOrEmpty,
                      &LAUNCH_INFO::PARAM),
     {"ISWAIT", Number(&LAUNCH_INFO::ISWAIT), kLeadingNumber, kRequired,
      kWaitMode, kUnpaired, kAlwaysRead}},
    {UPDATER_TEXT_KEY("FILE", kDeletedFiles, kDriving, &DELETE_INFO::FILE)},
    {UPDATER_TEXT_KEY("SRC", kLinkTargets, kDriving, &SHORTCUT_INFO::SRC),
     UPDATER_TEXT_KEY("PARAM", kParameters, kPairedOrEmpty,
                      &SHORTCUT_INFO::PARAM),
     UPDATER_TEXT_KEY("SHOWCMD", kShowCommands, kPairedOrEmpty,
                      &SHORTCUT_INFO::SHOWCMD),
     UPDATER_TEXT_KEY("DST", kShortcuts, kPairedOrQuietEnd,
                      &SHORTCUT_INFO::DST)},
    {UPDATER_TEXT_KEY("DIR", kFolders, kDriving, &MAKEDIR_INFO::DIR)},
    {UPDATER_TEXT_KEY("FILE", kAttributeTargets, kDriving, &ATTR_INFO::FILE),
     UPDATER_TEXT_KEY("ARG", kAttributes, kPairedOrZero, &ATTR_INFO::ARG)},
};

#undef UPDATER_TEXT_KEY

}  // namespace

#define UPDATER_KIND(Name, mode, record, keys, countNamesKind, outcome, \
                     failure)                                           \
  {                                                                     \
    mode, record, keys, Load##Name, Run##Name,                          \
        static_cast<unsigned char>(sizeof keys / sizeof keys[0]),       \
        countNamesKind, outcome, failure                                \
  }

// Loading and running test the kinds in this order and take the first match.
// A kind not listed here is treated as naming no kind.
const ProcKind kProcKinds[kProcKindCount] = {
    UPDATER_KIND(Exist, "EXIST", "EXIST_INFO", kKeys.exist, false,
                 kResultOfTest, kNoMessage),
    UPDATER_KIND(Date, "DATE", "DATE_INFO", kKeys.date, false, kResultOfTest,
                 kNoMessage),
    UPDATER_KIND(Switch, "SWITCH", "SWITCH_INFO", kKeys.switchKind, false,
                 kResultNeverSet, kNoMessage),
    UPDATER_KIND(Msgbox, "MSGBOX", "MSGBOX_INFO", kKeys.msgbox, false,
                 kResultOfTest, kNoMessage),
    UPDATER_KIND(Copy, "COPY", "COPY_INFO", kKeys.copy, false, kResultWhenDone,
                 MSG_COPY_FAILED),
    UPDATER_KIND(Launch, "LAUNCH", "LAUNCH_INFO", kKeys.launch, false,
                 kResultWhenDone, MSG_LAUNCH_FAILED),
    UPDATER_KIND(Delete, "DELETE", "DELETE_INFO", kKeys.deleteKind, false,
                 kResultWhenDone, MSG_DELETE_FAILED),
    // The message names the kind, not the key SRC.
    UPDATER_KIND(Link, "LINK", "SHORTCUT_INFO", kKeys.link, true,
                 kResultWhenDone, kNoMessage),
    {"OSVER", "OSVER_INFO", 0, LoadOsver, RunOsver, 0, false, kResultOfTest,
     kNoMessage},
    UPDATER_KIND(Makedir, "MAKEDIR", "MAKEDIR_INFO", kKeys.makedir, false,
                 kResultWhenDone, MSG_MAKEDIR_FAILED),
    UPDATER_KIND(Attr, "ATTR", "ATTR_INFO", kKeys.attr, false, kResultWhenDone,
                 MSG_ATTR_FAILED),
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
bool ReadKey(ProcRecord& record, const char* section, const ProcKey& key) {
  if (key.reader == kLeadingNumber) {
    int& field = record.*key.field.number;
    if (!ReadIntParam(section, key.key, field)) return false;
    TextString shown;
    shown.Format("%d", field);
    NoteKeyValue(record, key.key, shown.Text());
    return true;
  }
  TextString& field = record.*key.field.text;
  if (!ReadParam(section, key.key, field)) return false;
  NoteKeyValue(record, key.key, field.Text());
  return true;
}

}  // namespace

ProcRecord* LoadProcRecord(const ProcKind& kind, ProcRecord* made,
                           const char* name) {
  if (!made) {
    ShowError(MSG_OUT_OF_MEMORY, kind.recordName);
    return 0;
  }
  // Destroyed on every early return, handed out once complete.
  platform::ScopedOwner<platform::HeapObjectTraits<ProcRecord> > record(made);
  made->name.Set(name);
  made->kind = &kind;
  if (!ReadParam(name, "MODE", made->mode)) return 0;
  for (int i = 0; i < kind.keyCount; ++i) {
    const ProcKey& key = kind.keys[i];
    if (key.readIfNonZero != kAlwaysRead &&
        made->*kind.keys[key.readIfNonZero].field.number == 0) {
      continue;
    }
    if (key.presence == kOptional && !ParamPresent(name, key.key)) continue;
    if (!ReadKey(*made, name, key)) return 0;
  }
  return record.Take();
}

const ProcKey* FindProcKey(const ProcKind& kind, const char* key) {
  for (int i = 0; i < kind.keyCount; ++i)
    if (TextString(kind.keys[i].key).Equals(key)) return &kind.keys[i];
  return 0;
}

const TextString* KeyText(const ProcRecord& record, const ProcKey& key) {
  return key.reader == kExpandedText ? &(record.*key.field.text) : 0;
}

const ProcKey* DrivingKey(const ProcKind& kind) {
  for (int i = 0; i < kind.keyCount; ++i)
    if (kind.keys[i].pairing == kDriving) return &kind.keys[i];
  return 0;
}

int CountDrivingItems(const ProcRecord& record) {
  const ProcKey* key = DrivingKey(*record.kind);
  const int count = key ? KeyText(record, *key)->ItemCount(",") : 0;
  if (count == 0) {
    ShowError(MSG_BAD_ITEM_COUNT, record.name.Text(),
              record.kind->countNamesKind ? record.kind->mode
              : key                       ? key->key
                                          : "");
  }
  return count;
}
