// MessageBoxA in the fake world: every box is recorded and answered from
// the tests' queue, or with its default button.
#include <stdio.h>
#include <stdlib.h>

#include <vector>

#include "platform/platform.h"
#include "tests/fake/fake_state.h"
#include "tests/fake/fake_world.h"

namespace {

using fake::internal::TheWorld;

// The buttons of a box, in order, by the button bits of its style.
std::vector<int> Buttons(unsigned style) {
  static const int kOk[] = {platform::kIdOk};
  static const int kOkCancel[] = {platform::kIdOk, platform::kIdCancel};
  static const int kAbortRetryIgnore[] = {platform::kIdAbort, platform::kIdRetry,
                                          platform::kIdIgnore};
  static const int kYesNoCancel[] = {platform::kIdYes, platform::kIdNo,
                                     platform::kIdCancel};
  static const int kYesNo[] = {platform::kIdYes, platform::kIdNo};
  static const int kRetryCancel[] = {platform::kIdRetry, platform::kIdCancel};
  switch (style & 0xF) {
    case 1: return std::vector<int>(kOkCancel, kOkCancel + 2);
    case 2: return std::vector<int>(kAbortRetryIgnore, kAbortRetryIgnore + 3);
    case 3: return std::vector<int>(kYesNoCancel, kYesNoCancel + 3);
    case 4: return std::vector<int>(kYesNo, kYesNo + 2);
    case 5: return std::vector<int>(kRetryCancel, kRetryCancel + 2);
    default: return std::vector<int>(kOk, kOk + 1);
  }
}

// MB_DEFBUTTON2 (0x100) and so on name the default. A default the box does
// not have is no box anyone can rely on (Wine then marks no button as the
// default; Windows documents nothing): the test that asks for it is broken.
int DefaultButton(unsigned style) {
  std::vector<int> buttons = Buttons(style);
  size_t index = (style >> 8) & 0xF;
  if (index >= buttons.size()) {
    fprintf(stderr,
            "fake platform: box style 0x%X names a default button it does "
            "not have\n",
            style);
    abort();
  }
  return buttons[index];
}

}  // namespace

namespace platform {

int ShowMessageBox(const char* text, const char* caption, unsigned style) {
  fake::internal::World& world = TheWorld();
  // Answered by its default button, a box that asks to retry comes back for
  // as long as nothing changes: stop such a test rather than hang.
  if (world.boxes.size() >= 1000) {
    fprintf(stderr, "fake platform: 1000 boxes shown: a test loops on one\n");
    abort();
  }
  int answer = DefaultButton(style);
  if (!world.answers.empty()) {
    answer = world.answers.front();
    world.answers.erase(world.answers.begin());
    std::vector<int> buttons = Buttons(style);
    bool possible = answer == 0;  // a failed MessageBoxA
    for (size_t i = 0; i < buttons.size(); ++i) {
      if (buttons[i] == answer) possible = true;
    }
    if (!possible) {
      fprintf(stderr,
              "fake platform: answer %d queued for a box (style 0x%X) "
              "without that button\n",
              answer, style);
      abort();
    }
  }
  fake::MessageBoxCall call;
  call.text = text != NULL ? text : "";
  call.caption = caption != NULL ? caption : "";
  call.style = style;
  call.answer = answer;
  world.boxes.push_back(call);
  if (answer == 0) fake::internal::Fail(1400);  // ERROR_INVALID_WINDOW_HANDLE
  return answer;
}

}  // namespace platform

namespace fake {

const std::vector<MessageBoxCall>& MessageBoxes() { return TheWorld().boxes; }

void QueueAnswer(int id) { TheWorld().answers.push_back(id); }

int PendingAnswers() { return static_cast<int>(TheWorld().answers.size()); }

}  // namespace fake
