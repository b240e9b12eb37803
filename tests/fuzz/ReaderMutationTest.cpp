// Every reader of outside bytes run on its seeds (the program's own saved
// data and the glyph strips) and on a fixed run of mutations of them, through
// the same input functions the libFuzzer programs use.  A damaged input must
// be refused or read, never crash; afterwards the unharmed seed still reads
// back to the state it came from.  The seeds are also written to
// <build>/fuzz-seeds/<reader>/ as the fuzzers' starting corpora.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "colormap/UnitFrameColorMap.h"
#include "docking/FloatTree.h"
#include "docking/FrameSite.h"
#include "framework/actnbars/ActnMan.h"
#include "framework/core/Streams.h"
#include "fuzz/FuzzInputs.h"
#include "platform/text/FontAnswerFile.h"
#include "shell/UnitMain.h"
#include "tests/support/LayoutMutation.h"
#include "tests/support/Mutation.h"

namespace zel::test {
namespace {

using fuzz::Environment;

class ReaderMutationTest : public ::testing::Test {
protected:
  void TearDown() override { fuzz::EndEnvironment(); }

  static std::vector<std::string> SeedsOf(const char* name) {
    const fuzz::TTarget* t = fuzz::FindTarget(name);
    EXPECT_NE(t, nullptr) << name;
    std::vector<std::string> seeds = t->Seeds();
    EXPECT_FALSE(seeds.empty()) << name;
    const auto dir = std::filesystem::path(ZEL_BINARY_DIR) / "fuzz-seeds" / name;
    std::filesystem::create_directories(dir);
    for (size_t i = 0; i < seeds.size(); ++i)
      std::ofstream(dir / ("seed-" + std::to_string(i)), std::ios::binary) << seeds[i];
    return seeds;
  }
  // Runs count mutations of the seeds through the reader; returns how many
  // different inputs were tried (the mutator must not stall on one).
  static size_t Mutations(const char* name, const std::vector<std::string>& seeds, int count) {
    const fuzz::TTarget* t = fuzz::FindTarget(name);
    TRandom r{0x5EED0000u + std::hash<std::string>()(name) % 1000};
    std::set<std::string> tried;
    for (int i = 0; i < count; ++i) {
      const std::string input = Mutate(seeds[r.Below(seeds.size())], seeds, r);
      tried.insert(input);
      t->Read(input);
    }
    return tried.size();
  }
  static std::string Bytes(const TMemoryStream& m) {
    return std::string(reinterpret_cast<const char*>(m.Memory()), size_t(m.Size()));
  }
};

// The main window's site: mutated streams float, hide or refuse; the saved
// stream then docks the editor back in the site at its width.
TEST_F(ReaderMutationTest, DockSiteStreamsOfTheMainWindow) {
  const std::vector<std::string> seeds = SeedsOf("framesite");
  ASSERT_EQ(seeds.size(), 2u);
  EXPECT_GT(Mutations("framesite", seeds, 300), 250u);
  TMainForm* form = Environment().MainForm();
  fuzz::ReadFrameSite(seeds[0]);
  EXPECT_EQ(form->ColorMapFrame()->HostDockSite(), form->FrameSite1);
  EXPECT_TRUE(form->ColorMapFrame()->Visible());
  TMemoryStream again;
  form->FrameSite1->SaveToStream(&again);
  EXPECT_EQ(Bytes(again), seeds[0]);
}

// The action manager of the main window: mutated configurations are read or
// refused with the previous bars kept; the saved one reads back exactly.
TEST_F(ReaderMutationTest, ActionManagerConfigurations) {
  const std::vector<std::string> seeds = SeedsOf("actionmanager");
  EXPECT_GT(Mutations("actionmanager", seeds, 300), 250u);
  fuzz::ReadActionManager(seeds[0]);
  TMemoryStream again;
  Environment().MainForm()->ActionManager1->SaveToStream(again);
  EXPECT_EQ(Bytes(again), seeds[0]);
}

// The editor's record of the layout file: mutated records are applied or
// refused whole; the saved one reads back exactly.
TEST_F(ReaderMutationTest, ColourMapEditorRecords) {
  const std::vector<std::string> seeds = SeedsOf("editor");
  EXPECT_GT(Mutations("editor", seeds, 300), 250u);
  fuzz::ReadEditorRecord(seeds[0]);
  TMemoryStream again;
  Environment().MainForm()->ColorMapFrame()->SaveToStream(again);
  EXPECT_EQ(Bytes(again), seeds[0]);
}

// The floating placements, the module files and the bitmaps need no window;
// their readers get more mutations for the same time.
TEST_F(ReaderMutationTest, FloatTreesModulesAndBitmaps) {
  const std::vector<std::string> floats = SeedsOf("floattree");
  EXPECT_GE(FloatTree()->Count(), 1); // the seed holds the editor's placement
  EXPECT_GT(Mutations("floattree", floats, 1000), 800u);
  TFloatTreeZel tree;
  TMemoryStream in, out;
  in.WriteChars(floats[0]);
  in.SetPosition(0);
  tree.LoadFromStream(&in);
  tree.SaveToStream(&out);
  EXPECT_EQ(Bytes(out), floats[0]);

  EXPECT_GT(Mutations("module", SeedsOf("module"), 200), 150u);
  EXPECT_GT(Mutations("bmp", SeedsOf("bmp"), 400), 300u);

  // The answers seed is believed as it stands (its stamps hold), so the
  // mutations reach the answer lines.
  const std::vector<std::string> answers = SeedsOf("fontanswers");
  const std::string seedFile = std::string(ZEL_BINARY_DIR) + "/fuzz-seeds/fontanswers/seed-0";
  const std::string& seed = answers[0];
  const size_t from = seed.find("\nenv\t") + 5; // the second line: the environment
  const std::string env = seed.substr(from, seed.find('\n', from) - from);
  const auto believed = sys::ReadFontAnswers(seedFile, env);
  ASSERT_TRUE(believed.has_value());
  EXPECT_EQ(believed->answers.size(), 2u);
  EXPECT_GT(Mutations("fontanswers", answers, 400), 300u);
}

// The framework's dock tree, PNG and the whole layout file have mutation
// runs of their own; here
// their seeds are made and read once, so that the fuzzers' corpora exist.
TEST_F(ReaderMutationTest, SeedsOfTheOtherReadersRead) {
  for (const char* name : {"docktree", "png", "layout"})
    for (const std::string& seed : SeedsOf(name))
      fuzz::FindTarget(name)->Read(seed);
  EXPECT_EQ(fuzz::Targets().size(), 10u);
}

// The layout program's custom mutator: a seed changed by its structure
// stays a layout file, mostly another one each time, and reads (and is
// written back and read again) without a finding; bytes that are no layout
// file are left to the byte-level mutations.
TEST_F(ReaderMutationTest, TheLayoutMutatorKeepsFilesWellFormed) {
  const std::string seed = SeedsOf("layout").at(0);
  std::set<std::string> changed;
  for (unsigned s = 1; s <= 12; ++s) {
    const std::optional<std::string> bytes = fuzz::MutateLayoutStructure(seed, s);
    ASSERT_TRUE(bytes && ParseLayout(*bytes));
    changed.insert(*bytes);
    fuzz::ReadLayout(*bytes);
  }
  EXPECT_GE(changed.size(), 10u);
  EXPECT_FALSE(fuzz::MutateLayoutStructure(seed.substr(1), 1));
}

} // namespace
} // namespace zel::test
