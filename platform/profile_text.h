// The Windows private-profile rules over a settings file's text, without
// Windows: what GetPrivateProfileStringA and GetPrivateProfileSectionA make of
// the bytes, and the lines they see, each with its line number. The fake
// platform serves its files through these; the host build of updater-check
// reads real files through them. The platform contract tests hold both to
// the real functions under Wine.
//
// The rules: lines end at CR, LF or CR LF; each line is trimmed of blanks and
// control characters, and empty lines are skipped; a line starting with "["
// that holds a "]" is a section header, its name the trimmed text between
// them (up to the first "]"); any other line is a key line when it holds an
// "=" (the key is the trimmed text before the first "=", the value the
// trimmed text after it) and a bare word otherwise. Lines before the first
// header belong to a section with the empty name. Names match without regard
// to the case of ASCII letters. Only the first section of a name is searched;
// of duplicate keys the first wins. Characters are the running system's
// (NextChar: code page 932 where there is no Windows): the second byte of a
// double-byte character is never taken for "[", "]" or "=".
//
// Plain C++ over bytes: no allocation, no system header.
#ifndef UPDATER_PLATFORM_PROFILE_TEXT_H_
#define UPDATER_PLATFORM_PROFILE_TEXT_H_

namespace platform {

struct ProfileLine {
  enum Kind {
    kHeader,  // "[name]"
    kKey,     // "key=value"
    kWord     // a line without "=": no key, though a section lists it
  };
  Kind kind;
  unsigned number;   // 1-based line number in the text
  const char* line;  // where the line starts, before its blanks
  // kHeader: the section name; kKey: the key; kWord: the whole line.
  // Trimmed; not terminated.
  const char* name;
  unsigned nameLength;
  // kKey: the value, trimmed, quotes kept. Empty otherwise.
  const char* value;
  unsigned valueLength;
};

// The lines of a text as the profile functions split them: each ends at CR,
// LF or CR LF. From `*position`, the start of a line, sets `*lineLength` to
// its length without its end and moves `*position` to the start of the next
// line; false when no line starts there.
bool NextProfileLine(const char* text, unsigned length, unsigned* position,
                     unsigned* lineLength);

// The non-empty lines of a text, in order.
class ProfileScanner {
 public:
  ProfileScanner(const char* text, unsigned length);
  // The next line that is not empty after trimming; false at the end.
  bool Next(ProfileLine* line);

 private:
  const char* text_;
  unsigned length_;
  unsigned position_;
  unsigned number_;  // of the line that starts at position_
};

// Blanks and control characters (the DOS end-of-file mark included), which
// the profile functions trim from lines and from the names they are given.
bool IsProfileBlank(char c);

// A name as the profile functions trim it: without blanks and control
// characters at either end. Sets `*begin` to its first byte; returns its
// length.
unsigned TrimProfileName(const char* text, unsigned length, const char** begin);

// Whether two names are the same to the profile functions: SameTextFolded
// (platform/text_rules.h) over names of equal length.
bool ProfileNamesEqual(const char* a, unsigned aLength, const char* b,
                       unsigned bLength);

// GetPrivateProfileStringA(section, key, fallback, buffer, size) over `text`:
// the value of the first key line named `key` in the first section named
// `section` (both trimmed first), or the fallback (trailing blanks dropped)
// when the section or key is missing or the first such line is a bare word.
// A result enclosed in matching single or double quotes loses them. Cut to
// size - 1 bytes; returns the number of bytes copied. Section and key must
// not be null (listing names is not modelled).
unsigned ProfileStringOf(const char* text, unsigned length, const char* section,
                         const char* key, const char* fallback, char* buffer,
                         unsigned size);

// GetPrivateProfileSectionA(section, buffer, size) over `text`: the lines of
// the first section named `section` (not trimmed), rebuilt from their
// trimmed parts as "key=value" or the bare word, comment lines (";" first)
// left out, each ended by a zero byte and the list by a second one. Returns
// the list's length without its second zero. A list that does not fit, or
// would fill the buffer exactly, is cut to size - 2 bytes and closed with
// two zeros; the result is then size - 2.
unsigned ProfileSectionOf(const char* text, unsigned length,
                          const char* section, char* buffer, unsigned size);

}  // namespace platform

#endif  // UPDATER_PLATFORM_PROFILE_TEXT_H_
