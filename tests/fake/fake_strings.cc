// LoadStringA in the fake world: the real string table, read from the
// resource script the executable is built from and converted to code page
// 932, so host tests see the same bytes a Japanese Windows hands out.
#include <iconv.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "platform/platform.h"
#include "tests/common/string_table_script.h"
#include "tests/fake/fake_state.h"

#ifndef UPDATER_STRINGS_RC
#error "UPDATER_STRINGS_RC must name the string table's resource script"
#endif

namespace {

void Broken(const std::string& why) {
  fprintf(stderr, "fake platform: %s: %s\n", UPDATER_STRINGS_RC, why.c_str());
  abort();
}

std::string ToCodePage932(const std::string& utf8) {
  iconv_t converter = iconv_open("CP932", "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(-1)) Broken("no CP932 in iconv");
  std::string result(utf8.size() * 2 + 4, '\0');
  char* in = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size();
  char* out = &result[0];
  size_t outLeft = result.size();
  size_t done = iconv(converter, &in, &inLeft, &out, &outLeft);
  iconv_close(converter);
  if (done == static_cast<size_t>(-1)) Broken("text not convertible to CP932");
  result.resize(result.size() - outLeft);
  return result;
}

std::map<unsigned, std::string> ReadTable() {
  std::ifstream file(UPDATER_STRINGS_RC, std::ios::binary);
  if (!file) Broken("cannot be read");
  std::stringstream content;
  content << file.rdbuf();
  stringtable::Table table;
  std::string error;
  if (!stringtable::Parse(content.str(), &table, &error)) Broken(error);
  for (stringtable::Table::iterator it = table.begin(); it != table.end();
       ++it) {
    it->second = ToCodePage932(it->second);
  }
  return table;
}

const std::map<unsigned, std::string>& Table() {
  static const std::map<unsigned, std::string> table = ReadTable();
  return table;
}

}  // namespace

namespace platform {

int LoadResourceString(unsigned id, char* buffer, int size) {
  if (size <= 0) return 0;
  const std::map<unsigned, std::string>& table = Table();
  std::map<unsigned, std::string>::const_iterator it = table.find(id);
  std::string text = it != table.end() ? it->second : std::string();
  // Cut to size - 1 bytes, never inside a double-byte character.
  size_t length = 0;
  while (length < text.size()) {
    size_t next = length +
        (fake::internal::IsLeadByte(static_cast<unsigned char>(text[length]))
             ? 2
             : 1);
    if (next > static_cast<size_t>(size - 1)) break;
    length = next;
  }
  memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
  return static_cast<int>(length);
}

}  // namespace platform

namespace fake {

const std::map<unsigned, std::string>& StringTable() { return Table(); }

}  // namespace fake
