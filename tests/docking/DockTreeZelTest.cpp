// The dock tree of the system: grabber geometry and colours, captions on top
// or reading upwards on the left (none in an area of 10 pixels or less), and
// the tolerant loader: hidden clients docked again invisibly, clients the
// saved tree does not mention floated to their saved placements, damaged
// streams refused with the stream set back.

#include <random>

#include "docking/FrameSite.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Streams.h"
#include "framework/docking/DragDock.h"
#include "tests/docking/DockingFixture.h"

namespace zel::test {
namespace {

using namespace sys;

class DockTreeZelTest : public DockingTest {
protected:
  void MakeSite(TAlign align, int width = 240, int height = 300) {
    mainForm->Show();
    site = new TFrameSite(mainForm);
    site->SetName("FrameSite1");
    site->SetColor(clBtnFace);
    site->SetDockStyle(1);
    site->SetAlign(alNone);
    site->SetBounds(20, 20, width, height);
    site->SetParent(mainForm);
    site->HandleNeeded();
    if (align != alNone) site->SetAlign(align);
    Pump();
  }
  TDockTreeZel* Tree() { return dynamic_cast<TDockTreeZel*>(site->DockManager()); }
  TPanel* DockedPanel(const std::string& name, TAlign side = alBottom) {
    TPanel* p = Panel(name);
    p->ManualDock(site, nullptr, side);
    Pump();
    return p;
  }
  RECT Frame(TControl* c) {
    RECT r{};
    Tree()->GetControlBounds(c, r);
    return r;
  }
  // Pixels within a site rectangle darker than any colour of the grabber.
  int DarkPixels(const RECT& r) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) {
        const POINT p = site->ClientToScreen(POINT{x, y});
        const COLORREF c = screen->ScreenPixel(p.x, p.y);
        if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 200) ++n;
      }
    return n;
  }
  COLORREF SitePixel(int x, int y) {
    const POINT p = site->ClientToScreen(POINT{x, y});
    return screen->ScreenPixel(p.x, p.y);
  }
  static std::string Bytes(TMemoryStream& m) {
    return std::string(reinterpret_cast<const char*>(m.Memory()), size_t(m.Size()));
  }

  TFrameSite* site = nullptr;
};

TEST(ScaleColorTest, ScalesEachChannelRoundingAndLimiting) {
  EXPECT_EQ(ScaleColor(TColor(RGB(100, 200, 10)), 120), TColor(RGB(120, 240, 12)));
  EXPECT_EQ(ScaleColor(TColor(RGB(240, 240, 240)), 120), TColor(RGB(255, 255, 255)));
  EXPECT_EQ(ScaleColor(TColor(RGB(1, 3, 255)), 85), TColor(RGB(1, 3, 217)));
  EXPECT_EQ(ScaleColor(clBtnFace, 100), ColorToRGB(clBtnFace));
}

TEST_F(DockTreeZelTest, GrabberPartsOnTopOrOnTheLeft) {
  MakeSite(alRight);
  const RECT f{10, 20, 210, 120};
  EXPECT_EQ(Tree()->GrabberBarRect(f), (RECT{11, 20, 196, 31}));
  EXPECT_EQ(Tree()->GrabberCloseRect(f), (RECT{198, 20, 209, 31}));
  EXPECT_EQ(Tree()->GrabberCaptionRect(f), (RECT{14, 19, 193, 31}));
  site->SetAlign(alTop);
  EXPECT_EQ(Tree()->GrabberBarRect(f), (RECT{10, 34, 21, 119}));
  EXPECT_EQ(Tree()->GrabberCloseRect(f), (RECT{10, 21, 21, 32}));
  EXPECT_EQ(Tree()->GrabberCaptionRect(f), (RECT{7, 35, 20, 115}));
}

TEST_F(DockTreeZelTest, PaintsGradientGrabbersWithACloseBoxAndTheCaption) {
  MakeSite(alRight);
  TPanel* p = DockedPanel("Editor");
  const RECT f = Frame(p);
  const RECT bar = Tree()->GrabberBarRect(f);
  const TColor face = site->Color();
  // A vertical gradient from 120 % of the site's colour to 85 %.
  EXPECT_EQ(SitePixel(bar.right - 30, bar.top + 1), COLORREF(ScaleColor(face, 120)));
  EXPECT_NE(SitePixel(bar.right - 30, bar.bottom - 2), SitePixel(bar.right - 30, bar.top + 1));
  // The close box's cross in 40 %.
  const RECT close = Tree()->GrabberCloseRect(f);
  EXPECT_EQ(SitePixel(close.left + 5, close.top + 5), COLORREF(ScaleColor(face, 40)));
  // The caption text in the caption area; none further down in the client.
  EXPECT_GT(DarkPixels(Tree()->GrabberCaptionRect(f)), 10);
  screen->SaveScreenArea(RECT{site->ClientToScreen(POINT{0, 0}).x,
                              site->ClientToScreen(POINT{0, 0}).y,
                              site->ClientToScreen(POINT{site->Width(), 40}).x,
                              site->ClientToScreen(POINT{site->Width(), 40}).y},
                         PictureDir() + "/docking_grabber_top.png");

  // On a site aligned to the top the grabber lies on the left and the
  // caption reads upwards there.
  site->SetAlign(alTop);
  site->SetHeight(200);
  Pump();
  const RECT g = Frame(p);
  const RECT left = Tree()->GrabberCaptionRect(g);
  EXPECT_GT(DarkPixels(RECT{g.left, left.top, g.left + 12, left.bottom}), 10);
  EXPECT_EQ(DarkPixels(RECT{g.left + 14, g.top, g.left + 120, g.top + 12}), 0);
  EXPECT_NE(Tree()->CaptionFontVert(), nullptr);
  const POINT tl = site->ClientToScreen(POINT{0, 0});
  screen->SaveScreenArea(RECT{tl.x, tl.y, tl.x + 60, tl.y + site->Height()},
                         PictureDir() + "/docking_grabber_left.png");
}

