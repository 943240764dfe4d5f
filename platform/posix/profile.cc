// Settings files read from the local file system with the private-profile
// rules of platform/profile_text.h, as Windows would read them. A file that
// updater-check has read already is served from its bytes, its sections
// found once, so that each read looks only at the section it names; any
// other file is read afresh on every call, as the profile functions do.
#include <map>
#include <string>
#include <utility>

#include "platform/c_library.h"
#include "platform/platform.h"
#include "platform/posix/served_profile.h"
#include "platform/profile_text.h"
#include "platform/settings_bytes.h"
#include "platform/text_rules.h"

namespace platform {

namespace {

std::string FoldedName(std::string name) {
  if (!name.empty()) FoldTextCase(&name[0], static_cast<unsigned>(name.size()));
  return name;
}

// One settings file, read, with the first section of each name: its bytes
// from its header line up to the next header line. The empty name holds
// the lines before the first header.
struct ReadFile {
  std::string path;
  std::string text;
  std::map<std::string, std::pair<size_t, size_t> > sections;
};

void Index(ReadFile* file) {
  ProfileScanner scanner(file->text.data(),
                         static_cast<unsigned>(file->text.size()));
  ProfileLine line;
  std::string open;  // the section whose end is the next header
  bool first = true;
  while (scanner.Next(&line)) {
    if (line.kind != ProfileLine::kHeader) continue;
    const size_t start = static_cast<size_t>(line.line - file->text.data());
    if (first) file->sections[std::string()] = std::make_pair(size_t(0), start);
    first = false;
    if (!open.empty()) file->sections[open].second = start;
    open.clear();
    if (line.nameLength == 0) continue;  // "[]" is never the empty name
    const std::string name =
        FoldedName(std::string(line.name, line.nameLength));
    if (file->sections.count(name) != 0) continue;
    file->sections[name] = std::make_pair(start, file->text.size());
    open = name;
  }
  if (first) {
    file->sections[std::string()] =
        std::make_pair(size_t(0), file->text.size());
  }
}

// The settings text of a file's bytes (platform/settings_bytes.h); a file
// that cannot be converted reads like an empty one.
void ToSettingsText(std::string* bytes) {
  unsigned length = static_cast<unsigned>(bytes->size());
  if (length != 0 && !SettingsTextInPlace(&(*bytes)[0], &length)) length = 0;
  bytes->resize(length);
}

ReadFile& Served() {
  static ReadFile served;
  return served;
}

// The file at `path`: the served one, or read afresh into `scratch`; a
// missing file reads like an empty one.
const ReadFile& FileAt(const char* path, ReadFile* scratch) {
  const std::string wanted = path ? path : "";
  if (!Served().path.empty() && Served().path == wanted) return Served();
  scratch->path = wanted;
  if (wanted.empty() || !ReadWholeFile(wanted.c_str(), &scratch->text)) {
    scratch->text.clear();
  }
  ToSettingsText(&scratch->text);
  Index(scratch);
  return *scratch;
}

// The bytes of the section named `name` (as the profile functions compare
// it, after `trim`), or none.
std::pair<const char*, unsigned> SectionText(const ReadFile& file,
                                             const char* name, bool trim) {
  std::string wanted = name;
  if (trim) {
    const char* begin = 0;
    const unsigned length = TrimProfileName(
        wanted.data(), static_cast<unsigned>(wanted.size()), &begin);
    wanted = std::string(begin, length);
  }
  std::map<std::string, std::pair<size_t, size_t> >::const_iterator found =
      file.sections.find(FoldedName(wanted));
  if (found == file.sections.end()) return std::make_pair("", 0u);
  return std::make_pair(
      file.text.data() + found->second.first,
      static_cast<unsigned>(found->second.second - found->second.first));
}

}  // namespace

void ServeProfileText(const std::string& path, const std::string& text) {
  ReadFile& served = Served();
  served.path = path;
  served.text = text;
  ToSettingsText(&served.text);
  served.sections.clear();
  Index(&served);
}

unsigned ProfileString(const char* section, const char* key,
                       const char* fallback, char* buffer, unsigned size,
                       const char* file) {
  if (section == 0) {
    return ProfileStringOf("", 0, section, key, fallback, buffer, size);
  }
  ReadFile scratch;
  const std::pair<const char*, unsigned> text =
      SectionText(FileAt(file, &scratch), section, true);
  return ProfileStringOf(text.first, text.second, section, key, fallback,
                         buffer, size);
}

unsigned ProfileSection(const char* section, char* buffer, unsigned size,
                        const char* file) {
  if (section == 0) return ProfileSectionOf("", 0, section, buffer, size);
  ReadFile scratch;
  const std::pair<const char*, unsigned> text =
      SectionText(FileAt(file, &scratch), section, false);
  return ProfileSectionOf(text.first, text.second, section, buffer, size);
}

}  // namespace platform
