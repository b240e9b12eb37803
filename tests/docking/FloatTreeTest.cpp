// The float tree: placements fitted on the screen, keys from owner chains,
// the stream written and read back byte for byte, damaged streams refused
// with the stream set back, and controls found again by name or key.

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <random>

#include "docking/UnitFrameSite.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Streams.h"
#include "framework/forms/Application.h"
#include "framework/stdctrls/Panel.h"
#include "platform/backend/Headless.h"
#include "platform/clock/Clock.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/WindowSystem.h"

namespace zel {

class TMyPanel : public TPanel {
  ZEL_CLASS(TMyPanel, TPanel)
public:
  using TPanel::TPanel;
};

class TMyForm : public TForm {
  ZEL_CLASS(TMyForm, TForm)
public:
  using TForm::TForm;
};

namespace test {
namespace {

using namespace sys;

class FloatTreeTest : public ::testing::Test {
protected:
  void SetUp() override {
    UseHeadlessBackend(SIZE{1024, 768});
    InitializeUnitFrameSite();
    app = std::make_unique<TApplication>();
    form = new TMyForm(app.get());
    form->SetName("Form1");
    panel = new TMyPanel(form);
    panel->SetName("Panel1");
  }
  void TearDown() override {
    app.reset();
    FinalizeUnitFrameSite();
    ResetWindowSystem();
  }
  static std::string Bytes(TMemoryStream& m) {
    return std::string(reinterpret_cast<const char*>(m.Memory()), size_t(m.Size()));
  }
  // One entry as the stream holds it.
  static void Entry(TMemoryStream& m, int32_t size, RECT r, bool visible, const std::string& key) {
    m.WriteI32(size);
    m.WriteI32(r.left);
    m.WriteI32(r.top);
    m.WriteI32(r.right);
    m.WriteI32(r.bottom);
    m.WriteU8(visible);
    m.WriteU8(0);
    m.WriteU16(0);
    m.WriteStr32(key);
  }

