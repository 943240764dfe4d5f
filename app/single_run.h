// One run per folder: updaters started from the same folder at the same time
// would work on the same files, so only the first one runs. The guard is a
// named mutex in the "Global\" namespace, shared by all sessions, whose name
// is made from the executable's folder.
#ifndef UPDATER_APP_SINGLE_RUN_H_
#define UPDATER_APP_SINGLE_RUN_H_

#include "base/text_string.h"
#include "platform/platform.h"

// "updater-run-" and 16 hexadecimal digits of the FNV-1a hash of the UTF-8
// path of the folder that holds `modulePath`, its ASCII letters in upper
// case: the same for every spelling of the folder's path that differs only
// in the case of A to Z.
TextString SingleRunName(const char* modulePath);

// Holds the run of the folder of `modulePath` in `held` for as long as it
// is kept. False when another process holds it. Where the system cannot make
// the mutex at all, the run goes on unguarded: true.
bool ClaimSingleRun(const char* modulePath, platform::KernelObject* held);

#endif  // UPDATER_APP_SINGLE_RUN_H_
