// The dock tree's stream: the bytes written, both versions read, controls
// found again by name, hidden clients, and damaged input.

#include "framework/core/Exceptions.h"
#include "tests/framework/docking/DockFixture.h"

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

} // namespace
} // namespace zel::test
