#include "settings/messages.h"

#include <stdarg.h>

#include "app/process_state.h"
#include "base/text_string.h"
#include "platform/platform.h"

void ShowError(MessageId id, ...) {
  // LoadFormat takes its arguments as "..."; forwarding ours needs the
  // va_list form, so load the template here the same way LoadFormat does.
  char format[256] = {0};
  platform::LoadResourceString(static_cast<unsigned>(id), format,
                               static_cast<int>(sizeof format));
  TextString message;
  va_list arguments;
  va_start(arguments, id);
  message.FormatV(format, arguments);
  va_end(arguments);
  platform::ShowMessageBox(message.Text(), AppCaption.Text(), kErrorBoxStyle);
}
