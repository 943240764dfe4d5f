// The program the platform's entry point runs. The entry point (WinMain in
// platform/win32/entry.cc) only takes the command line from the system and
// hands it here; everything the process does is decided by the definition,
// in app/session.cc.
#ifndef UPDATER_PLATFORM_PROGRAM_MAIN_H_
#define UPDATER_PLATFORM_PROGRAM_MAIN_H_

// The whole life of the process, with the arguments after the program's
// name. Returns the process's exit code.
int UpdaterMain(const char* commandLine);

#endif  // UPDATER_PLATFORM_PROGRAM_MAIN_H_
