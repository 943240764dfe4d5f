// The string table of a resource script, read as windres reads it, so that
// tests compare against the table the executable is built from
// (res/strings.rc) instead of copies of it. Plain C++: the host build's fake
// and the Windows test build both use it.
#ifndef UPDATER_TESTS_COMMON_STRING_TABLE_SCRIPT_H_
#define UPDATER_TESTS_COMMON_STRING_TABLE_SCRIPT_H_

#include <map>
#include <string>

namespace stringtable {

typedef std::map<unsigned, std::string> Table;

// The entries of every STRINGTABLE block of `script`, by id. Texts keep the
// script's own encoding (UTF-8 for res/strings.rc); escapes and doubled
// quotes are resolved. False, with the reason in `error`, for a script this
// reader does not understand, or one without any entry.
bool Parse(const std::string& script, Table* table, std::string* error);

}  // namespace stringtable

#endif  // UPDATER_TESTS_COMMON_STRING_TABLE_SCRIPT_H_
