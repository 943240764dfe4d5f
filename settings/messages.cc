#include "settings/messages.h"

#include <stdarg.h>

TextString AppCaption;

namespace {

ErrorSink g_errorSink = 0;

}  // namespace

void SetErrorSink(ErrorSink sink) { g_errorSink = sink; }

void ShowError(MessageId id, ...) {
  TextString message;
  va_list arguments;
  va_start(arguments, id);
  message.LoadFormatV(static_cast<unsigned>(id), arguments);
  va_end(arguments);
  if (g_errorSink) {
    va_start(arguments, id);
    g_errorSink(id, message.Text(), arguments);
    va_end(arguments);
    return;
  }
  platform::ShowMessageBox(message.Text(), AppCaption.Text(), kErrorBoxStyle);
}
