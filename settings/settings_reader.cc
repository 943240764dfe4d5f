#include "settings/settings_reader.h"

#include <cstring>

#include "base/text_builder.h"
#include "platform/platform.h"

const char kNoDataSentinel[] = "NO_DATA";

namespace {

// The first read of a value or a section gives the profile function the
// sizes these readers always used; only a text that may have been cut is
// read again, with a larger buffer.
const unsigned kFirstValueSize = 259;
const unsigned kFirstSectionSize = 32767;

// The largest buffer handed to the profile functions: 32767 bytes on the 95
// family (its profile functions take no more), 16 MiB on the NT family, far
// beyond any settings file.
const unsigned kLargestRead95 = 32767;
const unsigned kLargestReadNt = 16u << 20;

unsigned LargestRead() {
  return platform::IsNtPlatform() ? kLargestReadNt : kLargestRead95;
}

// Room for everything the file holds, within the largest read; 0 when the
// file cannot be found. A value or a section is never longer than its
// file: each line loses its line break and gains a zero byte, a section's
// list one more.
unsigned RoomForFile(const char* file) {
  platform::FindEntry entry;
  platform::FileSearch search;
  if (!search.First(file, &entry)) return 0;
  const unsigned largest = LargestRead();
  return entry.size < largest - 4 ? entry.size + 4 : largest;
}

// The size to try after a read of `size` came back cut, or 0 when `size`
// was the largest. Room for the whole file first: each try costs a read of
// the whole file, so a long text is read at most once more.
unsigned NextReadSize(const char* file, unsigned size) {
  const unsigned largest = LargestRead();
  if (size >= largest) return 0;
  const unsigned whole = RoomForFile(file);
  if (whole > size) return whole;
  return size < largest / 4 ? size * 4 : largest;
}

// Reads a key's value (`key` not null) or a whole section (`key` null) into
// `buffer`, growing it until the text surely fits, and sets `length` to the
// profile function's result. False when the text does not fit the largest
// read or memory runs out.
bool ReadWhole(const char* file, const char* section, const char* key,
               unsigned firstSize, TextString* buffer, unsigned* length) {
  for (unsigned size = firstSize; size != 0; size = NextReadSize(file, size)) {
    // One zero byte more than the function is told of: the text (and a
    // section's list) stays terminated whatever comes back.
    if (!buffer->Reserve(static_cast<int>(size) + 1)) return false;
    *length = key != 0 ? platform::ProfileString(section, key, kNoDataSentinel,
                                                buffer->Buffer(), size, file)
                      : platform::ProfileSection(section, buffer->Buffer(), size,
                                                 file);
    // A cut value comes back with size - 1 bytes, or one fewer where the
    // cut would split a double-byte character; a cut section with size - 2.
    // Only a text that leaves more room than that is surely whole.
    if (*length + 2 < size) return true;
  }
  return false;
}

// Reads the raw value whole; false when the key is absent or reads
// "NO_DATA", or the value cannot be read whole.
bool ReadValue(const char* file, const char* section, const char* key,
               TextString* value) {
  unsigned length = 0;
  if (!ReadWhole(file, section, key, kFirstValueSize, value, &length)) {
    return false;
  }
  return value->Differs(kNoDataSentinel);
}

}  // namespace

bool ReadSettingString(const char* file, const char* section, const char* key,
                       TextString* out) {
  TextString value;
  if (!ReadValue(file, section, key, &value)) return false;
  out->Set(value.Text());
  return true;
}

bool ReadSettingInt(const char* file, const char* section, const char* key,
                    int* out) {
  TextString value;
  if (!ReadValue(file, section, key, &value)) return false;
  // A value without a leading number leaves `out` alone but is present.
  ParseDecimal(value.Text(), out);
  return true;
}

bool ReadSettingSection(const char* file, const char* section,
                        TextString* target, int* count) {
  TextString list;
  unsigned length = 0;
  const unsigned whole = RoomForFile(file);
  if (!ReadWhole(file, section, 0,
                 whole > kFirstSectionSize ? whole : kFirstSectionSize, &list,
                 &length)) {
    return false;
  }
  int lineCount = 0;
  // Only the part the function reported is walked; the zero byte after the
  // buffer ends every line inside it. Built aside and added once, so that
  // a long section costs no more than its length.
  TextBuilder lines;
  const int before = target->Length();
  const char* const end = list.Text() + length;
  for (const char* line = list.Text(); line < end && *line != '\0';) {
    const int lineLength = static_cast<int>(std::strlen(line));
    // Comment lines are left out.
    if (line[0] != ';') {
      if ((before != 0 || lineCount != 0) && !lines.Append("\n", 1)) break;
      if (!lines.Append(line, lineLength)) break;
      ++lineCount;
    }
    line += lineLength + 1;
  }
  // A failed Append above makes CopyTo fail too.
  TextString added;
  if (!lines.CopyTo(&added) || !target->Append(added.Text())) return false;
  *count = lineCount;
  return true;
}
