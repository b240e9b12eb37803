// Loading survives any bytes: files derived from real saved layouts by
// the shared fixed-seed mutator (flips, boundary values, truncations,
// insertions) each end either loaded, the file kept, or refused, the file
// deleted; never a crash, a leak or undefined behaviour under the
// sanitizers.
//
// The suite runs 20,000 files in eight shards of 2,500 (about half a
// minute each under the sanitizers on a quiet machine, so that a busy one
// stays far from the per-test time limit), each with its own fixed seed.  A longer
// run for local use sets the files per shard and a base seed:
//   ZEL_LAYOUT_MUTATIONS=250000 ZEL_LAYOUT_MUTATION_SEED=1000
//     ./zel_tests_shell --gtest_filter='Shards/LayoutMutation.*'

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "framework/actions/ActnList.h"
#include "framework/stdctrls/TrackBar.h"
#include "imagelist/ImageListZel.h"
#include "platform/user/User.h"
#include "tests/shell/LayoutTestSupport.h"
#include "tests/support/LayoutMutation.h"
#include "tests/support/Mutation.h"

namespace zel::test {
namespace {

uint64_t FromEnvironment(const char* name, uint64_t fallback) {
  const char* text = std::getenv(name);
  return text && *text ? std::strtoull(text, nullptr, 10) : fallback;
}

class LayoutMutation : public LayoutSessionTest, public ::testing::WithParamInterface<int> {
protected:
  // Closes the run and returns the file it wrote.
  std::string SaveAndRead() {
    Close();
    return ReadBytes(layout);
  }
  // Seeds: the defaults; the XP map with a floating tool bar and a floating
  // editor; the twilight map, no gradient and hidden unused items.  All keep
  // the glyph size of the window's description, whose strip the list takes
  // as it is: a load then costs least, and mutations change the size.
  std::vector<std::string> MakeSeeds() {
    std::vector<std::string> seeds;
    Start();
    seeds.push_back(SaveAndRead());
    Start();
    form->ColorMapFrame()->actXPColorMap->Execute();
    EXPECT_TRUE(form->GradientActionToolBar1->ManualFloat(sys::RECT{500, 300, 560, 340}));
    EXPECT_TRUE(form->ColorMapFrame()->ManualFloat(sys::RECT{100, 100, 420, 500}));
    Settle();
    seeds.push_back(SaveAndRead());
    Start();
    form->ColorMapFrame()->actTwilightColorMap->Execute();
    form->ColorMapFrame()->actGradient->Execute();
    form->ColorMapFrame()->actHideUnused->Execute();
    Settle();
    seeds.push_back(SaveAndRead());
    for (const std::string& s : seeds)
      EXPECT_GT(s.size(), 100u);
    return seeds;
  }
};

TEST_P(LayoutMutation, EveryMutatedFileEndsLoadedOrDeleted) {
  const std::vector<std::string> seeds = MakeSeeds();
  ASSERT_FALSE(HasFailure());

  // Values the sections hold: record sizes, float-tree versions, dock-tree
  // versions, the glyph-size range.
  const std::vector<uint32_t> extra = {24, 3, 4, 0x00010003, 0x00080000, 0x00040000, 10, 32};
  const uint64_t runs = FromEnvironment("ZEL_LAYOUT_MUTATIONS", 2500);
  TRandom r{FromEnvironment("ZEL_LAYOUT_MUTATION_SEED", 26) + uint64_t(GetParam())};
  Start();
  // Unchanged, every seed loads.
  for (const std::string& seed : seeds) {
    WriteBytes(layout, seed);
    form->LoadLayout();
    ASSERT_TRUE(LayoutExists());
  }
  int loaded = 0, deleted = 0;
  for (uint64_t i = 0; i < runs; ++i) {
    const std::string bytes = Mutate(seeds[r.Below(seeds.size())], seeds, r, extra);
    WriteBytes(layout, bytes);
    form->LoadLayout();
    // The posted work (dock-site updates, painting) runs now and then, as
    // idle time would run it.
    if (i % 64 == 63) app->ProcessMessages();
    ++(LayoutExists() ? loaded : deleted);
    // The window stays usable: the glyph size is one the list accepts, and
    // the editor shows it.
    const int size = form->ImageListZel1->Width();
    ASSERT_GE(size, 10) << "run " << i;
    ASSERT_LE(size, 32) << "run " << i;
    ASSERT_EQ(form->ColorMapFrame()->TrackBar1->Position(), size) << "run " << i;
  }
  // Both outcomes are common: the mutations reach past the first section,
  // and valid files keep loading however many damaged ones came before.
  EXPECT_GT(loaded, int(runs / 5));
  EXPECT_GT(deleted, int(runs / 5));
  std::printf("layout mutations: %d loaded, %d deleted\n", loaded, deleted);
}

INSTANTIATE_TEST_SUITE_P(Shards, LayoutMutation, ::testing::Range(0, 8));

// Peak resident memory since the last reset, in bytes (the kernel's
// high-water mark, which writing 5 to clear_refs sets back to the current
// size).
size_t PeakMemory() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0)
      return size_t(std::strtoull(line.c_str() + 6, nullptr, 10)) << 10;
  return 0;
}
void ResetPeakMemory() {
  std::ofstream("/proc/self/clear_refs") << "5";
}

