#include "settings/messages.h"

#include <stdarg.h>

TextString AppCaption;

void ShowError(MessageId id, ...) {
  TextString message;
  va_list arguments;
  va_start(arguments, id);
  message.LoadFormatV(static_cast<unsigned>(id), arguments);
  va_end(arguments);
  platform::ShowMessageBox(message.Text(), AppCaption.Text(), kErrorBoxStyle);
}