TEST_F(DockTreeZelTest, NoCaptionInAnAreaOfTenPixelsOrLess) {
  // Caption area width = frame width - 21.
  struct Case {
    int width;
    bool text;
  } cases[] = {{31, false}, {40, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    TearDown();
    SetUp();
    MakeSite(alNone, c.width, 200);
    TPanel* p = DockedPanel("W");
    const RECT f = Frame(p);
    ASSERT_EQ(f.right - f.left, c.width);
    EXPECT_EQ(DarkPixels(Tree()->GrabberCaptionRect(f)) > 0, c.text);
  }
}

TEST_F(DockTreeZelTest, HiddenClientsAreDockedAgainInvisiblyWithoutTheirFormShowing) {
  MakeSite(alRight);
  TPanel* a = DockedPanel("A");
  TPanel* b = DockedPanel("B");
  b->Hide();
  Pump();
  TMemoryStream saved;
  Tree()->SaveToStream(saved);
  // Both leave: A floats, B floats and is hidden again.
  a->ManualDock(nullptr);
  b->ManualDock(nullptr);
  Pump();
  auto* bForm = dynamic_cast<TCustomForm*>(b->HostDockSite());
  ASSERT_NE(bForm, nullptr);
  bForm->Close(); // hides the form and its client
  Pump();
  ASSERT_FALSE(b->Visible());
  ASSERT_FALSE(bForm->Visible());
  int shows = 0;
  bForm->OnShow = [&](TObject*) { ++shows; };
  saved.WriteI32(0x5A5A5A5A); // what follows the section stays unread
  saved.SetPosition(0);
  Tree()->LoadFromStream(saved);
  EXPECT_EQ(saved.Position(), saved.Size() - 4);
  Pump();
  EXPECT_EQ(a->HostDockSite(), site);
  EXPECT_TRUE(a->Visible());
  EXPECT_EQ(b->HostDockSite(), site);
  EXPECT_FALSE(b->Visible());
  EXPECT_EQ(shows, 0);
  // A fills the site under its grabber; B takes no room.
  EXPECT_EQ(a->Width(), site->ClientWidth());
}

TEST_F(DockTreeZelTest, ClientsTheSavedTreeDoesNotMentionFloatToTheirSavedPlacements) {
  MakeSite(alRight);
  DockedPanel("A");
  TMemoryStream saved;
  Tree()->SaveToStream(saved);
  TPanel* c = DockedPanel("C");
  TPanel* d = DockedPanel("D");
  FloatTree()->RecordControl(c, RECT{-500, 300, 100, 450}, true);
  saved.SetPosition(0);
  Tree()->LoadFromStream(saved);
  Pump();
  EXPECT_FALSE(LayoutRestoring());
  auto* cForm = dynamic_cast<TCustomDockFormZel*>(c->HostDockSite());
  ASSERT_NE(cForm, nullptr);
  EXPECT_EQ(cForm->BoundsRect(), (RECT{-300, 300, 300, 450}));
  Wait(100);
  EXPECT_TRUE(cForm->Visible());
  EXPECT_TRUE(c->Visible());
  // Without a saved placement: shown where the framework floats it.
  auto* dForm = dynamic_cast<TCustomDockFormZel*>(d->HostDockSite());
  ASSERT_NE(dForm, nullptr);
  EXPECT_TRUE(dForm->Visible());
  EXPECT_TRUE(d->Visible());
  EXPECT_EQ(site->DockClientCount(), 1);
}

TEST_F(DockTreeZelTest, DamagedTreesFailWithTheStreamSetBack) {
  MakeSite(alRight);
  TPanel* a = DockedPanel("A");
  DockedPanel("B")->Hide();
  DockedPanel("C");
  Pump();
  TMemoryStream saved;
  Tree()->SaveToStream(saved);
  const std::string bytes = Bytes(saved);
  for (size_t n = 0; n < bytes.size(); ++n) {
    TMemoryStream cut;
    cut.WriteChars(std::string_view(bytes).substr(0, n));
    cut.SetPosition(0);
    EXPECT_THROW(Tree()->LoadFromStream(cut), Exception) << n;
    EXPECT_EQ(cut.Position(), 0) << n;
  }
  std::mt19937 rng(11);
  for (int round = 0; round < 200; ++round) {
    std::string mutated = bytes;
    mutated[rng() % mutated.size()] = char(rng());
    TMemoryStream m;
    m.WriteChars(mutated);
    m.SetPosition(0);
    try {
      Tree()->LoadFromStream(m);
    } catch (const Exception&) {
      EXPECT_EQ(m.Position(), 0);
    }
    Pump();
  }
  // The site still works: A can be docked back and laid out.
  if (a->HostDockSite() != site) a->ManualDock(site);
  Pump();
  EXPECT_EQ(a->HostDockSite(), site);
}

} // namespace
} // namespace zel::test
