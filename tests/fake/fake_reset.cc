// The world a test starts from.
#include "tests/fake/fake_state.h"
#include "tests/fake/fake_world.h"

namespace fake {

namespace internal {

void Populate() {
  World& world = TheWorld();
  SetToday(2024, 6, 15);
  world.modulePath = "C:\\Tools\\updater.exe";
  world.windowsDirectory = "C:\\Windows";
  world.systemDirectory = "C:\\Windows\\system32";
  world.specialFolders[platform::kCsidlPrograms] =
      "C:\\Users\\User\\Start Menu\\Programs";
  world.specialFolders[platform::kCsidlDesktopDirectory] =
      "C:\\Users\\User\\Desktop";
  world.specialFolders[platform::kCsidlCommonPrograms] =
      "C:\\ProgramData\\Start Menu\\Programs";
  world.specialFolders[platform::kCsidlCommonDesktopDirectory] =
      "C:\\Users\\Public\\Desktop";
  world.platformId = platform::kPlatformWin32Nt;
  world.userInterfaceJapanese = true;
  world.processBits = 32;
  world.versionMajor = 10;
  world.versionMinor = 0;
  world.versionBuild = 19045;
  world.elevation = platform::kElevated;
  world.processId = 4242;
  const platform::LocalTimeFields noon = {2024, 6, 15, 12, 0, 0, 0};
  world.now = noon;
  world.tempDirectory = "C:\\Users\\User\\AppData\\Local\\Temp\\";
  world.workingDirectory = "C:\\Tools";

  AddDirectory(world.windowsDirectory);
  AddDirectory(world.systemDirectory);
  for (std::map<int, std::string>::const_iterator it =
           world.specialFolders.begin();
       it != world.specialFolders.end(); ++it) {
    AddDirectory(it->second);
  }
  AddFile(world.modulePath, "MZ");
  AddDirectory(world.tempDirectory);
}

}  // namespace internal

void Reset() {
  internal::TheWorld() = internal::World();
  internal::Populate();
}

}  // namespace fake
