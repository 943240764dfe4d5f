// Two questions about the running system that start-up and several
// procedures ask.
#ifndef UPDATER_APP_SYSTEM_QUERIES_H_
#define UPDATER_APP_SYSTEM_QUERIES_H_

// True when anything matches `name`: a file or a directory of that path, or
// any entry matching a wildcard pattern. No message, no other effect.
bool FileExists(const char* name);

// True on the Windows NT family, whatever its version. Asked afresh each time.
bool IsNtPlatform();

#endif  // UPDATER_APP_SYSTEM_QUERIES_H_
