#include "settings/messages.h"

#include <stdarg.h>
#include <string.h>

#include "platform/compiler.h"
#include "settings/run_log.h"

TextString AppCaption;

namespace {

ErrorSink g_errorSink = 0;
bool g_silent = false;
MessageLanguage g_language = kMessagesBySystem;

// One block of names, walked to the answer's: no table of pointers to
// relocate.
const char* AnswerName(int answer) {
  if (answer < 0 || answer > platform::kIdNo) return "?";
  const char* name =
      "none: no box could be shown\0OK\0Cancel\0Abort\0Retry\0Ignore\0Yes\0No";
  for (; answer > 0; --answer) name += strlen(name) + 1;
  return name;
}

}  // namespace

void SetErrorSink(ErrorSink sink) { g_errorSink = sink; }

void SetMessageLanguage(MessageLanguage language) { g_language = language; }

bool MessagesInEnglish() {
  if (g_language == kMessagesBySystem) {
    g_language = platform::UserInterfaceIsJapanese() ? kMessagesJapanese
                                                     : kMessagesEnglish;
  }
  return g_language == kMessagesEnglish;
}

void SetSilentMode(bool silent) { g_silent = silent; }

bool SilentMode() { return g_silent; }

int DefaultButton(unsigned style) {
  // The buttons of each MB_ type in their order on the box, 0 past the
  // last: MB_OK, MB_OKCANCEL, MB_ABORTRETRYIGNORE, MB_YESNOCANCEL,
  // MB_YESNO, MB_RETRYCANCEL.
  static const unsigned char kButtons[6][3] = {
      {platform::kIdOk, 0, 0},
      {platform::kIdOk, platform::kIdCancel, 0},
      {platform::kIdAbort, platform::kIdRetry, platform::kIdIgnore},
      {platform::kIdYes, platform::kIdNo, platform::kIdCancel},
      {platform::kIdYes, platform::kIdNo, 0},
      {platform::kIdRetry, platform::kIdCancel, 0}};
  const unsigned type = style & 0xF;
  const unsigned index = (style >> 8) & 0xF;
  if (type > 5) return platform::kIdOk;
  // A default past the last button falls back to the first, as Windows does.
  const int button = index < 3 ? kButtons[type][index] : 0;
  return button != 0 ? button : kButtons[type][0];
}

int ShowBox(const char* kind, const char* text, unsigned style) {
  const int answer =
      g_silent ? DefaultButton(style)
               : platform::ShowMessageBox(text, AppCaption.Text(), style);
  if (!RunLogIsOpen()) return answer;
  TextString line(kind);
  line.Add(" box \"").Add(AppCaption).Add("\": ").Add(text).Add(" -> ");
  line.Add(AnswerName(answer));
  if (g_silent) line.Add(" (silent mode: the default button)");
  if (answer == 0) line.Add(", ").Add(DescribeError(platform::LastErrorCode()));
  LogText(line);
  return answer;
}

void ShowError(unsigned id, ...) {
  TextString message;
  va_list arguments;
  va_start(arguments, id);
  if (MessagesInEnglish())
    message.FormatV(EnglishTemplate(id), arguments);
  else
    message.LoadFormatV(id, arguments);
  va_end(arguments);
  if (g_errorSink) {
    va_start(arguments, id);
    g_errorSink(static_cast<MessageId>(id), message.Text(), arguments);
    va_end(arguments);
    return;
  }
  ShowBox("error", message.Text(), kErrorBoxStyle);
}

// Out of line: a procedure's loading and its runners share it.
UPDATER_NOINLINE bool ShowBadSymbol(const TextString& symbol) {
  ShowError(MSG_BAD_SYMBOL, symbol.Text());
  return false;
}
