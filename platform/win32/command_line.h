// The command line as a GUI entry point receives it.
#ifndef UPDATER_PLATFORM_WIN32_COMMAND_LINE_H_
#define UPDATER_PLATFORM_WIN32_COMMAND_LINE_H_

namespace platform {

// The text after the program's own name and the white space after it: the
// name runs to its closing double quote when it starts with one, else to the
// first blank or control character. Bytes are compared unsigned, so
// double-byte characters pass untouched.
const char* ArgumentsOf(const char* commandLine);

}  // namespace platform

#endif  // UPDATER_PLATFORM_WIN32_COMMAND_LINE_H_
