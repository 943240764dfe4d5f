#include "checker/error_collector.h"

#include <stdarg.h>

#include "checker/findings.h"
#include "settings/messages.h"

namespace checker {

namespace {

std::vector<Box>* g_boxes = 0;

// The arguments of each message, in the order and of the types ShowError's
// callers pass them (settings/messages.h).
void Collect(MessageId id, const char*, va_list args) {
  if (!g_boxes) return;
  Box box;
  box.id = id;
  int strings = 0;
  switch (id) {
    case MSG_BAD_FORMAT:
    case MSG_BAD_ITEM_COUNT:
    case MSG_COPY_FAILED:
    case MSG_LAUNCH_FAILED:
      strings = 2;
      break;
    case MSG_BAD_PROC_COUNT:
      strings = 0;
      break;
    default:
      strings = 1;
      break;
  }
  for (int i = 0; i < strings; ++i)
    box.args.push_back(va_arg(args, const char*));
  if (id == MSG_ATTR_FAILED) {
    box.args.push_back(Printf("0x%08X", va_arg(args, unsigned)));
  }
  g_boxes->push_back(box);
}

}  // namespace

ErrorCollector::ErrorCollector() {
  g_boxes = &boxes_;
  SetErrorSink(Collect);
}

ErrorCollector::~ErrorCollector() {
  SetErrorSink(0);
  g_boxes = 0;
}

std::vector<Box> ErrorCollector::Take() {
  std::vector<Box> taken;
  taken.swap(*g_boxes);
  return taken;
}

}  // namespace checker
