#include "tests/common/string_table_script.h"

#include <ctype.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

namespace stringtable {

namespace {

struct Token {
  enum Kind { kWord, kString, kComma, kOpen, kClose } kind;
  std::string text;
};

bool SameWord(const Token& token, const char* word) {
  if (token.kind != Token::kWord || token.text.size() != strlen(word)) {
    return false;
  }
  for (size_t i = 0; i < token.text.size(); ++i) {
    if (toupper(static_cast<unsigned char>(token.text[i])) != word[i]) {
      return false;
    }
  }
  return true;
}

class Reader {
 public:
  explicit Reader(const std::string& script) : script_(script) {}

  bool Tokenize(std::vector<Token>* tokens);
  const std::string& error() const { return error_; }

 private:
  bool Fail(const std::string& why) {
    error_ = why;
    return false;
  }
  bool ReadString(size_t* i, std::string* out);
  bool ReadEscape(size_t* i, std::string* out);

  const std::string& script_;
  std::string error_;
};

// windres escapes: \n \r \t \a \\ \" \' octal and \x (ASCII only: the
// script's own bytes carry everything else).
bool Reader::ReadEscape(size_t* i, std::string* out) {
  if (*i >= script_.size()) return Fail("unterminated escape");
  char e = script_[(*i)++];
  // Each escape letter followed by what it stands for.
  static const char kSimple[] =
      "n\n"
      "r\r"
      "t\t"
      "a\a"
      "\\\\"
      "\"\""
      "''";
  for (const char* p = kSimple; *p != '\0'; p += 2) {
    if (*p == e) {
      *out += p[1];
      return true;
    }
  }
  unsigned value = 0;
  int digits = 0;
  if (e == 'x') {
    while (*i < script_.size() && digits < 4 &&
           isxdigit(static_cast<unsigned char>(script_[*i]))) {
      char d[2] = {script_[(*i)++], '\0'};
      value = value * 16 + static_cast<unsigned>(strtoul(d, NULL, 16));
      ++digits;
    }
  } else if (e >= '0' && e <= '7') {
    value = e - '0';
    for (digits = 1; digits < 3 && *i < script_.size() && script_[*i] >= '0' &&
                     script_[*i] <= '7';
         ++digits) {
      value = value * 8 + (script_[(*i)++] - '0');
    }
  } else {
    return Fail(std::string("unknown escape \\") + e);
  }
  if (digits == 0 || value > 0x7F) return Fail("escape outside ASCII");
  *out += static_cast<char>(value);
  return true;
}

// A quoted text; "" inside it is one quote.
bool Reader::ReadString(size_t* i, std::string* out) {
  ++*i;  // the opening quote
  for (;;) {
    if (*i >= script_.size()) return Fail("unterminated string");
    char c = script_[*i];
    if (c == '"') {
      if (*i + 1 < script_.size() && script_[*i + 1] == '"') {
        *out += '"';
        *i += 2;
        continue;
      }
      ++*i;
      return true;
    }
    if (c == '\n') return Fail("line break inside a string");
    ++*i;
    if (c != '\\') {
      *out += c;
    } else if (!ReadEscape(i, out)) {
      return false;
    }
  }
}

bool Reader::Tokenize(std::vector<Token>* tokens) {
  size_t i = 0;
  bool lineStart = true;
  while (i < script_.size()) {
    char c = script_[i];
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
      while (i < script_.size() && script_[i] != '\n') ++i;
      continue;
    }
    lineStart = false;
    if (script_.compare(i, 2, "//") == 0) {
      while (i < script_.size() && script_[i] != '\n') ++i;
      continue;
    }
    if (script_.compare(i, 2, "/*") == 0) {
      size_t end = script_.find("*/", i + 2);
      if (end == std::string::npos) return Fail("unterminated comment");
      i = end + 2;
      continue;
    }
    Token token;
    if (c == '"' ||
        (c == 'L' && i + 1 < script_.size() && script_[i + 1] == '"')) {
      if (c == 'L') ++i;
      token.kind = Token::kString;
      if (!ReadString(&i, &token.text)) return false;
    } else if (c == ',' || c == '{' || c == '}') {
      token.kind =
          c == ',' ? Token::kComma : (c == '{' ? Token::kOpen : Token::kClose);
      ++i;
    } else {
      token.kind = Token::kWord;
      while (i < script_.size() &&
             !isspace(static_cast<unsigned char>(script_[i])) &&
             strchr(",\"{}", script_[i]) == NULL) {
        token.text += script_[i++];
      }
    }
    tokens->push_back(token);
  }
  return true;
}

}  // namespace

bool Parse(const std::string& script, Table* table, std::string* error) {
  table->clear();
  std::vector<Token> tokens;
  Reader reader(script);
  if (!reader.Tokenize(&tokens)) {
    *error = reader.error();
    return false;
  }
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (!SameWord(tokens[i], "STRINGTABLE")) continue;
    // Options such as LANGUAGE may stand between STRINGTABLE and BEGIN.
    while (++i < tokens.size() && !SameWord(tokens[i], "BEGIN") &&
           tokens[i].kind != Token::kOpen) {
    }
    for (++i; i < tokens.size(); ++i) {
      if (SameWord(tokens[i], "END") || tokens[i].kind == Token::kClose) break;
      char* end = NULL;
      unsigned long id = strtoul(tokens[i].text.c_str(), &end, 0);
      if (tokens[i].kind != Token::kWord || end == NULL || *end != '\0') {
        *error = "string id is not a number: " + tokens[i].text;
        return false;
      }
      if (i + 1 < tokens.size() && tokens[i + 1].kind == Token::kComma) ++i;
      if (i + 1 >= tokens.size() || tokens[i + 1].kind != Token::kString) {
        *error = "string id without text: " + tokens[i].text;
        return false;
      }
      (*table)[static_cast<unsigned>(id)] = tokens[++i].text;
    }
  }
  if (table->empty()) {
    *error = "no string table found";
    return false;
  }
  return true;
}

}  // namespace stringtable
