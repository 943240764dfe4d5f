// The findings updater-check reports: a stable code, a severity and a short
// title each. docs/checks.md explains every one with an example.
#ifndef UPDATER_CHECKER_CODES_H_
#define UPDATER_CHECKER_CODES_H_

#include <string>

namespace checker {

enum Severity {
  kNote,     // what --here found out; never changes the exit code
  kWarning,  // probably not what the author meant
  kError     // fails, or certainly does something else than written
};

enum Code {
  // The file and its lines.
  kUnreadable,             // U001
  kUtf16,                  // U003
  kNotCodePage932,         // U004
  kTextBeforeHeader,       // U005
  kLineWithoutEquals,      // U006
  kDuplicateSection,       // U007
  kDuplicateKey,           // U008
  kHeaderWithoutClose,     // U009
  kUtf8BeyondCodePage932,  // U017
  // Lists and their items.
  kEmptyListName,    // U010
  kEmptyList,        // U011
  kShortPairedList,  // U012
  kShortArgList,     // U013
  kLongPairedList,   // U014
  kEmptyPathItem,    // U015
  kValueNotWhole,    // U016
  // Loading, as the updater loads.
  kSectionMissing,  // U020
  kKeyMissing,      // U021
  kUnknownMode,     // U022
  kUnreadKey,       // U023
  // Procedures referring to procedures.
  kSwitchTargetMissing,  // U030
  kFlagTargetMissing,    // U031
  kTestedNotRun,         // U032
  kFlagExpectation,      // U033
  kSwitchLoop,           // U034
  kUnreachable,          // U035
  kSwitchTooDeep,        // U036
  // Values of the kinds.
  kAttrNotHex,           // U040
  kBadDate,              // U041
  kShortYear,            // U042
  kBadMsgboxType,        // U043
  kNotANumber,           // U044
  kBadShowCommand,       // U045
  kLaunchWithoutFolder,  // U046
  kChildBeforeParent,    // U047
  kWildcard,             // U048
  kRelativePath,         // U049
  // Exit codes of waited programs.
  kBadExitCode,      // U050
  kExitCodesUnread,  // U051
  // Symbols and App Paths.
  kUnknownSymbol,           // U060
  kUnexpandedInText,        // U061
  kDefineWithoutBrackets,   // U062
  kDefineForwardReference,  // U063
  kDefineSelfReference,     // U064
  kDefineBuiltin,           // U065
  kBadAppPaths,             // U066
  kDefineNotWhole,          // U067
  // The checker's own comment lines.
  kSuppressionUnused,  // U090
  // On the target PC (--here).
  kSourceMissing,      // U101
  kFileReadOnly,       // U102
  kFileHeld,           // U103
  kFolderMissing,      // U104
  kFileMissing,        // U105
  kProgramMissing,     // U106
  kLinkFolderMissing,  // U107
  kDateNow,            // U108
  kExistNow,           // U109
  kAppPathsMissing,    // U110
  kOsverNow,           // U111
  kCutOffCopyLeft,     // U112
  kCodeCount
};

struct CodeInfo {
  const char* id;  // "U012"
  Severity severity;
  const char* title;  // what the code is about, for --list-codes and docs
  // The finding says the updater refuses to load what it names: the key
  // (or, without one, the section or list), with a box, before anything of
  // its list runs.
  bool refusal;
};

const CodeInfo& InfoOf(Code code);

// The code of an id ("U012", any letter case); false when none has it.
bool CodeOf(const std::string& id, Code* code);

// Where docs/checks.md explains the code: "docs/checks.md#U012".
std::string DocAnchor(Code code);

const char* SeverityName(Severity severity);  // "error", "warning", "note"

}  // namespace checker

#endif  // UPDATER_CHECKER_CODES_H_
