// Bytes as lower-case hexadecimal: how the Wine test programs report texts,
// so that code page 932 bytes reach the Python side unchanged.
#ifndef UPDATER_TESTS_E2E_HEX_TEXT_H_
#define UPDATER_TESTS_E2E_HEX_TEXT_H_

#include <string>

inline std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  for (size_t i = 0; i < bytes.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out;
}

#endif  // UPDATER_TESTS_E2E_HEX_TEXT_H_
