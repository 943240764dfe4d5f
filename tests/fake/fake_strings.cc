// LoadStringA in the fake world: the real string table, read from the
// resource script the executable is built from and converted to code page
// 932, so host tests see the same bytes a Japanese Windows hands out.
#include <ctype.h>
#include <iconv.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/fake/fake_state.h"

#ifndef UPDATER_STRINGS_RC
#error "UPDATER_STRINGS_RC must name the string table's resource script"
#endif

namespace {

void Broken(const std::string& why) {
  fprintf(stderr, "fake platform: %s: %s\n", UPDATER_STRINGS_RC, why.c_str());
  abort();
}

struct Token {
  enum Kind { kWord, kString, kComma, kOpen, kClose } kind;
  std::string text;
};

// windres escapes: \n \r \t \a \\ \" \' octal and \x; "" is one quote.
size_t ReadString(const std::string& script, size_t i, std::string* out) {
  ++i;  // opening quote
  for (;;) {
    if (i >= script.size()) Broken("unterminated string");
    char c = script[i];
    if (c == '"') {
      if (i + 1 < script.size() && script[i + 1] == '"') {
        *out += '"';
        i += 2;
        continue;
      }
      return i + 1;
    }
    if (c == '\n') Broken("line break inside a string");
    if (c != '\\') {
      *out += c;
      ++i;
      continue;
    }
    if (++i >= script.size()) Broken("unterminated escape");
    char e = script[i++];
    switch (e) {
      case 'n': *out += '\n'; break;
      case 'r': *out += '\r'; break;
      case 't': *out += '\t'; break;
      case 'a': *out += '\a'; break;
      case '\\': *out += '\\'; break;
      case '"': *out += '"'; break;
      case '\'': *out += '\''; break;
      case 'x': {
        unsigned value = 0;
        int digits = 0;
        while (i < script.size() && digits < 4 && isxdigit(
                   static_cast<unsigned char>(script[i]))) {
          char d = script[i++];
          value = value * 16 + (isdigit(static_cast<unsigned char>(d))
                                    ? d - '0'
                                    : (tolower(d) - 'a' + 10));
          ++digits;
        }
        if (digits == 0 || value > 0x7F) Broken("unsupported \\x escape");
        *out += static_cast<char>(value);
        break;
      }
      default:
        if (e >= '0' && e <= '7') {
          unsigned value = e - '0';
          for (int k = 0; k < 2 && i < script.size() && script[i] >= '0' &&
                          script[i] <= '7';
               ++k) {
            value = value * 8 + (script[i++] - '0');
          }
          if (value > 0x7F) Broken("unsupported octal escape");
          *out += static_cast<char>(value);
        } else {
          Broken(std::string("unknown escape \\") + e);
        }
    }
  }
}

std::vector<Token> Tokenize(const std::string& script) {
  std::vector<Token> tokens;
  size_t i = 0;
  bool lineStart = true;
  while (i < script.size()) {
    char c = script[i];
    if (c == '\n') {
      lineStart = true;
      ++i;
      continue;
    }
    if (isspace(static_cast<unsigned char>(c))) {
      ++i;
      continue;
    }
    if (lineStart && c == '#') {  // preprocessor lines carry no strings
      while (i < script.size() && script[i] != '\n') ++i;
      continue;
    }
    lineStart = false;
    if (script.compare(i, 2, "//") == 0) {
      while (i < script.size() && script[i] != '\n') ++i;
      continue;
    }
    if (script.compare(i, 2, "/*") == 0) {
      size_t end = script.find("*/", i + 2);
      if (end == std::string::npos) Broken("unterminated comment");
      i = end + 2;
      continue;
    }
    Token token;
    if (c == '"' || (c == 'L' && i + 1 < script.size() && script[i + 1] == '"')) {
      if (c == 'L') ++i;
      token.kind = Token::kString;
      i = ReadString(script, i, &token.text);
    } else if (c == ',') {
      token.kind = Token::kComma;
      ++i;
    } else if (c == '{') {
      token.kind = Token::kOpen;
      ++i;
    } else if (c == '}') {
      token.kind = Token::kClose;
      ++i;
    } else {
      token.kind = Token::kWord;
      while (i < script.size() && !isspace(static_cast<unsigned char>(script[i])) &&
             script[i] != ',' && script[i] != '"' && script[i] != '{' &&
             script[i] != '}') {
        token.text += script[i++];
      }
    }
    tokens.push_back(token);
  }
  return tokens;
}

bool IsWord(const Token& token, const char* word) {
  return token.kind == Token::kWord && strcasecmp(token.text.c_str(), word) == 0;
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
  std::vector<Token> tokens = Tokenize(content.str());

  std::map<unsigned, std::string> table;
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (!IsWord(tokens[i], "STRINGTABLE")) continue;
    // Options such as LANGUAGE may stand between STRINGTABLE and BEGIN.
    while (++i < tokens.size() && !IsWord(tokens[i], "BEGIN") &&
           tokens[i].kind != Token::kOpen) {
    }
    for (++i; i < tokens.size(); ++i) {
      if (IsWord(tokens[i], "END") || tokens[i].kind == Token::kClose) break;
      char* end = NULL;
      unsigned long id = strtoul(tokens[i].text.c_str(), &end, 0);
      if (tokens[i].kind != Token::kWord || end == NULL || *end != '\0') {
        Broken("string id is not a number: " + tokens[i].text);
      }
      if (i + 1 < tokens.size() && tokens[i + 1].kind == Token::kComma) ++i;
      if (i + 1 >= tokens.size() || tokens[i + 1].kind != Token::kString) {
        Broken("string id without text");
      }
      table[static_cast<unsigned>(id)] = ToCodePage932(tokens[++i].text);
    }
  }
  if (table.empty()) Broken("no string table found");
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
