// CreateProcessA and the waits in the fake world. The program is found by
// the command-line rules of CreateProcessA with no application name, so
// that a test can show what an unquoted path with blanks really starts.
#include <string.h>

#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/fake/fake_state.h"
#include "tests/fake/fake_world.h"

namespace {

using fake::internal::Node;
using fake::internal::TheWorld;

bool HasExtension(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  size_t dot = path.rfind('.');
  return dot != std::string::npos && (slash == std::string::npos || dot > slash);
}

// A full path, or for a bare name the folders Windows searches (the
// executable's folder, the system and the Windows folder).
std::vector<std::string> Candidates(const std::string& name) {
  std::vector<std::string> places;
  if (name.size() >= 2 && name[1] == ':') {
    places.push_back(name);
  } else if (name.find_first_of("\\/") == std::string::npos) {
    const fake::internal::World& world = TheWorld();
    std::string module = world.modulePath;
    places.push_back(module.substr(0, module.rfind('\\') + 1) + name);
    places.push_back(world.systemDirectory + "\\" + name);
    places.push_back(world.windowsDirectory + "\\" + name);
  }
  return places;
}

// The file a name starts: a name without an extension gets ".exe" and is
// looked for only so; a directory is never started.
bool FindProgram(const std::string& name, std::string* program) {
  std::vector<std::string> places = Candidates(name);
  for (size_t i = 0; i < places.size(); ++i) {
    std::string file = HasExtension(places[i]) ? places[i] : places[i] + ".exe";
    Node* node = fake::internal::Find(file);
    if (node != NULL && !node->directory) {
      // Reported with the name as it was created.
      *program = file.substr(0, file.find_last_of("\\/") + 1) + node->name;
      return true;
    }
  }
  return false;
}

bool ResolveProgram(const std::string& commandLine, std::string* program) {
  if (!commandLine.empty() && commandLine[0] == '"') {
    // A quoted path is taken whole.
    size_t close = commandLine.find('"', 1);
    return FindProgram(commandLine.substr(1, close == std::string::npos
                                                 ? std::string::npos
                                                 : close - 1),
                       program);
  }
  // Unquoted: every prefix ending before a blank or tab is tried in turn,
  // then the whole line, so C:\Program.exe wins over C:\Program Files\...
  for (size_t i = 0; i < commandLine.size(); ++i) {
    if (commandLine[i] == ' ' || commandLine[i] == '\t') {
      if (i > 0 && FindProgram(commandLine.substr(0, i), program)) return true;
    }
  }
  return FindProgram(commandLine, program);
}

}  // namespace

namespace platform {

LaunchResult Launch(char* commandLine, const char* directory, LaunchWait wait,
                    unsigned* exitCode) {
  fake::internal::World& world = TheWorld();
  fake::LaunchCall call;
  call.commandLine = commandLine != NULL ? commandLine : "";
  call.directory = directory != NULL ? directory : "";
  call.wait = wait;
  call.result = kLaunchNotStarted;

  // CreateProcessA refuses a working directory that does not exist.
  bool directoryOk =
      directory == NULL || fake::internal::Find(directory) != NULL;
  if (directoryOk && directory != NULL) {
    directoryOk = fake::internal::Find(directory)->directory;
  }
  if (directoryOk && ResolveProgram(call.commandLine, &call.program)) {
    std::string key = fake::internal::KeyOf(call.program);
    std::map<std::string, LaunchResult>::const_iterator scripted =
        world.launchResults.find(key);
    call.result = scripted != world.launchResults.end() ? scripted->second
                                                        : kLaunchDone;
    if (call.result != kLaunchNotStarted) {
      std::map<std::string, std::function<void()> >::const_iterator action =
          world.launchActions.find(key);
      if (call.result == kLaunchDone && wait == kWaitForExit && exitCode) {
        std::map<std::string, unsigned>::const_iterator code =
            world.launchExitCodes.find(key);
        *exitCode = code != world.launchExitCodes.end() ? code->second : 0;
      }
      if (action != world.launchActions.end()) {
        std::function<void()> run = action->second;  // may reset the world
        world.launches.push_back(call);
        run();
        return call.result;
      }
    }
  }
  // A scripted failure gets the code of a typical cause.
  if (call.result == kLaunchWaitFailed) {
    fake::internal::Fail(6);  // ERROR_INVALID_HANDLE
  } else if (call.result == kLaunchNotStarted) {
    fake::internal::Fail(!directoryOk ? fake::internal::kErrorDirectory
                                      : fake::internal::kErrorFileNotFound);
  }
  world.launches.push_back(call);
  return call.result;
}

}  // namespace platform

namespace fake {

const std::vector<LaunchCall>& Launches() {
  return internal::TheWorld().launches;
}

void SetLaunchResult(const std::string& program,
                     platform::LaunchResult result) {
  internal::TheWorld().launchResults[internal::KeyOf(program)] = result;
}

void SetLaunchExitCode(const std::string& program, unsigned code) {
  internal::TheWorld().launchExitCodes[internal::KeyOf(program)] = code;
}

void OnLaunch(const std::string& program, const std::function<void()>& action) {
  internal::TheWorld().launchActions[internal::KeyOf(program)] = action;
}

}  // namespace fake
