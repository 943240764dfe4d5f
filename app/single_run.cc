#include "app/single_run.h"

#include <new>

#include "settings/run_log.h"

namespace {

// The path in UTF-8, where a backslash byte is always a backslash.
bool Utf8Of(const char* path, TextString& out) {
  const unsigned size = platform::AnsiToUtf8(path, 0, 0);
  if (size <= 1 || !out.Reserve(static_cast<int>(size))) return false;
  if (platform::AnsiToUtf8(path, out.Buffer(), size) != size) return false;
  out.Compact();
  return out.Length() != 0;
}

}  // namespace

TextString SingleRunName(const char* modulePath) {
  TextString utf8;
  if (!Utf8Of(modulePath, utf8)) utf8.Set(modulePath);
  const int folderLength = utf8.Length() - utf8.Item(-1, "\\").Length() - 1;
  unsigned long long hash = 14695981039346656037ULL;
  for (int i = 0; i < folderLength; ++i) {
    unsigned char c = static_cast<unsigned char>(utf8.Text()[i]);
    if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
    hash = (hash ^ c) * 1099511628211ULL;
  }
  TextString name;
  name.Format("updater-run-%08X%08X", static_cast<unsigned>(hash >> 32),
              static_cast<unsigned>(hash));
  return name;
}

bool ClaimSingleRun(const char* modulePath, platform::KernelObject& held) {
  const TextString name = SingleRunName(modulePath);
  platform::MutexResult result = platform::CreateNamedMutex(
      TextString("Global\\").Add(name).Text(), &held);
  // Systems without session namespaces refuse the prefix.
  if (result == platform::kMutexFailed)
    result = platform::CreateNamedMutex(name.Text(), &held);
  if (result == platform::kMutexFailed) {
    LogFormat("no guard against a second run: %s",
              DescribeError(platform::LastErrorCode()).Text());
  }
  return result != platform::kMutexExisted;
}
