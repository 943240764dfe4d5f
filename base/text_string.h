// TextString: the updater's one text type.
//
// An owned, exactly sized, NUL-terminated byte buffer in the ANSI code page.
// Besides assignment, concatenation and case-insensitive comparison it takes
// text apart in four parallel families of pieces, each with count, locate,
// extract and replace:
//   characters  Mid, ReplaceMid, CharAt, ReplaceChar (single bytes)
//   words       blank-separated (0x20 only); a word that starts with a double
//               quote runs to the first blank that directly follows a quote
//   items       separated by an exact, case-sensitive separator text
//   groups      top-level bracketed stretches, nesting counted
//
// Double-byte characters: searches (items, groups, CountOf, ReplaceAll, the
// trailing side of Trim, DirectoryOf) take an occurrence only where it
// starts a character, and comparisons never fold the second byte of a
// double-byte character. So the second byte of "\x83\x5C" is no backslash
// and "\x83\x4A" does not equal "\x83\x6A". Where a character starts is
// the running system's answer (platform::NextChar); a lead byte right
// before the terminator, or before a byte below 0x40 (which no code page
// takes as a second byte: line feeds, ",", "=", ";", "."), is a character of
// its own, so such bytes always separate. Separators, brackets and
// search texts are whole characters. A text without bytes of 0x80 or more
// is handled byte by byte, exactly as plain ASCII always was.
//
// Coordinates: a position is a pointer into this string's own buffer, and
// spans of positions are inclusive at both ends (an empty span has its end
// one byte before its begin). An index is 0-based; index ranges are
// inclusive; a negative index has the count of that family added once
// (-1 is the last piece).
//
// Allocation never throws: when the heap is exhausted the string is left
// without a buffer, Text() then reads "" and the operation reports false.
#ifndef UPDATER_BASE_TEXT_STRING_H_
#define UPDATER_BASE_TEXT_STRING_H_

#include <cstdarg>

// No class derives from it (final): every call of its operations, virtual
// as they are, goes straight to the one definition, with no look-up in the
// table of operations.
class TextString final {
 public:
  TextString();
  explicit TextString(const char* text);
  TextString(const TextString& other);
  TextString& operator=(const TextString& other);

  virtual ~TextString();

  // Forgets the buffer without releasing it.
  virtual void DetachBuffer();
  // Replaces the buffer by `size` zero bytes (at least one, so the text is
  // always terminated); the old text is lost. Lets a system call write into
  // Buffer(); Compact() trims the block afterwards.
  virtual bool Reserve(int size);
  // The argument may point into this string's own buffer.
  virtual bool Assign(const char* text);
  virtual bool Append(const char* text);

  // Never null: "" when the string has no buffer.
  virtual const char* Text() const;
  // The raw buffer for writing; null only after a failed allocation.
  virtual char* Buffer();

  virtual TextString& Set(const TextString& other);
  virtual TextString& Set(const char* text);
  virtual TextString& Add(const TextString& other);
  virtual TextString& Add(const char* text);
  virtual TextString Concat(const TextString& other) const;
  virtual TextString Concat(const char* text) const;

  // ASCII letters compared without regard to case; no locale involved. The
  // second byte of a double-byte character is compared exactly.
  virtual bool Equals(const TextString& other) const;
  virtual bool Equals(const char* text) const;
  virtual bool Differs(const TextString& other) const;
  virtual bool Differs(const char* text) const;

  virtual int Length() const;

  // Bytes first..last. The copy never reads past the terminator.
  virtual TextString Slice(const char* first, const char* last) const;
  // Replaces bytes first..last by text; last == first - 1 inserts.
  virtual TextString& ReplaceSpan(const char* first, const char* last,
                                  const char* text);

  virtual TextString CharAt(int index) const;
  // Characters first..last; "" when the range starts outside the text or is
  // reversed. A last index past the end runs to the end.
  virtual TextString Mid(int first, int last) const;
  virtual bool ReplaceChar(int index, const char* text);
  // As Mid; false (text unchanged) when no character lies in the range.
  virtual bool ReplaceMid(int first, int last, const char* text);

  virtual int WordCount() const;
  virtual bool LocateWords(int first, int last, const char** begin,
                           const char** end) const;
  virtual TextString Word(int index) const;
  virtual TextString Words(int first, int last) const;
  virtual bool ReplaceWord(int index, const char* text);
  virtual bool ReplaceWords(int first, int last, const char* text);

  // An empty text has no items; an empty separator finds nothing.
  virtual int ItemCount(const char* separator) const;
  virtual bool LocateItems(int first, int last, const char* separator,
                           const char** begin, const char** end) const;
  virtual TextString Item(int index, const char* separator) const;
  virtual TextString Items(int first, int last, const char* separator) const;
  virtual bool ReplaceItem(int index, const char* separator, const char* text);
  virtual bool ReplaceItems(int first, int last, const char* separator,
                            const char* text);

  // Group spans include both brackets. Empty or identical brackets find
  // nothing.
  virtual int GroupCount(const char* open, const char* close) const;
  virtual bool LocateGroups(int first, int last, const char* open,
                            const char* close, const char** begin,
                            const char** end) const;
  virtual TextString Group(int index, const char* open,
                           const char* close) const;
  virtual TextString Groups(int first, int last, const char* open,
                            const char* close) const;
  virtual bool ReplaceGroup(int index, const char* open, const char* close,
                            const char* text);
  virtual bool ReplaceGroups(int first, int last, const char* open,
                             const char* close, const char* text);

