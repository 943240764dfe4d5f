#include "platform/profile_text.h"

#include <string.h>

#include "platform/text_rules.h"

namespace platform {

namespace {

// A span of bytes; never terminated.
struct Span {
  const char* begin;
  unsigned length;
};

Span Trimmed(const char* begin, unsigned length) {
  Span span = {begin, 0};
  span.length = TrimProfileName(begin, length, &span.begin);
  return span;
}

Span TrimmedText(const char* text) {
  return Trimmed(text, static_cast<unsigned>(strlen(text)));
}

// Offset of the character `c` (never a second byte), or `length` when absent.
unsigned FindChar(const char* text, unsigned length, char c) {
  const char* const end = text + length;
  for (const char* p = text; p < end; p = NextCharIn(p, end)) {
    if (*p == c) return static_cast<unsigned>(p - text);
  }
  return length;
}

// lstrcpynA: at most size - 1 bytes and a terminator.
unsigned CopyCut(Span text, char* buffer, unsigned size) {
  unsigned length = text.length < size - 1 ? text.length : size - 1;
  if (length > 0) memcpy(buffer, text.begin, length);
  buffer[length] = '\0';
  return length;
}

// A section's list being written into `buffer`: `total` bytes so far, of
// which those past its `size` are only counted.
struct SectionOut {
  char* buffer;
  unsigned size;
  unsigned total;
};

// Adds `length` bytes of `text` to the list.
void Put(SectionOut* out, const char* text, unsigned length) {
  for (unsigned i = 0; i < length; ++i, ++out->total) {
    if (out->total < out->size) out->buffer[out->total] = text[i];
  }
}

// Walks the lines of the first section named `name` (compared as given).
// The lines before the first header form a section with the empty name,
// which a later "[]" header can never be.
class SectionWalk {
 public:
  SectionWalk(const char* text, unsigned length, Span name)
      : scanner_(text, length),
        name_(name),
        inside_(name.length == 0),
        found_(inside_),
        done_(false) {}

  bool Next(ProfileLine* line) {
    while (!done_ && scanner_.Next(line)) {
      if (line->kind != ProfileLine::kHeader) {
        if (inside_) return true;
        continue;
      }
      if (inside_) {
        done_ = true;  // only the first section of a name is searched
      } else if (!found_ && ProfileNamesEqual(line->name, line->nameLength,
                                              name_.begin, name_.length)) {
        inside_ = true;
      }
      found_ = found_ || inside_;
    }
    return false;
  }