  ScopedVirtualClock clock;
  std::unique_ptr<TApplication> app;
  TMyForm* form = nullptr;
  TMyPanel* panel = nullptr;
};

TEST(FitOnScreenTest, KeepsHalfOfTheRectangleOnTheScreen) {
  struct Case {
    RECT in, out;
  } cases[] = {
      {{-500, 10, 100, 210}, {-300, 10, 300, 210}},  // too far left
      {{100, 100, 300, 200}, {100, 100, 300, 200}},  // on the screen: unchanged
      {{1000, 10, 1400, 210}, {824, 10, 1224, 210}}, // too far right
      {{10, -500, 210, -400}, {10, -50, 210, 50}},   // above
      {{10, 900, 210, 1100}, {10, 668, 210, 868}},   // below
      {{-101, -101, 0, 0}, {-50, -50, 51, 51}},      // odd sizes round down
  };
  for (const Case& c : cases) {
    const RECT r = FitOnScreen(c.in, 1024, 768);
    EXPECT_EQ(r, c.out) << c.in.left << "," << c.in.top;
  }
  // Extreme values from a damaged file neither overflow nor wrap around.
  const RECT wild = FitOnScreen(RECT{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 1024, 768);
  EXPECT_LE(wild.left, wild.right);
  EXPECT_LE(wild.top, wild.bottom);
}

TEST_F(FloatTreeTest, KeysComeFromTheOwnerChainAndNamelessChainsAreNeverRecorded) {
  EXPECT_EQ(TFloatTreeZel::MakeKey(panel), ".FORM1.PANEL1;TAPPLICATION.TMYFORM.TMYPANEL");
  auto* loose = new TPanel(new TMyForm(app.get())); // no name anywhere in its chain
  EXPECT_EQ(TFloatTreeZel::MakeKey(loose), "");
  FloatTree()->RecordControl(loose, RECT{1, 2, 3, 4}, true);
  EXPECT_EQ(FloatTree()->Count(), 0);
  FloatTree()->RecordControl(panel, RECT{1, 2, 3, 4}, true);
  FloatTree()->RecordControl(panel, RECT{5, 6, 7, 8}, false); // overwritten, not added
  TFloatPlacement p;
  ASSERT_TRUE(FloatTree()->Find(panel, p));
  EXPECT_EQ(FloatTree()->Count(), 1);
  EXPECT_EQ(p.Size, 24);
  EXPECT_EQ(p.Bounds, (RECT{5, 6, 7, 8}));
  EXPECT_FALSE(p.Visible);
  EXPECT_FALSE(FloatTree()->Find(loose, p));
}

TEST_F(FloatTreeTest, SavesInSortedKeyOrderTheSameBytesTwiceAndReadsThemBack) {
  FloatTree()->Put("ZULU", TFloatPlacement{24, RECT{1, 2, 3, 4}, true});
  FloatTree()->Put("ALPHA", TFloatPlacement{99, RECT{-5, -6, 7, 8}, false});
  TMemoryStream a, b;
  FloatTree()->SaveToStream(&a);
  FloatTree()->SaveToStream(&b);
  EXPECT_EQ(Bytes(a), Bytes(b));
  TMemoryStream expected;
  expected.WriteI32(3);
  Entry(expected, 24, RECT{-5, -6, 7, 8}, false, "ALPHA"); // the size given is not kept
  Entry(expected, 24, RECT{1, 2, 3, 4}, true, "ZULU");
  expected.WriteI32(-1);
  EXPECT_EQ(Bytes(a), Bytes(expected));
  EXPECT_EQ(a.Size(), 4 + 2 * 28 + 5 + 4 + 4);

  FinalizeUnitFrameSite();
  InitializeUnitFrameSite();
  a.SetPosition(0);
  FloatTree()->LoadFromStream(&a);
  EXPECT_EQ(a.Position(), a.Size());
  TMemoryStream again;
  FloatTree()->SaveToStream(&again);
  EXPECT_EQ(Bytes(again), Bytes(expected));
  FloatTree()->LoadFromStream(nullptr); // nothing happens
  TMemoryStream empty;
  FloatTree()->LoadFromStream(&empty);
  EXPECT_EQ(FloatTree()->Count(), 2);
}

TEST_F(FloatTreeTest, DamagedStreamsRaiseTheirMessageWithTheStreamSetBack) {
  struct Case {
    const char* what;
    int32_t version;
    int32_t badSize;   // 0: none
    int32_t keyLength; // used for the second entry when not 0
    const char* message;
    int keys;
    int64_t failAt; // -1: no failure
  } cases[] = {
      {"version 4", 4, 0, 0, "Неправильная версия (4) TFloatTreeZel", 0, 0},
      {"high bits ignored", 0x00010003, 0, 0, nullptr, 2, -1},
      {"bad size", 3, 23, 0, "Неправильный размер данных (23)", 1, 4 + 29},
      {"key length -1 ends", 3, 0, -1, nullptr, 1, -1},
  };
  for (const Case& c : cases) {
    FinalizeUnitFrameSite();
    InitializeUnitFrameSite();
    TMemoryStream m;
    m.WriteI32(c.version);
    Entry(m, 24, RECT{1, 1, 2, 2}, true, "A");
    if (c.keyLength == -1) {
      m.WriteI32(24);
      for (int i = 0; i < 5; ++i)
        m.WriteI32(0);
      m.WriteI32(-1);
    } else {
      Entry(m, c.badSize ? c.badSize : 24, RECT{3, 3, 4, 4}, false, "B");
      m.WriteI32(-1);
    }
    m.SetPosition(0);
    try {
      FloatTree()->LoadFromStream(&m);
      EXPECT_EQ(c.message, nullptr) << c.what;
    } catch (const Exception& e) {
      ASSERT_NE(c.message, nullptr) << c.what << ": " << e.Message();
      EXPECT_EQ(e.Message(), c.message) << c.what;
      EXPECT_EQ(m.Position(), c.failAt) << c.what;
    }
    EXPECT_EQ(FloatTree()->Count(), c.keys) << c.what;
  }
}

TEST_F(FloatTreeTest, TruncatedAndMutatedStreamsNeverCrash) {
  for (int i = 0; i < 3; ++i)
    FloatTree()->Put("KEY" + std::to_string(i),
                     TFloatPlacement{24, RECT{i, i, i + 9, i + 9}, true});
  TMemoryStream good;
  FloatTree()->SaveToStream(&good);
  const std::string bytes = Bytes(good);
  for (size_t n = 1; n < bytes.size(); ++n) {
    TMemoryStream cut;
    cut.WriteChars(std::string_view(bytes).substr(0, n));
    cut.SetPosition(0);
    EXPECT_THROW(FloatTree()->LoadFromStream(&cut), Exception) << n;
    // Set back to the start of what failed: the version or an entry.
    EXPECT_TRUE(cut.Position() == 0 || (cut.Position() - 4) % 32 == 0) << n;
  }
  std::mt19937 rng(7);
  for (int round = 0; round < 300; ++round) {
    std::string mutated = bytes;
    for (int k = 0; k < 3; ++k)
      mutated[rng() % mutated.size()] = char(rng());
    TMemoryStream m;
    m.WriteChars(mutated);
    m.SetPosition(0);
    try {
      FloatTree()->LoadFromStream(&m);
    } catch (const Exception&) {
    }
  }
}

TEST_F(FloatTreeTest, RestoreFitsTheSavedBoundsAndDefersTheVisibility) {
  auto* dockForm = new TCustomDockFormEx(app.get());
  panel->SetParent(dockForm);
  EXPECT_FALSE(FloatTree()->Restore(dockForm)); // nothing saved yet
  FloatTree()->RecordControl(panel, RECT{-500, 10, 100, 210}, true);
  ASSERT_TRUE(FloatTree()->Restore(dockForm));
  EXPECT_EQ(dockForm->BoundsRect(), (RECT{-300, 10, 300, 210}));
  EXPECT_TRUE(dockForm->VisibleWanted());
  EXPECT_FALSE(dockForm->Visible()); // the shared timer shows it
  AdvanceTime(100);
  PumpMessages();
  EXPECT_TRUE(dockForm->Visible());
  EXPECT_FALSE(VisibilityTimerRunning());
}

TEST_F(FloatTreeTest, FindsControlsByNameDepthFirstAndByKeyOnlyWhenTheKeyMatches) {
  // A frame of the main form owns the panel; the form has no such name.
  auto* mainForm = new TMyForm(app.get());
  mainForm->SetName("MainForm");
  auto* frame = new TPanel(mainForm);
  frame->SetName("Frame1");
  auto* inner = new TMyPanel(frame);
  inner->SetName("Editor");
  EXPECT_EQ(FindDockedControl("Editor", mainForm), inner);
  EXPECT_EQ(FindDockedControl("Editor", app.get()), inner);
  EXPECT_EQ(FindDockedControl("Nothing", app.get()), nullptr);
  EXPECT_EQ(FindDockedControl("", app.get()), nullptr);
  // A key looks for its last name and takes only the control it describes.
  EXPECT_EQ(FindDockedControl(".FORM1.PANEL1;TAPPLICATION.TMYFORM.TMYPANEL", app.get()), panel);
  EXPECT_EQ(FindDockedControl(".form1.panel1;tapplication.tmyform.tmypanel", app.get()), panel);
  EXPECT_EQ(FindDockedControl(".OTHER.PANEL1;TAPPLICATION.TMYFORM.TMYPANEL", app.get()), nullptr);
  EXPECT_EQ(FindDockedControl("PANEL1;X", app.get()), nullptr);
  // Dock forms are not searched.
  auto* dockForm = new TCustomDockFormEx(app.get());
  auto* floating = new TPanel(dockForm);
  floating->SetName("Floating");
  EXPECT_EQ(FindDockedControl("Floating", app.get()), nullptr);
}

} // namespace
} // namespace test
} // namespace zel
