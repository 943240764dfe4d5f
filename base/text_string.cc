#include "base/text_string.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <new>

#include "platform/compiler.h"
#include "platform/platform.h"
#include "platform/text_rules.h"

namespace {

const int kFormatArea = 1024;
const int kTemplateArea = 256;

const char* OrEmpty(const char* text) { return text ? text : ""; }

int LengthOf(const char* text) {
  return static_cast<int>(std::strlen(OrEmpty(text)));
}

char* NewBlock(int size) { return new (std::nothrow) char[size]; }

// The lowest second byte of a double-byte character in any ANSI code page.
const unsigned char kLowestTrailByte = 0x40;

// The start of the character after the one at `p`; `p` itself at the
// terminator. No code page has a lead byte below 0x80, so plain ASCII is
// stepped here without asking the system. A lead byte followed by a byte
// below 0x40 (a line feed, ",", "=", ";", ".", a digit) is a broken
// character: the lead byte stands alone, so such a byte always separates.
// Whatever the system answers, the terminator is never passed.
const char* NextChar(const char* p) { return NextTextChar(p); }

// Whether offset `at` starts a character, walking from offset `from`,
// which does.
bool StartsChar(const char* text, int from, int at) {
  const char* p = text + from;
  const char* target = text + at;
  while (p < target) p = NextChar(p);
  return p == target;
}

// `a` starts a character; platform/text_rules.h says which letters fold.
bool SameFolded(const char* a, const char* b, int n) {
  return n <= 0 || platform::SameTextFolded(a, b, static_cast<unsigned>(n));
}

bool EqualsFolded(const char* a, const char* b) {
  int n = LengthOf(a);
  return n == LengthOf(b) && SameFolded(a, b, n);
}

// The next occurrence of `pattern` at or after `from` that starts a
// character: true with its offset in `*offset`. The second byte of a
// double-byte character is never taken for a backslash or a brace. `from`
// must start a character and `pattern` must not be empty.
bool FindFrom(const char* text, int from, const char* pattern, int* offset) {
  const char* p = text + from;
  for (;;) {
    const char* hit = std::strstr(p, pattern);
    if (!hit) return false;
    while (p < hit) p = NextChar(p);
    if (p == hit) {
      *offset = static_cast<int>(hit - text);
      return true;
    }
    // `hit` lay inside a character; look again from the next one.
  }
}

bool IsBlankSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' ||
         c == '\r';
}

bool UsableBrackets(const char* open, const char* close) {
  return open && close && *open && *close && std::strcmp(open, close) != 0;
}

}  // namespace

TextString TextOfSpan(const char* first, const char* last) {
  TextString text;
  const int length = static_cast<int>(last - first) + 1;
  if (length > 0 && text.Reserve(length + 1)) {
    std::memcpy(text.Buffer(), first, static_cast<size_t>(length));
  }
  return text;
}

const char* NextTextChar(const char* p) {
  unsigned char c = static_cast<unsigned char>(*p);
  if (c < 0x80) return c ? p + 1 : p;
  const char* next = platform::NextChar(p);
  if (next > p + 1 && static_cast<unsigned char>(p[1]) < kLowestTrailByte)
    return p + 1;
  const char* q = p + 1;
  while (q < next && *q) ++q;
  return q;
}

// ---- The bracket walk -------------------------------------------------------

GroupWalk::GroupWalk(const char* text, const char* open, const char* close)
    : text_(OrEmpty(text)),
      open_(OrEmpty(open)),
      close_(OrEmpty(close)),
      openLength_(static_cast<int>(std::strlen(open_))),
      closeLength_(static_cast<int>(std::strlen(close_))),
      position_(0),
      depth_(0),
      nextOpen_(),
      nextClose_(),
      ended_(!UsableBrackets(open, close)),
      unclosed_(false) {}

bool GroupWalk::Ahead(const char* pattern, Lookahead* cached, int* offset) {
  // Positions only grow, and characters start at the same places from any
  // earlier start of one, so a find at or after the position stays valid,
  // and so does finding none.
  if (!cached->searched || (cached->found && cached->offset < position_)) {
    cached->searched = true;
    cached->found = FindFrom(text_, position_, pattern, &cached->offset);
  }
  *offset = cached->offset;
  return cached->found;
}