 private:
  ProfileScanner scanner_;
  Span name_;
  bool inside_;  // in the first section of that name
  bool found_;   // that section has begun
  bool done_;    // and ended
};

}  // namespace

bool IsProfileBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

unsigned TrimProfileName(const char* text, unsigned length,
                         const char** begin) {
  while (length > 0 && IsProfileBlank(text[0])) {
    ++text;
    --length;
  }
  while (length > 0 && IsProfileBlank(text[length - 1])) --length;
  *begin = text;
  return length;
}

ProfileScanner::ProfileScanner(const char* text, unsigned length)
    : text_(text), length_(text ? length : 0), position_(0), number_(1) {}

bool NextProfileLine(const char* text, unsigned length, unsigned* position,
                     unsigned* lineLength) {
  const unsigned start = *position;
  if (text == 0 || start >= length) return false;
  unsigned end = start;
  while (end < length && text[end] != '\r' && text[end] != '\n') ++end;
  *lineLength = end - start;
  if (end < length) {
    const bool crlf =
        text[end] == '\r' && end + 1 < length && text[end + 1] == '\n';
    *position = end + (crlf ? 2 : 1);
  } else {
    *position = length;
  }
  return true;
}

bool ProfileScanner::Next(ProfileLine* line) {
  unsigned start = position_;
  unsigned lineLength = 0;
  while (NextProfileLine(text_, length_, &position_, &lineLength)) {
    const unsigned number = number_++;
    const Span whole = Trimmed(text_ + start, lineLength);
    const char* const raw = text_ + start;
    start = position_;
    if (whole.length == 0) continue;

    line->number = number;
    line->line = raw;
    line->value = whole.begin + whole.length;
    line->valueLength = 0;
    ProfileLine::Kind kind = ProfileLine::kWord;
    Span name = whole;
    const unsigned close = whole.begin[0] == '['
                               ? FindChar(whole.begin, whole.length, ']')
                               : whole.length;
    // Without "]" the line is an ordinary one.
    if (close < whole.length) {
      kind = ProfileLine::kHeader;
      name = Trimmed(whole.begin + 1, close - 1);
    } else {
      const unsigned equals = FindChar(whole.begin, whole.length, '=');
      if (equals < whole.length) {
        kind = ProfileLine::kKey;
        name = Trimmed(whole.begin, equals);
        const Span value =
            Trimmed(whole.begin + equals + 1, whole.length - equals - 1);
        line->value = value.begin;
        line->valueLength = value.length;
      }
    }
    line->kind = kind;
    line->name = name.begin;
    line->nameLength = name.length;
    return true;
  }
  return false;
}

bool ProfileNamesEqual(const char* a, unsigned aLength, const char* b,
                       unsigned bLength) {
  return aLength == bLength && SameTextFolded(a, b, aLength);
}

unsigned ProfileStringOf(const char* text, unsigned length, const char* section,
                         const char* key, const char* fallback, char* buffer,
                         unsigned size) {
  if (buffer == 0 || size == 0) return 0;
  if (section == 0 || key == 0) {
    buffer[0] = '\0';
    return 0;
  }
  // Trailing blanks of the default are dropped.
  Span result = {fallback ? fallback : "", 0};
  result.length = static_cast<unsigned>(strlen(result.begin));
  while (result.length > 0 && result.begin[result.length - 1] == ' ') {
    --result.length;
  }

  const Span wanted = TrimmedText(key);
  SectionWalk walk(text, length, TrimmedText(section));
  ProfileLine line;
  while (walk.Next(&line)) {
    if (!ProfileNamesEqual(line.name, line.nameLength, wanted.begin,
                           wanted.length)) {
      continue;
    }
    if (line.kind == ProfileLine::kKey) {
      result.begin = line.value;
      result.length = line.valueLength;
    }
    break;  // the first line of that name decides
  }
  // A value (or default) in matching quotes comes back without them.
  if (result.length >= 2 &&
      (result.begin[0] == '"' || result.begin[0] == '\'') &&
      result.begin[result.length - 1] == result.begin[0]) {
    ++result.begin;
    result.length -= 2;
  }
  return CopyCut(result, buffer, size);
}

unsigned ProfileSectionOf(const char* text, unsigned length,
                          const char* section, char* buffer, unsigned size) {
  if (buffer == 0 || size == 0) return 0;
  if (section == 0 || size < 2) {
    buffer[0] = '\0';
    return 0;
  }
  buffer[0] = buffer[1] = '\0';
  const Span name = {section, static_cast<unsigned>(strlen(section))};
  SectionWalk walk(text, length, name);

  // Each line rebuilt from its trimmed parts and ended by a zero byte;
  // comment lines are left out. Bytes past the buffer are only counted.
  SectionOut out = {buffer, size, 0};
  ProfileLine line;
  while (walk.Next(&line)) {
    if (line.nameLength > 0 && line.name[0] == ';') continue;
    Put(&out, line.name, line.nameLength);
    Put(&out, "=", line.kind == ProfileLine::kKey ? 1u : 0u);
    Put(&out, line.value, line.valueLength);
    Put(&out, "", 1);  // the terminating zero byte
  }
  const unsigned total = out.total;
  if (total + 1 >= size) {
    // Too small (a list that would fill the buffer exactly counts too): the
    // text is cut and closed by two zero bytes.
    buffer[size - 2] = buffer[size - 1] = '\0';
    return size - 2;
  }
  buffer[total] = '\0';
  return total;
}

}  // namespace platform
