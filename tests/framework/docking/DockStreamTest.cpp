// The dock tree's stream: the bytes written, both versions read, controls
// found again by name, hidden clients, damaged input (limits outside the
// site, nesting without end) and a fixed run of mutated streams.

#include <climits>
#include <vector>

#include "framework/core/Exceptions.h"
#include "tests/framework/docking/DockFixture.h"
#include "tests/support/Mutation.h"

namespace zel::test {
namespace {

using namespace sys;

// Writes the fields of a dock tree stream by hand.
struct TBytes {
  std::string s;
  TBytes& I32(int32_t v) {
    for (int i = 0; i < 4; ++i)
      s += char(uint32_t(v) >> (8 * i) & 0xFF);
    return *this;
  }
  TBytes& U8(uint8_t v) {
    s += char(v);
    return *this;
  }
  TBytes& Str(const std::string& t) {
    I32(int32_t(t.size()));
    s += t;
    return *this;
  }
  TBytes& Zone(int level, uint8_t orient, int limit, const std::string& name) {
    return I32(level).U8(orient).I32(limit).Str(name);
  }
};

void Fill(TMemoryStream& m, const std::string& bytes) {
  m.SetSize(0);
  m.WriteBuffer(bytes.data(), int64_t(bytes.size()));
  m.SetPosition(0);
}

TEST_F(DockTest, SaveWritesZonesDepthFirstWithHiddenClientsByName) {
  TPanel* a = Docked("A");
  Docked("B", alLeft);
  TPanel* c = Docked("C", alBottom, a);
  c->Hide();
  TMemoryStream m;
  m.WriteU8(0x55); // something before the tree stays untouched
  Tree()->SaveToStream(m);
  const std::string want = TBytes()
                               .U8(0x55)
                               .I32(0x00080000)
                               .U8(0)          // absolute sizes
                               .U8(doVertical) // top orientation
                               .I32(1)
                               .Str("C") // the hidden client
                               .I32(400) // top limit
                               .Zone(0, doVertical, 400, "")
                               .Zone(1, doNoOrient, 200, "B")
                               .Zone(1, doHorizontal, 400, "") // A's zone with hidden C
                               .Zone(2, doNoOrient, 300, "A")
                               .I32(-1)
                               .s;
  EXPECT_EQ(Bytes(m), want);
  // Saving again without change writes the same bytes.
  TMemoryStream again;
  again.WriteU8(0x55);
  Tree()->SaveToStream(again);
  EXPECT_EQ(Bytes(again), want);
}

TEST_F(DockTest, ALoadedTreeFindsItsControlsByNameAndSavesTheSameBytes) {
  TPanel* a = Docked("A");
  TPanel* b = Docked("B", alLeft);
  TPanel* c = Docked("C", alBottom, a);
  const RECT ra = a->BoundsRect(), rb = b->BoundsRect(), rc = c->BoundsRect();
  TMemoryStream m;
  Tree()->SaveToStream(m);
  // Everything floats away; the load docks each control again by name.
  for (TPanel* p : {a, b, c})
    p->ManualFloat(RECT{10, 10, 110, 90});
  EXPECT_EQ(site->DockClientCount(), 0);
  m.SetPosition(0);
  Tree()->LoadFromStream(m);
  EXPECT_EQ(m.Position(), m.Size());
  EXPECT_EQ(site->DockClientCount(), 3);
  EXPECT_EQ(a->BoundsRect(), ra);
  EXPECT_EQ(b->BoundsRect(), rb);
  EXPECT_EQ(c->BoundsRect(), rc);
  EXPECT_EQ(c->HostDockSite(), site);
  TMemoryStream again;
  Tree()->SaveToStream(again);
  EXPECT_EQ(Bytes(again), Bytes(m));
}

TEST_F(DockTest, TheOlderVersionLoadsWithoutItsTwoHeaderFields) {
  TPanel* a = Panel("A");
  TPanel* b = Panel("B");
  TMemoryStream m;
  Fill(m, TBytes()
              .I32(0x00040000)
              .I32(0) // no hidden clients
              .I32(400)
              .Zone(0, doVertical, 400, "")
              .Zone(1, doNoOrient, 100, "A")
              .Zone(1, doNoOrient, 400, "B")
              .I32(-1)
              .s);
  Tree()->LoadFromStream(m);
  EXPECT_EQ(m.Position(), m.Size());
  EXPECT_EQ(a->HostDockSite(), site);
  EXPECT_EQ(a->BoundsRect(), (RECT{0, 12, 96, 300}));
  EXPECT_EQ(b->BoundsRect(), (RECT{100, 12, 400, 300}));
}

TEST_F(DockTest, HiddenClientsComeBackHiddenAndUnknownNamesAreDropped) {
  TPanel* a = Panel("A");
  TPanel* b = Panel("B");
  TPanel* h = Panel("H");
  TMemoryStream m;
  Fill(m, TBytes()
              .I32(0x00080000)
              .U8(0)
              .U8(doVertical)
              .I32(2)
              .Str("H")
              .Str("Nobody")
              .I32(400)
              .Zone(0, doVertical, 400, "")
              .Zone(1, doNoOrient, 150, "A")
              .Zone(1, doNoOrient, 300, "Ghost") // no such control
              .Zone(1, doNoOrient, 400, "B")
              .I32(-1)
              .U8(0x77) // the next section
              .s);
  Tree()->LoadFromStream(m);
  EXPECT_EQ(m.Position(), m.Size() - 1);
  EXPECT_EQ(h->HostDockSite(), site);
  EXPECT_FALSE(h->Visible());
  // A and B share the room in the proportion of their saved sizes, 150 : 100.
  EXPECT_EQ(a->Width(), 240 - TDockTree::SplitterWidth);
  EXPECT_EQ(b->Left(), 240);
  // Showing the hidden client gives it a place.
  h->Show();
  EXPECT_NE(Tree()->FindControlZone(h), nullptr);
  EXPECT_GT(h->Width(), 0);
  EXPECT_LT(b->Width(), 160);
}

TEST_F(DockTest, RelativeSizesScaleWithTheSite) {
  Docked("A");
  TPanel* b = Docked("B", alLeft);
  Tree()->SetRelativeSizes(true);
  TMemoryStream m;
  Tree()->SaveToStream(m);
  const std::string want = TBytes()
                               .I32(0x00080000)
                               .U8(1)
                               .U8(doVertical)
                               .I32(0)
                               .I32(10000)
                               .Zone(0, doVertical, 10000, "")
                               .Zone(1, doNoOrient, 5000, "B")
                               .Zone(1, doNoOrient, 10000, "A")
                               .I32(-1)
                               .s;
  EXPECT_EQ(Bytes(m), want);
  site->SetBounds(100, 100, 800, 300);
  m.SetPosition(0);
  Tree()->LoadFromStream(m);
  EXPECT_EQ(b->Width(), 396);
}

TEST_F(DockTest, DamagedStreamsRaiseReadErrorsAndChangeNothing) {
  TPanel* a = Docked("A");
  TPanel* b = Docked("B", alLeft);
  const RECT ra = a->BoundsRect();
  const std::string good = TBytes()
                               .I32(0x00080000)
                               .U8(0)
                               .U8(doVertical)
                               .I32(0)
                               .I32(400)
                               .Zone(0, doVertical, 400, "")
                               .Zone(1, doNoOrient, 100, "A")
                               .Zone(1, doNoOrient, 400, "B")
                               .I32(-1)
                               .s;
  auto rejects = [&](const std::string& bytes, const char* why) {
    TMemoryStream m;
    Fill(m, "\x01" + bytes);
    m.SetPosition(1);
    EXPECT_THROW(Tree()->LoadFromStream(m), EReadError) << why;
    EXPECT_EQ(m.Position(), 1) << why;
    EXPECT_EQ(a->BoundsRect(), ra) << why;
    EXPECT_EQ(b->HostDockSite(), site) << why;
  };
  // Cut short anywhere.
  for (size_t n = 0; n < good.size(); ++n)
    rejects(good.substr(0, n), "cut short");
  // Another version, with a message that says so.
  std::string other = good;
  other[2] = 0x07;
  try {
    TMemoryStream m;
    Fill(m, other);
    Tree()->LoadFromStream(m);
    ADD_FAILURE() << "another version loaded";
  } catch (const EReadError& e) {
    EXPECT_NE(std::string(e.Message()).find("version"), std::string::npos);
  }
  rejects(other, "version");
  // Records out of order, a bad orientation, a negative name length.
  rejects(TBytes().I32(0x00040000).I32(0).I32(400).Zone(1, 0, 400, "A").I32(-1).s, "level");
  rejects(TBytes().I32(0x00040000).I32(0).I32(400).Zone(0, 9, 400, "").I32(-1).s, "orientation");
  rejects(TBytes().I32(0x00040000).I32(0).I32(400).I32(0).U8(0).I32(0).I32(-5).I32(-1).s,
          "name length");
  rejects(TBytes().I32(0x00040000).I32(-3).I32(400).I32(-1).s, "hidden count");
  // The good stream itself loads.
  TMemoryStream m;
  Fill(m, good);
  Tree()->LoadFromStream(m);
  EXPECT_EQ(a->Width(), 96);
}

// A stream of the older version: zone 0 split side by side into C and B.
std::string OldTwoZones(int32_t top, int32_t first, int32_t second) {
  return TBytes()
      .I32(0x00040000)
      .I32(0)
      .I32(top)
      .Zone(0, doVertical, top, "")
      .Zone(1, doNoOrient, first, "C")
      .Zone(1, doNoOrient, second, "B")
      .I32(-1)
      .s;
}

std::string Relative(int32_t top, int32_t first) {
  return TBytes()
      .I32(0x00080000)
      .U8(1)
      .U8(doVertical)
      .I32(0)
      .I32(top)
      .Zone(0, doVertical, top, "")
      .Zone(1, doNoOrient, first, "C")
      .Zone(1, doNoOrient, 10000, "B")
      .I32(-1)
      .s;
}

// A site with A and B docked and C floating, for streams that name C.
class DockStreamDamage : public DockTest {
protected:
  void SetUp() override {
    DockTest::SetUp();
    Docked("A");
    Docked("B", alLeft);
    Panel("C");
  }
  TControl* Find(const char* name) { return dynamic_cast<TControl*>(root->FindComponent(name)); }
  std::string Saved() {
    TMemoryStream m;
    Tree()->SaveToStream(m);
    return Bytes(m);
  }
  // Loads bytes placed after one byte of something else and expects a read
  // error that names why, the stream back where it was, and nothing moved.
  void ExpectRefused(const std::string& bytes, const char* word, const std::string& why) {
    TMemoryStream m;
    Fill(m, "\x01" + bytes);
    m.SetPosition(1);
    const RECT a = Find("A")->BoundsRect();
    const std::string before = Saved();
    try {
      Tree()->LoadFromStream(m);
      ADD_FAILURE() << why << ": loaded";
    } catch (const EReadError& e) {
      EXPECT_NE(e.Message().find(word), std::string::npos) << why << ": " << e.Message();
    }
    EXPECT_EQ(m.Position(), 1) << why;
    EXPECT_EQ(Saved(), before) << why;
    EXPECT_EQ(Find("A")->BoundsRect(), a) << why;
    EXPECT_EQ(Find("B")->HostDockSite(), site) << why;
    EXPECT_EQ(Find("C")->HostDockSite(), nullptr) << why;
  }
};

TEST_F(DockStreamDamage, ZoneLimitsOutsideTheSiteAreDamageFoundBeforeAnythingMoves) {
  EXPECT_EQ(OldTwoZones(400, 150, INT_MIN).size(), 57u);
  struct {
    std::string Bytes;
    const char* Why;
  } damaged[] = {
      {OldTwoZones(400, 150, INT_MIN), "INT_MIN after a positive limit"},
      {OldTwoZones(400, INT_MIN, 400), "INT_MIN first"},
      {OldTwoZones(400, -1, 400), "negative"},
      {OldTwoZones(400, 100, INT_MAX), "INT_MAX"},
      {OldTwoZones(400, 100, (1 << 15) + 1), "wider than any site"},
      {OldTwoZones(INT_MIN, 100, 400), "top limit"},
      {Relative(10000, 10001), "relative past the whole"},
      {Relative(-10000, 5000), "relative top limit"},
  };
  for (const auto& d : damaged)
    ExpectRefused(d.Bytes, "limit", d.Why);
  // The extremes of the range load, and every control stays within the
  // site, even one given less room than its splitter takes.
  for (const std::string& good : {OldTwoZones(0, 0, 0), OldTwoZones(1 << 15, 1 << 15, 1 << 15),
                                  Relative(10000, 0), OldTwoZones(400, 1, 400)}) {
    TMemoryStream m;
    Fill(m, good);
    Tree()->LoadFromStream(m);
    EXPECT_EQ(Find("C")->HostDockSite(), site);
    for (const char* name : {"A", "B", "C"}) {
      const RECT b = Find(name)->BoundsRect();
      EXPECT_TRUE(b.left >= 0 && b.top >= 0 && b.left <= b.right && b.top <= b.bottom &&
                  b.right <= 400 && b.bottom <= 300)
          << name << " " << b.left << "," << b.top << "," << b.right << "," << b.bottom;
    }
  }
}

// A zone or a hidden client naming a control the site lies inside would
// put the site inside itself: damage, found before anything moves.
TEST_F(DockStreamDamage, ANameOfAParentOfTheSiteIsDamageFoundBeforeAnythingMoves) {
  site->SetParent(static_cast<TWinControl*>(Find("C")));
  const std::string header = TBytes().I32(0x00080000).U8(0).U8(doVertical).s;
  const std::string zones = TBytes()
                                .I32(400)
                                .Zone(0, doVertical, 400, "")
                                .Zone(1, doNoOrient, 100, "A")
                                .Zone(1, doNoOrient, 400, "B")
                                .s;
  ExpectRefused(header + TBytes().I32(0).s + zones + TBytes().Zone(1, 0, 400, "C").I32(-1).s,
                "cannot dock", "a zone");
  ExpectRefused(header + TBytes().I32(1).Str("C").s + zones + TBytes().I32(-1).s, "cannot dock",
                "a hidden client");
}

TEST_F(DockStreamDamage, NestingDeeperThanAnyArrangementIsRefusedBeforeAnythingMoves) {
  // Each zone a level deeper than the last, C at the bottom.
  auto chain = [](int deepest) {
    TBytes b;
    b.I32(0x00040000).I32(0).I32(400);
    for (int level = 0; level <= deepest; ++level)
      b.Zone(level, level % 2 ? doHorizontal : doVertical, 300, level == deepest ? "C" : "");
    return b.I32(-1).s;
  };
  const std::string deep = chain(9999);
  EXPECT_GT(deep.size(), 130000u);
  ExpectRefused(deep, "nested", "ten thousand levels");
  constexpr int kDeepest = 64; // the reader's bound
  ExpectRefused(chain(kDeepest + 1), "nested", "one level too deep");
  // At the bound the chain loads and, its empty levels pruned, C is docked.
  TMemoryStream m;
  Fill(m, chain(kDeepest));
  Tree()->LoadFromStream(m);
  EXPECT_EQ(m.Position(), m.Size());
  EXPECT_EQ(Find("C")->HostDockSite(), site);
  EXPECT_NE(Tree()->FindControlZone(Find("C")), nullptr);
}

// Values at the edges of what the reader accepts: depth, extents, lengths.
const std::vector<uint32_t> kDockValues = {2, 64, 65, 10000, 10001, 0x8001, 0xFFFFFFFE};

TEST_F(DockStreamDamage, MutatedStreamsLoadWithinTheSiteOrAreRefusedWithNothingChanged) {
  Find("C")->ManualDock(site, Find("A"), alBottom);
  Docked("D", alTop, Find("A"))->Hide();
  std::vector<std::string> seeds;
  for (bool relative : {false, true}) {
    Tree()->SetRelativeSizes(relative);
    TMemoryStream m;
    Tree()->SaveToStream(m);
    seeds.push_back(Bytes(m));
  }
  seeds.push_back(OldTwoZones(400, 150, 400));
  auto load = [&](const std::string& bytes, TMemoryStream& m) {
    Fill(m, "\x01" + bytes);
    m.SetPosition(1);
    Tree()->LoadFromStream(m);
  };
  TRandom r{20261209};
  int loaded = 0, refused = 0;
  for (int i = 0; i < 6000; ++i) {
    const std::string bytes = Mutate(seeds[r.Below(seeds.size())], seeds, r, kDockValues);
    const std::string before = Saved();
    TMemoryStream m;
    try {
      load(bytes, m);
    } catch (const EReadError&) {
      ++refused;
      ASSERT_EQ(m.Position(), 1) << i;
      ASSERT_EQ(Saved(), before) << i;
      continue;
    }
    ++loaded;
    ASSERT_GT(m.Position(), 1) << i;
    for (const char* name : {"A", "B", "C", "D"}) {
      TControl* c = Find(name);
      if (c->HostDockSite() != site || !c->Visible()) continue;
      const RECT b = c->BoundsRect();
      ASSERT_TRUE(b.left >= 0 && b.top >= 0 && b.left <= b.right && b.top <= b.bottom &&
                  b.right <= 400 && b.bottom <= 300)
          << i << " " << name;
    }
    load(seeds[0], m); // back to the arrangement the seeds came from
  }
  // Both outcomes occur often enough for the run to mean something.
  EXPECT_GT(loaded, 400);
  EXPECT_GT(refused, 4000);
}

} // namespace
} // namespace zel::test
