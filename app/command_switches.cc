#include "app/command_switches.h"

#include <string.h>

#include "commands/exit_code_list.h"
#include "platform/compiler.h"

namespace {

// The word at `cursor` (blanks before it skipped), quotes removed; the
// cursor moves past it. False at the end of the text. A quote or a blank is
// never the second byte of a double-byte character, so bytes can be
// compared one by one.
bool NextWord(const char** cursor, TextString* word) {
  const char* end = *cursor;
  while (*end == ' ') ++end;
  if (*end == '\0') return false;
  const char* start = end;
  bool quoted = false;
  for (; *end != '\0' && (quoted || *end != ' '); ++end)
    if (*end == '"') quoted = !quoted;
  *cursor = end;
  *word = TextOfSpan(start, end - 1);
  word->ReplaceAll("\"", "");
  return true;
}

// Seconds written in decimal, at most kLongestInUseWait; false for anything
// else (a sign, a blank, no digit at all).
bool ParseSeconds(const TextString& text, unsigned* seconds) {
  const char* digits = text.Text();
  if (*digits == '\0') return false;
  unsigned value = 0;
  for (const char* p = digits; *p != '\0'; ++p) {
    if (*p < '0' || *p > '9') return false;
    value = value * 10 + static_cast<unsigned>(*p - '0');
    if (value > kLongestInUseWait) return false;
  }
  *seconds = value;
  return true;
}

// The value of a switch "/NAME=value": the text after `prefix` when `word`
// starts with it (letter case ignored) and goes on after it.
bool SwitchValue(const TextString& word, const char* prefix,
                 TextString* value) {
  const int length = static_cast<int>(strlen(prefix));
  if (word.Length() <= length || !SpanEquals(word.Text(), length, prefix))
    return false;
  *value = word.Mid(length, word.Length() - 1);
  return true;
}

// The switches without a value, one after the other, each ended by its
// zero byte: three for silence, two for the default log file ("/LOG" and
// "/LOG="), then the two /LANG words.
const char kSwitchWords[] =
    "/SILENT\0/VERYSILENT\0/SUPPRESSMSGBOXES\0/LOG\0/LOG=\0/LANG=ja\0/LANG=en";
const int kSilentWordsEnd = 3;
const int kLogWordsEnd = 5;
const int kJapaneseWord = 5;
const int kSwitchWordCount = 7;

// The index in kSwitchWords of the switch `word` is (letter case ignored);
// kSwitchWordCount for any other word.
int SwitchWordOf(const TextString& word) {
  const char* each = kSwitchWords;
  int index = 0;
  for (; index < kSwitchWordCount; ++index, each += strlen(each) + 1)
    if (word.Equals(each)) break;
  return index;
}

// Records the switch `word` stands for in `out`; false for any other word.
bool TakeSwitch(const TextString& word, CommandSwitches* out) {
  const int index = SwitchWordOf(word);
  if (index < kSilentWordsEnd) {
    out->silent = true;
    return true;
  }
  TextString value;
  if (index < kLogWordsEnd || SwitchValue(word, "/LOG=", &value)) {
    out->log = true;
    out->logPath = value;
    return true;
  }
  // A value that is no exit code, or no number of seconds, makes the word
  // none of the switches.
  unsigned number;
  if (SwitchValue(word, "/RESTARTEXITCODE=", &value) &&
      ParseExitCode(value, &number)) {
    out->restartCodeGiven = true;
    out->restartCode = number;
    return true;
  }
  if (SwitchValue(word, "/WAIT=", &value) && ParseSeconds(value, &number)) {
    out->waitSeconds = number;
    return true;
  }
  if (index == kSwitchWordCount) return false;
  out->language = index == kJapaneseWord ? kMessagesJapanese : kMessagesEnglish;
  return true;
}

}  // namespace

// Out of line: the run and the caption's check each make a set.
UPDATER_NOINLINE void CommandSwitches::SetDefaults() {
  silent = false;
  log = false;
  restartCodeGiven = false;
  restartCode = 0;
  language = kMessagesBySystem;
  waitSeconds = kDefaultInUseWait;
}

void ReadCommandSwitches(const char* commandLine, CommandSwitches* out) {
  TextString word;
  for (const char* cursor = commandLine; NextWord(&cursor, &word);)
    TakeSwitch(word, out);
}

bool FirstWordIsSwitch(const char* commandLine) {
  const char* cursor = commandLine;
  TextString word;
  CommandSwitches ignored;
  return NextWord(&cursor, &word) && TakeSwitch(word, &ignored);
}