bool GroupWalk::Step(bool* tookClose, bool* openedAtTop) {
  // The next open is taken only when a close follows it.
  int c = 0;
  if (!Ahead(close_, &nextClose_, &c)) return false;
  int o = 0;
  const bool openAhead = Ahead(open_, &nextOpen_, &o);
  *openedAtTop = false;
  if (openAhead && o < c) {
    *openedAtTop = (depth_ == 0);
    ++depth_;
    position_ = o + openLength_;
    *tookClose = false;
  } else {
    --depth_;
    position_ = c + closeLength_;
    *tookClose = true;
  }
  return true;
}

bool GroupWalk::Next(const char** begin, const char** end) {
  if (ended_) return false;
  bool tookClose = false;
  bool openedAtTop = false;
  // A stray close drives the depth below 0: later opens on that level are
  // no groups until it is back at 0.
  do {
    if (!Step(&tookClose, &openedAtTop)) {
      ended_ = true;
      return false;
    }
  } while (!openedAtTop);
  *begin = text_ + position_ - openLength_;
  while (Step(&tookClose, &openedAtTop)) {
    if (tookClose && depth_ == 0) {
      *end = text_ + position_ - 1;  // the last byte of the closing bracket
      return true;
    }
  }
  // No close brings the depth back: the group runs to the end.
  ended_ = true;
  *end = text_ + LengthOf(text_) - 1;
  unclosed_ = true;
  return true;
}

