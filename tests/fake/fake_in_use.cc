// Files other programs hold, the Restart Manager's answers, and a clock
// that moves only when the updater pauses.
#include <string.h>

#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/fake/fake_state.h"
#include "tests/fake/fake_world.h"

namespace {

using fake::internal::TheWorld;

}  // namespace

namespace platform {

unsigned TickCount() { return TheWorld().ticks; }

void Pause(unsigned milliseconds) {
  fake::internal::World& world = TheWorld();
  world.ticks += milliseconds;
  ++world.pauses;
  // A copy: the action may replace itself.
  const std::function<void()> action = world.onPause;
  if (action) action();
}

bool FileHeldByAnother(const char* path) {
  const fake::internal::Node* node =
      path != NULL && *path != '\0' ? fake::internal::Find(path) : NULL;
  return node != NULL && !node->directory && node->held;
}

FileHoldersResult FileHolders(const char* path, FileHolder* holders,
                              unsigned max, unsigned* count) {
  *count = 0;
  const fake::internal::World& world = TheWorld();
  if (world.platformId != kPlatformWin32Nt || world.restartManagerMissing)
    return kHoldersUnknown;
  std::map<std::string, std::vector<fake::FileHolderEntry> >::const_iterator
      it = world.holders.find(fake::internal::KeyOf(path));
  if (it == world.holders.end()) return kHoldersListed;
  for (size_t i = 0; i < it->second.size() && *count < max; ++i, ++*count) {
    holders[i].processId = it->second[i].processId;
    fake::internal::CopyCut(it->second[i].name, holders[i].name,
                            sizeof holders[i].name);
  }
  return kHoldersListed;
}

}  // namespace platform

namespace fake {

void SetFileHolders(const std::string& path,
                    const std::vector<FileHolderEntry>& holders) {
  TheWorld().holders[internal::KeyOf(path)] = holders;
}

void SetRestartManagerMissing(bool missing) {
  TheWorld().restartManagerMissing = missing;
}

unsigned Ticks() { return TheWorld().ticks; }

void SetTicks(unsigned ticks) { TheWorld().ticks = ticks; }

int PauseCount() { return TheWorld().pauses; }

void OnPause(const std::function<void()>& action) {
  TheWorld().onPause = action;
}

}  // namespace fake