class LayoutStructure : public LayoutMutation {
protected:
  // The file of the run under way (and its number in ".at" beside it),
  // kept where a crash leaves it for its reproduction: copied to the layout
  // path beside zeldemo, it makes the same start.
  std::filesystem::path Current() const {
    const auto dir = std::filesystem::path(ZEL_BINARY_DIR) / "layout-structure";
    std::filesystem::create_directories(dir);
    return dir / ("shard-" + std::to_string(GetParam()) + ".sav");
  }
  // One start on bytes; the peak memory it took beyond what was resident.
  size_t StartOn(const std::string& bytes) {
    WriteBytes(layout, bytes);
    StopMainWindow();
    ResetPeakMemory();
    const size_t before = PeakMemory();
    Start();
    return PeakMemory() - std::min(PeakMemory(), before);
  }
};

// Files that stay well formed byte by byte but name the wrong things
// (tests/support/LayoutMutation.h), each met as a person meets it: the
// start on the file shows the main window, with memory close to a normal
// start's; the close ends the run and writes a file that follows the
// format; the next start reads that file whole.  The suite runs 1,600 files
// in eight shards (under a minute each under the sanitizers on a quiet
// machine); a longer run sets the files per shard and a base seed:
//   ZEL_LAYOUT_STRUCTURE_FILES=5000 ZEL_LAYOUT_STRUCTURE_SEED=1000
//     ./zel_tests_shell --gtest_filter='Shards/LayoutStructure.*'
TEST_P(LayoutStructure, EveryFileShowsTheWindowClosesAndLeavesAFileTheNextStartReads) {
  std::vector<std::string> seeds = MakeSeeds();
  // The editor closed: the dock tree keeps it as a hidden client.
  Start();
  form->ColorMapFrame()->Hide();
  Settle();
  seeds.push_back(SaveAndRead());
  for (const std::string& seed : seeds)
    ASSERT_TRUE(ParseLayout(seed));
  const size_t normal = StartOn(seeds[0]);
  const TLayoutVocabulary words = VocabularyOf(*form);
  // The names reach from the window itself to the editor's inner controls.
  for (const char* name : {"MainForm", "FrameSite1", "actNewForm", "TrackBar1", "cbEnd"})
    ASSERT_NE(std::find(words.Components.begin(), words.Components.end(), name),
              words.Components.end())
        << name;

  const uint64_t files = FromEnvironment("ZEL_LAYOUT_STRUCTURE_FILES", 200);
  const uint64_t from = FromEnvironment("ZEL_LAYOUT_STRUCTURE_FROM", 0);
  TRandom r{FromEnvironment("ZEL_LAYOUT_STRUCTURE_SEED", 38) + uint64_t(GetParam())};
  TLayoutMutator mutator(words, r);
  for (uint64_t i = 0; i < files; ++i) {
    const std::optional<std::string> bytes = mutator.Mutate(seeds[r.Below(seeds.size())]);
    ASSERT_TRUE(bytes);
    if (i < from) continue;
    WriteBytes(Current(), *bytes);
    WriteBytes(Current().replace_extension(".at"), std::to_string(i) + "\n");
    std::vector<std::string> findings;
    auto check = [&](bool holds, const std::string& finding) {
      if (!holds) findings.push_back(finding);
    };
    const size_t memory = StartOn(*bytes);
    check(form->Visible() && sys::IsWindowVisible(form->Handle()), "the main window is not shown");
    check(memory < normal + (32u << 20), "the start took " + std::to_string(memory >> 20) +
                                             " MB, a normal one " + std::to_string(normal >> 20) +
                                             " MB");
    Close();
    check(app->Terminated(), "the close did not end the run");
    check(ParseLayout(ReadBytes(layout)).has_value(),
          "the file written at the close is not well formed");
    Start();
    check(LayoutExists(), "the next start refused the file written at the close");
    check(form->Visible(), "the next start shows no main window");
    if (findings.empty()) continue;
    // Kept for its reproduction beside the last file of the shard.
    std::filesystem::copy_file(Current(), Current().replace_extension(std::to_string(i) + ".sav"),
                               std::filesystem::copy_options::overwrite_existing);
    for (const std::string& f : findings)
      ADD_FAILURE() << "file " << i << " of shard " << GetParam() << ": " << f;
  }
}

INSTANTIATE_TEST_SUITE_P(Shards, LayoutStructure, ::testing::Range(0, 8));

} // namespace
} // namespace zel::test
