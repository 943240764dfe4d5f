#include "settings/settings_reader.h"

#include <cstring>
#include <new>

#include "platform/platform.h"

const char kNoDataSentinel[] = "NO_DATA";

namespace {

// MAX_PATH bytes, with one less given to the profile function: a value
// comes back with at most 258 characters.
const unsigned kValueBufferSize = 260;
const unsigned kValueReadSize = 259;

// The largest section GetPrivateProfileSectionA fills on Windows 95.
const unsigned kSectionBufferSize = 32767;

// Reads the raw value; false when the key is absent or reads "NO_DATA".
bool ReadValue(const char* file, const char* section, const char* key,
               char (&buffer)[kValueBufferSize]) {
  platform::ProfileString(section, key, kNoDataSentinel, buffer, kValueReadSize,
                          file);
  // The function writes at most kValueReadSize bytes; the last byte is ours
  // and keeps the text terminated whatever came back.
  buffer[kValueBufferSize - 1] = '\0';
  return TextString(buffer).Differs(kNoDataSentinel);
}

}  // namespace

bool ReadSettingString(const char* file, const char* section, const char* key,
                       TextString& out) {
  char buffer[kValueBufferSize] = {0};
  if (!ReadValue(file, section, key, buffer)) return false;
  out.Set(buffer);
  return true;
}

bool ReadSettingInt(const char* file, const char* section, const char* key,
                    int& out) {
  char buffer[kValueBufferSize] = {0};
  if (!ReadValue(file, section, key, buffer)) return false;
  // A value without a leading number leaves `out` alone but is present.
  ParseDecimal(buffer, &out);
  return true;
}

int ReadSettingSection(const char* file, const char* section,
                       TextString& target) {
  // Too large for the stack of a 32-bit GUI thread to spare comfortably.
  char* buffer = new (std::nothrow) char[kSectionBufferSize]();
  if (!buffer) return 0;
  platform::ProfileSection(section, buffer, kSectionBufferSize, file);
  // Two closing zeros whatever came back: a line that starts before the
  // last byte ends at the second-last, and the walk then meets an empty
  // line inside the buffer.
  buffer[kSectionBufferSize - 2] = '\0';
  buffer[kSectionBufferSize - 1] = '\0';

  int count = 0;
  const char* end = buffer + kSectionBufferSize;
  for (const char* line = buffer; line < end && *line != '\0';
       line += std::strlen(line) + 1) {
    if (line[0] == ';') continue;  // comment line
    if (target.Length() != 0) {
      TextString separated("\n");
      separated.Add(line);
      target.Add(separated);
    } else {
      target.Add(line);
    }
    ++count;
  }
  delete[] buffer;
  return count;
}
