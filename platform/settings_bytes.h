// How a settings file's bytes become the settings text, in one place: the
// updater's reader on Windows, the Linux reader, the fake world's files and
// updater-check all ask this.
//
// The settings text is code page 932. A file that starts with the UTF-8
// byte-order mark (what today's editors save by default) is UTF-8: the mark
// is dropped and the rest converted with Utf8ToText, so that a character
// code page 932 lacks becomes kNoCodePage932Char, which no path or name
// conversion accepts (platform/platform.h). Any other file is code page 932
// already and taken as it is.
#ifndef UPDATER_PLATFORM_SETTINGS_BYTES_H_
#define UPDATER_PLATFORM_SETTINGS_BYTES_H_

namespace platform {

// Whether `length` bytes start with EF BB BF.
bool StartsWithUtf8Mark(const char* bytes, unsigned length);

// Turns the `*length` bytes of a settings file into its settings text, in
// place (the text is never longer), and sets `*length` to the text's
// length. False when a UTF-8 file could not be converted (out of memory):
// the bytes are then no text to read.
bool SettingsTextInPlace(char* bytes, unsigned* length);

}  // namespace platform

#endif  // UPDATER_PLATFORM_SETTINGS_BYTES_H_
