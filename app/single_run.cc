#include "app/single_run.h"

#include "settings/run_log.h"

namespace {

// The text in UTF-8, where a letter byte is always a letter; the bytes as
// they are when they are no text of the ANSI code page.
void ConvertToUtf8(TextString* text) {
  TextString utf8;
  const unsigned size = platform::TextToUtf8(text->Text(), 0, 0);
  if (size > 1 && utf8.Reserve(static_cast<int>(size)) &&
      platform::TextToUtf8(text->Text(), utf8.Buffer(), size) == size) {
    text->Set(utf8);
  }
}

}  // namespace

TextString SingleRunName(const char* modulePath) {
  // The folder is cut off in the ANSI text, by that text's character rules;
  // cut in UTF-8 by the same rules, a byte of 0x81-0x9F would be taken for
  // a lead byte and swallow the backslash after it.
  TextString utf8;
  DirectoryOf(modulePath, &utf8);
  ConvertToUtf8(&utf8);
  unsigned long long hash = 14695981039346656037ULL;
  for (const char* p = utf8.Text(); *p; ++p) {
    unsigned char c = static_cast<unsigned char>(*p);
    if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
    hash = (hash ^ c) * 1099511628211ULL;
  }
  TextString name;
  name.Format("updater-run-%08X%08X", static_cast<unsigned>(hash >> 32),
              static_cast<unsigned>(hash));
  return name;
}

bool ClaimSingleRun(const char* modulePath, platform::KernelObject* held) {
  const TextString name = SingleRunName(modulePath);
  platform::MutexResult result =
      platform::CreateNamedMutex(TextString("Global\\").Add(name).Text(), held);
  // Systems without session namespaces refuse the prefix.
  if (result == platform::kMutexFailed)
    result = platform::CreateNamedMutex(name.Text(), held);
  if (result == platform::kMutexFailed) {
    LogFormat("no guard against a second run: %s",
              DescribeError(platform::LastErrorCode()).Text());
  }
  return result != platform::kMutexExisted;
}
