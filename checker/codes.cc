#include "checker/codes.h"

namespace checker {

namespace {

// In the order of enum Code.
const CodeInfo kCodes[kCodeCount] = {
    {"U001", kError, "settings file cannot be read"},
    {"U002", kError, "UTF-8 byte-order mark"},
    {"U003", kError, "UTF-16 or binary file"},
    {"U004", kError, "text the ANSI code page (932) cannot hold"},
    {"U005", kWarning, "text before the first section header"},
    {"U006", kWarning, "line without \"=\" is no key"},
    {"U007", kWarning, "duplicate section: only the first is read"},
    {"U008", kWarning, "duplicate key: only the first is read"},
    {"U009", kWarning, "\"[\" line without \"]\" is no section header"},
    {"U010", kError, "empty name in a procedure list"},
    {"U011", kError, "empty list"},
    {"U012", kError, "paired list shorter than its driving list"},
    {"U013", kWarning, "ATTR ARG shorter than FILE"},
    {"U014", kWarning, "list longer than its driving list"},
    {"U015", kError, "empty item where a path is needed"},
    {"U016", kError, "value longer than the updater reads"},
    {"U020", kError, "section missing"},
    {"U021", kError, "key missing"},
    {"U022", kError, "unknown MODE"},
    {"U023", kWarning, "key the kind does not read"},
    {"U030", kError, "SWITCH PROC names no procedure of its list"},
    {"U031", kError, "MSGBOX FLAG names no procedure of its list"},
    {"U032", kWarning, "tested procedure has not run when it is tested"},
    {"U033", kWarning, "FLAG expects neither 0 nor 1"},
    {"U034", kWarning, "SWITCH branch leads back to the SWITCH"},
    {"U035", kWarning, "procedure that no list reaches"},
    {"U040", kError, "ATTR value not written 0x and hexadecimal digits"},
    {"U041", kError, "DATE is not a date"},
    {"U042", kError, "DATE year written with two digits"},
    {"U043", kError, "MSGBOX TYPE is none of the four words"},
    {"U044", kError, "ISABORT or ISWAIT value is not a number"},
    {"U045", kWarning, "LINK SHOWCMD is not 1, 2 or 3"},
    {"U046", kError, "LAUNCH program without a folder"},
    {"U047", kError, "MAKEDIR folder listed before its parent"},
    {"U048", kError, "wildcard or folder where a file is needed"},
    {"U049", kWarning, "relative path"},
    {"U060", kError, "reference that stays unexpanded"},
    {"U061", kWarning, "markup that stays as written in a text"},
    {"U062", kWarning, "[DEFINE] name without angle brackets"},
    {"U063", kError, "[DEFINE] entry refers to a later entry"},
    {"U064", kError, "[DEFINE] entry refers to itself"},
    {"U065", kError, "[DEFINE] entry named like a built-in symbol"},
    {"U066", kError, "App Paths group written wrongly"},
    {"U101", kError, "COPY source missing"},
    {"U102", kError, "file is read-only"},
    {"U103", kError, "file is held open by another program"},
    {"U104", kError, "folder missing"},
    {"U105", kError, "file missing"},
    {"U106", kError, "LAUNCH program not found"},
    {"U107", kWarning, "LINK folder missing"},
    {"U108", kNote, "DATE result now"},
    {"U109", kNote, "EXIST result now"},
    {"U110", kWarning, "App Paths lookup finds nothing"},
    {"U111", kNote, "OSVER result now"},
};

}  // namespace

const CodeInfo& InfoOf(Code code) { return kCodes[code]; }

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