  // Strips whole occurrences, repeatedly, folding case as Equals does.
  virtual void Trim(const char* text);
  virtual void Trim(const char* leading, const char* trailing);

  // printf rules into a 1024-byte area; a longer result is cut to 1023
  // bytes.
  virtual void FormatV(const char* format, va_list args);
  // Template `id` of the executable's string table (at most 255 bytes);
  // an unknown id gives "".
  virtual void LoadFormat(unsigned id, ...);
  // LoadFormat with the arguments as a va_list, for callers that take "..."
  // themselves.
  void LoadFormatV(unsigned id, va_list args);
  virtual void Format(const char* format, ...);

  // scanf "%d": 0 when no digits; out-of-range values clamp to INT_MIN or
  // INT_MAX.
  virtual int ToInt() const;
  // "0x" (lower-case x, nothing before it) and hexadecimal digits; 0
  // otherwise. Saturates at 0xFFFFFFFF; the result holds the 32-bit pattern.
  virtual int HexToInt() const;

  // Re-copies the text into a block of exactly Length() + 1 bytes.
  virtual void Compact();
  virtual void SetText(const char* text);
  // Replaces every occurrence of find; searching resumes after the inserted
  // text, so a replacement that contains find does not loop. False when
  // nothing was replaced or find is empty.
  virtual bool ReplaceAll(const char* find, const char* text);
  // Non-overlapping occurrences; 0 for an empty find.
  virtual int CountOf(const char* find) const;

 private:
  // Offset-based cores. Spans are inclusive offsets; an empty span ends one
  // before it begins.
  TextString SliceAt(int first, int last) const;
  bool ReplaceSpanAt(int first, int last, const char* text);
  bool LocateWordsAt(int first, int last, int* begin, int* end) const;
  bool LocateItemsAt(int first, int last, const char* separator, int* begin,
                     int* end) const;
  bool LocateGroupsAt(int first, int last, const char* open, const char* close,
                      int* begin, int* end) const;
  // Frees the current buffer and takes `block` (may be null).
  void Install(char* block);

  char* buffer_;
};

// The bytes `first`..`last` (inclusive; none when `last` is before `first`)
// as a text of their own. Unlike Slice, it never measures the text they
// come from: copying a piece of a long text costs the piece alone.
TextString TextOfSpan(const char* first, const char* last);

// Where the character at `text` ends, as every search of TextString steps:
// platform::NextChar, except that a lead byte right before the terminator or
// before a byte below 0x40 is a character of its own. `text` itself at the
// terminator.
const char* NextTextChar(const char* text);

// The bracket walk of the group family over a terminated text, one
// top-level group after the other. A walk goes from the start with a depth
// of 0; at each step the nearer of the next opening and the next closing
// bracket is taken, an opening one only when a closing one follows it
// somewhere. A group opens where an opening bracket is taken at depth 0 and
// ends at the closing bracket that brings the depth back to 0; a stray
// closing bracket drives the depth below 0, so that later brackets on that
// level form no group. The walk ends when no closing bracket lies ahead.
// Each byte is looked at a bounded number of times: a whole walk is linear in
// the text. The text must not change while the walk lives.
class GroupWalk {
 public:
  GroupWalk(const char* text, const char* open, const char* close);

  // The next group: true with `begin` on its opening bracket and `end` on
  // the last byte of its closing bracket, or on the last byte of the text
  // when no closing bracket brings the depth back (Unclosed()). False when
  // there is none; empty or identical brackets find none.
  bool Next(const char** begin, const char** end);
  // The group Next gave last runs to the end of the text without its close;
  // no group follows it.
  bool Unclosed() const { return unclosed_; }

 private:
  // One bracket's next occurrence, kept while it lies ahead of the position.
  struct Lookahead {
    bool searched;
    bool found;
    int offset;
  };
  // True with `*offset` on the next occurrence of `pattern` at or after the
  // position.
  bool Ahead(const char* pattern, Lookahead* cached, int* offset);
  bool Step(bool* tookClose, bool* openedAtTop);

  const char* text_;
  const char* open_;
  const char* close_;
  int openLength_;
  int closeLength_;
  int position_;
  int depth_;
  Lookahead nextOpen_;
  Lookahead nextClose_;
  bool ended_;
  bool unclosed_;
};

// The directory part of `path`: the bytes before its last backslash that
// is a character of its own (not the second byte of a double-byte
// character). False,
// with `out` unchanged, when there is no backslash or it is the first byte.
bool DirectoryOf(const char* path, TextString* out);

// scanf "%d" without the runtime: skips white space, an optional sign, then
// decimal digits up to the first other byte. True with *out set when digits
// were read (clamped to the int range); false with *out untouched otherwise.
bool ParseDecimal(const char* text, int* out);

// True with `*digit` set when `c` is a digit of `base` (10, or 16 with
// letters of either case); false with `*digit` untouched otherwise.
bool DigitOf(char c, int base, int* digit);

// True when the `length` bytes at `span` equal the whole of `text`, letter
// case of A to Z ignored as Equals does.
bool SpanEquals(const char* span, int length, const char* text);

#endif  // UPDATER_BASE_TEXT_STRING_H_
