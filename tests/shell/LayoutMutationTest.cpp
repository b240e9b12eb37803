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

#include <cstdlib>
#include <string>
#include <vector>

#include "framework/actions/ActnList.h"
#include "framework/stdctrls/TrackBar.h"
#include "imagelist/ImageListZel.h"
#include "tests/shell/LayoutTestSupport.h"
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
};

TEST_P(LayoutMutation, EveryMutatedFileEndsLoadedOrDeleted) {
  // Seeds: the defaults; the XP map with a floating tool bar and a floating
  // editor; the twilight map, no gradient and hidden unused items.  All keep
  // the glyph size of the window's description, whose strip the list takes
  // as it is: a load then costs least, and mutations change the size.
  std::vector<std::string> seeds;
  Start();
  seeds.push_back(SaveAndRead());
  Start();
  form->ColorMapFrame()->actXPColorMap->Execute();
  ASSERT_TRUE(form->GradientActionToolBar1->ManualFloat(sys::RECT{500, 300, 560, 340}));
  ASSERT_TRUE(form->ColorMapFrame()->ManualFloat(sys::RECT{100, 100, 420, 500}));
  Settle();
  seeds.push_back(SaveAndRead());
  Start();
  form->ColorMapFrame()->actTwilightColorMap->Execute();
  form->ColorMapFrame()->actGradient->Execute();
  form->ColorMapFrame()->actHideUnused->Execute();
  Settle();
  seeds.push_back(SaveAndRead());
  for (const std::string& s : seeds)
    ASSERT_GT(s.size(), 100u);

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

} // namespace
} // namespace zel::test
