#include "checker/codes.h"

#include <string>

namespace checker {

namespace {

// In the order of enum Code.
const CodeInfo kCodes[kCodeCount] = {
    {"U001", kError, "settings file cannot be read", false},
    {"U003", kError, "UTF-16 or binary file", false},
    {"U004", kError, "text that is no code page 932", false},
    {"U005", kWarning, "text before the first section header", false},
    {"U006", kWarning, "line without \"=\" is no key", false},
    {"U007", kWarning, "duplicate section: only the first is read", false},
    {"U008", kWarning, "duplicate key: only the first is read", false},
    {"U009", kWarning, "\"[\" line without \"]\" is no section header", false},
    {"U017", kError, "UTF-8 text with characters code page 932 lacks", false},
    {"U010", kError, "empty name in a procedure list", true},
    {"U011", kError, "empty list", false},
    {"U012", kError, "paired list shorter than its driving list", false},
    {"U013", kWarning, "ATTR ARG shorter than FILE", false},
    {"U014", kWarning, "list longer than its driving list", false},
    {"U015", kError, "empty item where a path is needed", false},
    {"U016", kError, "value the updater cannot read or expand whole", true},
    {"U020", kError, "section missing", true},
    {"U021", kError, "key missing", true},
    {"U022", kError, "unknown MODE", true},
    {"U023", kWarning, "key the kind does not read", false},
    {"U030", kError, "SWITCH PROC names no procedure of its list", false},
    {"U031", kError, "MSGBOX FLAG names no procedure of its list", false},
    {"U032", kWarning, "tested procedure has not run when it is tested", false},
    {"U033", kWarning, "FLAG expects neither 0 nor 1", false},
    {"U034", kWarning, "SWITCH branch leads back to the SWITCH", false},
    {"U035", kWarning, "procedure that no list reaches", false},
    {"U036", kError, "SWITCH branches nested deeper than the updater runs",
     false},
    {"U040", kError, "ATTR value not written 0x and hexadecimal digits", false},
    {"U041", kError, "DATE is not a date", false},
    {"U042", kError, "DATE year written with two digits", false},
    {"U043", kError, "MSGBOX TYPE is none of the four words", false},
    {"U044", kError, "ISABORT or ISWAIT value is not a number", false},
    {"U045", kWarning, "LINK SHOWCMD is not 1, 2 or 3", false},
    {"U046", kError, "LAUNCH program without a folder", false},
    {"U047", kError, "MAKEDIR folder listed before its parent", false},
    {"U048", kError, "wildcard or folder where a file is needed", false},
    {"U049", kWarning, "relative path", false},
    {"U050", kError, "SUCCESS or RESTART item is not an exit code", true},
    {"U051", kWarning, "SUCCESS or RESTART on a LAUNCH that does not wait",
     false},
    {"U060", kError, "reference that stays unexpanded", false},
    {"U061", kWarning, "markup that stays as written in a text", false},
    {"U062", kWarning, "[DEFINE] name without angle brackets", false},
    {"U063", kError, "[DEFINE] entry refers to a later entry", false},
    {"U064", kError, "[DEFINE] entry refers to itself", false},
    {"U065", kError, "[DEFINE] entry named like a built-in symbol", false},
    {"U066", kError, "App Paths group written wrongly", false},
    {"U067", kError, "[DEFINE] entry that cannot be expanded whole", false},
    {"U090", kWarning, "suppression comment that silences nothing", false},
    {"U101", kError, "COPY source missing", false},
    {"U102", kError, "file is read-only", false},
    {"U103", kError, "file is held open by another program", false},
    {"U104", kError, "folder missing", false},
    {"U105", kError, "file missing", false},
    {"U106", kError, "LAUNCH program not found", false},
    {"U107", kWarning, "LINK folder missing", false},
    {"U108", kNote, "DATE result now", false},
    {"U109", kNote, "EXIST result now", false},
    {"U110", kWarning, "App Paths lookup finds nothing", false},
    {"U111", kNote, "OSVER result now", false},
    {"U112", kWarning, "files left by a COPY that was cut off", false},
};

}  // namespace

const CodeInfo& InfoOf(Code code) { return kCodes[code]; }

bool CodeOf(const std::string& id, Code* code) {
  for (int c = 0; c < kCodeCount; ++c) {
    const char* known = kCodes[c].id;
    bool same = id.size() == 4;
    for (size_t i = 0; same && i < 4; ++i) {
      same = (id[i] == 'u' ? 'U' : id[i]) == known[i];
    }
    if (same) {
      *code = static_cast<Code>(c);
      return true;
    }
  }
  return false;
}

std::string DocAnchor(Code code) {
  return std::string("docs/checks.md#") + kCodes[code].id;
}

const char* SeverityName(Severity severity) {
  switch (severity) {
    case kError:
      return "error";
    case kWarning:
      return "warning";
    default:
      return "note";
  }
}

}  // namespace checker
