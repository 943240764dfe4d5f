// updater-check's core against the updater itself: each loader against its
// row of the kind table, and, for every file of the corpus, the checker's
// predicted boxes and refusals against the updater's own.
#include "checker/checker.h"

#include <dirent.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/proc_driver.h"
#include "app/process_state.h"
#include "app/startup.h"
#include "checker/error_collector.h"
#include "commands/kind_table.h"
#include "settings/messages.h"
#include "settings/settings_reader.h"
#include "tests/checker/differential.h"
#include "tests/fake/fake_world.h"
#include "tests/unit/updater_test.h"

#ifndef UPDATER_CHECKER_CORPUS
#error "UPDATER_CHECKER_CORPUS must name the checker's corpus folder"
#endif

namespace {

class CheckerTest : public UpdaterTest {};

// Each kind's loader reads the keys of its own row, in order: each key left
// out in turn is the one its message names.
TEST_F(CheckerTest, EachLoaderReadsTheKeysOfItsKind) {
  for (int k = 0; k < kProcKindCount; ++k) {
    const ProcKind& kind = kProcKinds[k];
    SCOPED_TRACE(kind.mode);
    // Each key left out in turn (-1: none left out).
    for (int missing = -1; missing < kind.keyCount; ++missing) {
      std::string section = std::string("[P]\nMODE=") + kind.mode + "\n";
      for (int i = 0; i < kind.keyCount; ++i) {
        if (i != missing) section += std::string(kind.keys[i].key) + "=1\n";
      }
      WriteSettings(section);
      std::vector<checker::Box> boxes;
      ProcRecord* record;
      {
        checker::ErrorCollector errors;
        record = kind.load("P");
        boxes = errors.Take();
      }
      // An optional key may be left out.
      const bool refused =
          missing >= 0 && kind.keys[missing].presence == kRequired;
      EXPECT_EQ(!refused, record != 0) << missing;
      if (record) EXPECT_EQ(&kind, record->kind);
      delete record;
      if (!refused) continue;
      ASSERT_EQ(1u, boxes.size());
      EXPECT_EQ(MSG_BAD_FORMAT, boxes[0].id);
      EXPECT_EQ(kind.keys[missing].key, boxes[0].args[1]);
    }
  }
}

std::vector<std::string> CorpusFiles() {
  std::vector<std::string> names;
  DIR* folder = opendir(UPDATER_CHECKER_CORPUS);
  if (!folder) return names;
  while (dirent* entry = readdir(folder)) {
    const std::string name = entry->d_name;
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".ini") == 0)
      names.push_back(name);
  }
  closedir(folder);
  return names;
}

std::string ReadCorpusFile(const std::string& name) {
  std::ifstream file((std::string(UPDATER_CHECKER_CORPUS) + "/" + name).c_str(),
                     std::ios::binary);
  std::stringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

// The boxes a load or a check of values would show: what the checker can
// know without running anything.
bool IsStatic(MessageId id) {
  return id == MSG_BAD_FORMAT || id == MSG_BAD_SYMBOL ||
         id == MSG_BAD_ITEM_COUNT || id == MSG_BAD_PROC_COUNT;
}

TEST_F(CheckerTest, UpdaterFirstStaticBoxIsOneTheCheckerPredicts) {
  const std::vector<std::string> names = CorpusFiles();
  ASSERT_LT(15u, names.size());
  int compared = 0;
  for (size_t n = 0; n < names.size(); ++n) {
    SCOPED_TRACE(names[n]);
    const std::string bytes = ReadCorpusFile(names[n]);
    fake::Reset();
    ResetProcessState();
    fake::AddFile(kSettingsPath, bytes);
    std::vector<checker::Box> boxes;
    {
      checker::ErrorCollector errors;
      if (Initialize("")) RunUpdater();
      FreeAllProcLists();
      boxes = errors.Take();
    }

    checker::Findings findings;
    checker::Flow flow;
    checker::CheckSettings(kSettingsPath, bytes, checker::CheckOptions(),
                           &findings, &flow);
    const std::vector<checker::Finding> found = findings.Sorted();
    bool stoppedEarly = false;  // a file the checker does not read further
    for (size_t i = 0; i < found.size(); ++i) {
      stoppedEarly = stoppedEarly || found[i].code == checker::kUtf16;
    }
    bool anyError = false;
    bool predicted = false;
    for (size_t i = 0; i < found.size(); ++i) {
      const bool error =
          checker::InfoOf(found[i].code).severity == checker::kError;
      anyError = anyError || error;
      predicted = predicted || (error && found[i].hasBox && !boxes.empty() &&
                                found[i].box.id == boxes[0].id &&
                                found[i].box.args == boxes[0].args);
    }
    if (boxes.empty() || !IsStatic(boxes[0].id) || stoppedEarly) continue;
    // What the checker accepts, the updater loads.
    EXPECT_TRUE(anyError);
    ++compared;
    EXPECT_TRUE(predicted) << "box " << boxes[0].id << " "
                           << (boxes[0].args.empty() ? "" : boxes[0].args[0]);
  }
  EXPECT_LE(7, compared);
}

// The corpus, each file judged for the family its .args names (the NT family
// without one): whatever the checker says the updater refuses, the updater
// refuses, and the other way round.
TEST_F(CheckerTest, CheckerAndUpdaterAgreeOnEveryCorpusFile) {
  const std::vector<std::string> names = CorpusFiles();
  for (size_t n = 0; n < names.size(); ++n) {
    SCOPED_TRACE(names[n]);
    const std::string args =
        ReadCorpusFile(names[n].substr(0, names[n].size() - 4) + ".args");
    const unsigned family = args.find("--family=95") != std::string::npos
                                ? platform::kPlatformWin32Windows
                                : platform::kPlatformWin32Nt;
    EXPECT_EQ(std::vector<std::string>(),
              differential::Disagreements(ReadCorpusFile(names[n]), family));
  }
}

}  // namespace