bool ParseDecimal(const char* text, int* out) {
  const char* p = OrEmpty(text);
  while (IsBlankSpace(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = (*p++ == '-');
  if (*p < '0' || *p > '9') return false;
  // Magnitude limit of the sign; larger values clamp instead of wrapping.
  const unsigned limit = negative ? 2147483648u : 2147483647u;
  unsigned value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    unsigned digit = static_cast<unsigned>(*p - '0');
    value = (value > (limit - digit) / 10) ? limit : value * 10 + digit;
  }
  if (!negative) {
    *out = static_cast<int>(value);
  } else if (value == 2147483648u) {
    *out = INT_MIN;
  } else {
    *out = -static_cast<int>(value);
  }
  return true;
}

bool DigitOf(char c, int base, int* digit) {
  if (c >= '0' && c <= '9') {
    *digit = c - '0';
  } else if (base == 16 && c >= 'a' && c <= 'f') {
    *digit = c - 'a' + 10;
  } else if (base == 16 && c >= 'A' && c <= 'F') {
    *digit = c - 'A' + 10;
  } else {
    return false;
  }
  return true;
}

bool SpanEquals(const char* span, int length, const char* text) {
  // Equal lengths: a null `text` is read only when `length` is 0, not at all.
  return length == LengthOf(text) && SameFolded(span, text, length);
}

bool DirectoryOf(const char* path, TextString* out) {
  const char* p = OrEmpty(path);
  const char* slash = NULL;
  for (const char* c = p; *c; c = NextChar(c)) {
    if (*c == '\\') slash = c;
  }
  if (!slash || slash == p) return false;
  // Built aside so that a path inside `out` itself stays readable.
  const TextString directory = TextOfSpan(p, slash - 1);
  return directory.Length() != 0 && out->Assign(directory.Text());
}

// ---- Construction and storage -------------------------------------------

TextString::TextString() {
  DetachBuffer();
  Assign("");
}

TextString::TextString(const char* text) {
  DetachBuffer();
  Assign(text);
}

TextString::TextString(const TextString& other) {
  DetachBuffer();
  Assign(other.Text());
}

TextString& TextString::operator=(const TextString& other) {
  return Set(other);
}

TextString::~TextString() { delete[] buffer_; }

void TextString::DetachBuffer() { buffer_ = NULL; }

void TextString::Install(char* block) {
  delete[] buffer_;
  buffer_ = block;
}

bool TextString::Reserve(int size) {
  Install(NULL);
  char* block = NewBlock(size > 0 ? size : 1);
  if (!block) return false;
  std::memset(block, 0, size > 0 ? size : 1);
  buffer_ = block;
  return true;
}

// Assign and Append fill the new block before releasing the old one, so an
// argument that points into this string is still intact when it is read.
bool TextString::Assign(const char* text) {
  text = OrEmpty(text);
  int n = static_cast<int>(std::strlen(text));
  char* block = NewBlock(n + 1);
  if (block) std::memcpy(block, text, n + 1);
  Install(block);
  return block != NULL;
}

bool TextString::Append(const char* text) {
  text = OrEmpty(text);
  int oldLength = Length();
  int n = static_cast<int>(std::strlen(text));
  char* block = NewBlock(oldLength + n + 1);
  if (block) {
    std::memcpy(block, Text(), oldLength);
    std::memcpy(block + oldLength, text, n + 1);
  }
  Install(block);
  return block != NULL;
}

UPDATER_NOINLINE const char* TextString::Text() const {
  return buffer_ ? buffer_ : "";
}

char* TextString::Buffer() { return buffer_; }

TextString& TextString::Set(const TextString& other) {
  Assign(other.Text());
  return *this;
}

TextString& TextString::Set(const char* text) {
  Assign(text);
  return *this;
}

TextString& TextString::Add(const TextString& other) {
  Append(other.Text());
  return *this;
}

TextString& TextString::Add(const char* text) {
  Append(text);
  return *this;
}

TextString TextString::Concat(const TextString& other) const {
  return Concat(other.Text());
}

TextString TextString::Concat(const char* text) const {
  TextString result(*this);
  result.Add(text);
  return result;
}

bool TextString::Equals(const TextString& other) const {
  return EqualsFolded(Text(), other.Text());
}

bool TextString::Equals(const char* text) const {
  return EqualsFolded(Text(), text);
}

bool TextString::Differs(const TextString& other) const {
  return !Equals(other);
}

bool TextString::Differs(const char* text) const { return !Equals(text); }

int TextString::Length() const { return LengthOf(Text()); }

// ---- Spans ----------------------------------------------------------------

TextString TextString::SliceAt(int first, int last) const {
  const int length = Length();
  if (first < 0) first = 0;
  if (last >= length) last = length - 1;  // the copy stops at the terminator
  return TextOfSpan(Text() + first, Text() + last);
}

// The new text is made in one block before the old one goes, so `text` may
// point into this buffer.
bool TextString::ReplaceSpanAt(int first, int last, const char* text) {
  const char* s = Text();
  const int length = Length();
  const int head = first < 0 ? 0 : first > length ? length : first;
  const int tail = last < 0 ? 0 : last >= length ? length : last + 1;
  text = OrEmpty(text);
  const int n = LengthOf(text);
  char* block = NewBlock(head + n + length - tail + 1);
  if (block) {
    std::memcpy(block, s, head);
    std::memcpy(block + head, text, n);
    std::memcpy(block + head + n, s + tail, length - tail + 1);
  }
  Install(block);
  return block != NULL;
}

TextString TextString::Slice(const char* first, const char* last) const {
  if (!buffer_ || !first || !last) return TextString();
  return SliceAt(static_cast<int>(first - buffer_),
                 static_cast<int>(last - buffer_));
}

TextString& TextString::ReplaceSpan(const char* first, const char* last,
                                    const char* text) {
  if (buffer_ && first && last) {
    ReplaceSpanAt(static_cast<int>(first - buffer_),
                  static_cast<int>(last - buffer_), text);
  }
  return *this;
}

// ---- Characters -------------------------------------------------------------

TextString TextString::CharAt(int index) const { return Mid(index, index); }

TextString TextString::Mid(int first, int last) const {
  int length = Length();
  if (first < 0 || last < 0) {
    if (length == 0) return TextString();
    if (first < 0) first += length;
    if (last < 0) last += length;
  }
  if (first < 0 || first >= length || first > last) return TextString();
  return SliceAt(first, last);
}

bool TextString::ReplaceChar(int index, const char* text) {
  return ReplaceMid(index, index, text);
}

bool TextString::ReplaceMid(int first, int last, const char* text) {
  int length = Length();
  if (first < 0 || last < 0) {
    if (length == 0) return false;
    if (first < 0) first += length;
    if (last < 0) last += length;
  }
  // Only existing characters are replaced; nothing is inserted.
  if (first < 0 || first >= length || first > last) return false;
  if (last >= length) last = length - 1;
  return ReplaceSpanAt(first, last, text);
}

// ---- Words ----------------------------------------------------------------

int TextString::WordCount() const {
  const char* s = Text();
  if (!*s) return 0;
  int count = 1;
  bool quoted = (s[0] == '"');
  for (int k = 0; s[k]; ++k) {
    if (s[k] != ' ') continue;
    // Inside a quoted word only a blank right after a quote separates.
    if (quoted && k > 0 && s[k - 1] != '"') continue;
    ++count;
    quoted = (s[k + 1] == '"');
  }
  return count;
}

bool TextString::LocateWordsAt(int first, int last, int* begin,
                               int* end) const {
  if (first < 0 || last < 0) {
    int n = WordCount();
    if (n == 0) return false;
    if (first < 0) first += n;
    if (last < 0) last += n;
  }
  const char* s = Text();
  bool hasBegin = (first == 0);
  *begin = 0;
  *end = Length() - 1;
  int i = 0;
  bool quoted = (s[0] == '"');
  for (int k = 0; s[k]; ++k) {
    if (s[k] != ' ') continue;
    if (quoted && k > 0 && s[k - 1] != '"') continue;
    if (i >= last) {
      *end = k - 1;
      break;
    }
    ++i;
    if (!hasBegin && i >= first) {
      *begin = k + 1;
      hasBegin = true;
    }
    quoted = (s[k + 1] == '"');
  }
  return hasBegin;
}

bool TextString::LocateWords(int first, int last, const char** begin,
                             const char** end) const {
  int b, e;
  if (!buffer_ || !LocateWordsAt(first, last, &b, &e)) return false;
  *begin = buffer_ + b;
  *end = buffer_ + e;
  return true;
}

TextString TextString::Word(int index) const { return Words(index, index); }

TextString TextString::Words(int first, int last) const {
  int b, e;
  if (!LocateWordsAt(first, last, &b, &e)) return TextString();
  return SliceAt(b, e);
}

bool TextString::ReplaceWord(int index, const char* text) {
  return ReplaceWords(index, index, text);
}

bool TextString::ReplaceWords(int first, int last, const char* text) {
  int b, e;
  if (!LocateWordsAt(first, last, &b, &e)) return false;
  return ReplaceSpanAt(b, e, text);
}

// ---- Items ------------------------------------------------------------------

int TextString::ItemCount(const char* separator) const {
  if (Length() == 0 || !separator || !*separator) return 0;
  return 1 + CountOf(separator);
}

bool TextString::LocateItemsAt(int first, int last, const char* separator,
                               int* begin, int* end) const {
  if (!separator || !*separator) return false;
  if (first < 0 || last < 0) {
    int n = ItemCount(separator);
    if (n == 0) return false;
    if (first < 0) first += n;
    if (last < 0) last += n;
  }
  const char* s = Text();
  int separatorLength = LengthOf(separator);
  bool hasBegin = (first == 0);
  *begin = 0;
  *end = Length() - 1;
  int i = 0;
  int pos = 0;
  for (bool hit = FindFrom(s, 0, separator, &pos); hit;
       hit = FindFrom(s, pos + separatorLength, separator, &pos)) {
    if (i >= last) {
      *end = pos - 1;
      break;
    }
    ++i;
    if (!hasBegin && i >= first) {
      *begin = pos + separatorLength;
      hasBegin = true;
    }
  }
  return hasBegin;
}

bool TextString::LocateItems(int first, int last, const char* separator,
                             const char** begin, const char** end) const {
  int b, e;
  if (!buffer_ || !LocateItemsAt(first, last, separator, &b, &e)) {
    return false;
  }
  *begin = buffer_ + b;
  *end = buffer_ + e;
  return true;
}

TextString TextString::Item(int index, const char* separator) const {
  return Items(index, index, separator);
}

TextString TextString::Items(int first, int last, const char* separator) const {
  int b, e;
  if (!LocateItemsAt(first, last, separator, &b, &e)) return TextString();
  return SliceAt(b, e);
}

bool TextString::ReplaceItem(int index, const char* separator,
                             const char* text) {
  return ReplaceItems(index, index, separator, text);
}

bool TextString::ReplaceItems(int first, int last, const char* separator,
                              const char* text) {
  int b, e;
  if (!LocateItemsAt(first, last, separator, &b, &e)) return false;
  return ReplaceSpanAt(b, e, text);
}

// ---- Groups -----------------------------------------------------------------

int TextString::GroupCount(const char* open, const char* close) const {
  GroupWalk walk(Text(), open, close);
  int count = 0;
  const char* begin;
  const char* end;
  // Only groups that close count.
  while (walk.Next(&begin, &end) && !walk.Unclosed()) ++count;
  return count;
}

bool TextString::LocateGroupsAt(int first, int last, const char* open,
                                const char* close, int* begin, int* end) const {
  if (!UsableBrackets(open, close)) return false;
  if (first < 0 || last < 0) {
    int n = GroupCount(open, close);
    if (n == 0) return false;
    if (first < 0) first += n;
    if (last < 0) last += n;
  }
  // A range reaching before group 0 starts at group 0.
  if (first < 0) first = 0;
  if (last < first) return false;
  const char* s = Text();
  GroupWalk walk(s, open, close);
  const char* groupBegin;
  const char* groupEnd;
  for (int k = 0; k <= first; ++k) {
    if (!walk.Next(&groupBegin, &groupEnd)) return false;
  }
  *begin = static_cast<int>(groupBegin - s);
  for (int k = first; k < last; ++k) {
    // Fewer groups than `last`: the span runs to the end of the text.
    if (!walk.Next(&groupBegin, &groupEnd)) {
      groupEnd = s + Length() - 1;
      break;
    }
  }
  *end = static_cast<int>(groupEnd - s);
  return true;
}

bool TextString::LocateGroups(int first, int last, const char* open,
                              const char* close, const char** begin,
                              const char** end) const {
  int b, e;
  if (!buffer_ || !LocateGroupsAt(first, last, open, close, &b, &e)) {
    return false;
  }
  *begin = buffer_ + b;
  *end = buffer_ + e;
  return true;
}

TextString TextString::Group(int index, const char* open,
                             const char* close) const {
  return Groups(index, index, open, close);
}

TextString TextString::Groups(int first, int last, const char* open,
                              const char* close) const {
  int b, e;
  if (!LocateGroupsAt(first, last, open, close, &b, &e)) return TextString();
  return SliceAt(b, e);
}

bool TextString::ReplaceGroup(int index, const char* open, const char* close,
                              const char* text) {
  return ReplaceGroups(index, index, open, close, text);
}

bool TextString::ReplaceGroups(int first, int last, const char* open,
                               const char* close, const char* text) {
  int b, e;
  if (!LocateGroupsAt(first, last, open, close, &b, &e)) return false;
  return ReplaceSpanAt(b, e, text);
}

// ---- Trimming, formatting, numbers ------------------------------------------

void TextString::Trim(const char* text) { Trim(text, text); }

void TextString::Trim(const char* leading, const char* trailing) {
  const char* s = Text();
  const int length = Length();
  const int leadLength = LengthOf(leading);
  const int trailLength = LengthOf(trailing);
  int begin = 0;
  int end = length;  // one past the last byte kept
  while (leadLength > 0 && end - begin >= leadLength &&
         SameFolded(s + begin, leading, leadLength)) {
    begin += leadLength;
  }
  // An occurrence must start a character: "\\" is not stripped from the
  // end of a double-byte character whose second byte is 0x5C.
  while (trailLength > 0 && end - begin >= trailLength &&
         SameFolded(s + end - trailLength, trailing, trailLength) &&
         StartsChar(s, begin, end - trailLength)) {
    end -= trailLength;
  }
  if (begin == 0 && end == length) return;
  Set(SliceAt(begin, end - 1));
}

#ifdef _WIN32
// The system runtime's formatter (declared by <stdio.h>): the messages rely
// on its printf rules, and the C++ headers of mingw-w64 would otherwise
// route vsnprintf to a larger formatter of their own.
#define UPDATER_VSNPRINTF _vsnprintf
#else
#define UPDATER_VSNPRINTF std::vsnprintf
#endif

void TextString::FormatV(const char* format, va_list args) {
  char area[kFormatArea];
  area[0] = '\0';
  UPDATER_VSNPRINTF(area, kFormatArea, OrEmpty(format), args);
  // Some runtimes leave a cut result unterminated.
  area[kFormatArea - 1] = '\0';
  Set(area);
}

void TextString::LoadFormat(unsigned id, ...) {
  va_list args;
  va_start(args, id);
  LoadFormatV(id, args);
  va_end(args);
}

void TextString::LoadFormatV(unsigned id, va_list args) {
  // An id the table lacks leaves the area as it was: empty.
  char pattern[kTemplateArea];
  pattern[0] = '\0';
  platform::LoadResourceString(id, pattern, kTemplateArea);
  pattern[kTemplateArea - 1] = '\0';
  FormatV(pattern, args);
}

void TextString::Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  FormatV(format, args);
  va_end(args);
}

int TextString::ToInt() const {
  int value = 0;
  ParseDecimal(Text(), &value);
  return value;
}

int TextString::HexToInt() const {
  const char* s = Text();
  if (s[0] != '0' || s[1] != 'x') return 0;
  unsigned value = 0;
  int digit = 0;
  for (const char* p = s + 2; DigitOf(*p, 16, &digit); ++p) {
    value = (value > 0x0FFFFFFFu) ? 0xFFFFFFFFu
                                  : (value << 4) | static_cast<unsigned>(digit);
  }
  // Same bit pattern as the unsigned value, without relying on an
  // implementation-defined conversion.
  if (value <= static_cast<unsigned>(INT_MAX)) return static_cast<int>(value);
  return static_cast<int>(value - 2147483648u) + INT_MIN;
}

// ---- Whole-text operations --------------------------------------------------

// Assign copies before it lets go of the old block.
void TextString::Compact() { Assign(Text()); }

void TextString::SetText(const char* text) {
  // Emptying first and then adding gives the same text as one Set, and one
  // Set keeps an argument that points into this buffer valid.
  Set(text);
}

bool TextString::ReplaceAll(const char* find, const char* text) {
  // Copies, since both may point into the buffer that is replaced.
  TextString pattern(find);
  TextString replacement(text);
  int findLength = pattern.Length();
  int textLength = replacement.Length();
  if (findLength == 0 || !replacement.buffer_) return false;
  bool replaced = false;
  int pos = 0;
  while (buffer_) {
    int hit = 0;
    if (!FindFrom(buffer_, pos, pattern.Text(), &hit)) break;
    if (!ReplaceSpanAt(hit, hit + findLength - 1, replacement.Text())) break;
    replaced = true;
    // Resuming after the inserted text keeps a replacement that contains
    // `find` from being matched again; stepping over it character by
    // character keeps the search on a character's start.
    const char* resume = buffer_ + hit;
    while (resume < buffer_ + hit + textLength) resume = NextChar(resume);
    pos = static_cast<int>(resume - buffer_);
  }
  return replaced;
}

int TextString::CountOf(const char* find) const {
  if (!find || !*find) return 0;
  const char* s = Text();
  int findLength = LengthOf(find);
  int count = 0;
  int pos = 0;
  for (bool hit = FindFrom(s, 0, find, &pos); hit;
       hit = FindFrom(s, pos + findLength, find, &pos)) {
    ++count;
  }
  return count;
}
