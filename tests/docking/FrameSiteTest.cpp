// The dock site frame: children parented into it docked when its window is
// made, collapse, the fitted drop preview and the drop that expands the
// site to it, action bars refused, dock
// styles switched with the arrangement kept, and its own stream.

#include "docking/FrameSite.h"
#include "framework/actnbars/ActnCtrls.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Streams.h"
#include "framework/docking/DragDock.h"
#include "framework/stdctrls/Splitter.h"
#include "tests/docking/DockingFixture.h"

namespace zel::test {
namespace {

using namespace sys;

class FrameSiteTest : public DockingTest {
protected:
  // The main form's right edge: a splitter and the site (client 600 wide).
  void MakeSite(TAlign align = alRight, uint8_t style = 1) {
    mainForm->SetClientSize(600, 400);
    splitter = new TSplitter(mainForm);
    splitter->SetAlign(align);
    splitter->SetParent(mainForm);
    site = new TFrameSite(mainForm);
    site->SetName("FrameSite1");
    site->SetAlign(align);
    site->SetDockStyle(style);
    site->SetParent(mainForm);
  }
  TDockTree* Tree() { return dynamic_cast<TDockTree*>(site->DockManager()); }
  // Shows the form with the site's window made first, as the main window does.
  void ShowAll() {
    site->HandleNeeded();
    mainForm->Show();
    Pump();
  }
  TPanel* DockedPanel(const std::string& name) {
    TPanel* p = Panel(name);
    p->ManualDock(site, nullptr, alBottom);
    Pump();
    return p;
  }

  TSplitter* splitter = nullptr;
  TFrameSite* site = nullptr;
};

TEST_F(FrameSiteTest, ChildrenParentedBeforeTheWindowAreDockedLastFirstTopToBottom) {
  MakeSite(alRight, 1);
  EXPECT_EQ(site->Width(), 320);
  EXPECT_TRUE(site->DockSite());
  TPanel* first = Panel("First");
  TPanel* second = Panel("Second");
  TPanel* third = Panel("Third");
  TPanel* plain = Panel("Plain");
  plain->SetDragKind(dkDrag); // not dockable: stays a plain child
  for (TPanel* p : {first, second, third, plain})
    p->SetParent(site);
  ShowAll();
  ASSERT_NE(dynamic_cast<TDockTreeZel*>(site->DockManager()), nullptr);
  EXPECT_EQ(site->DockClientCount(), 3);
  EXPECT_EQ(site->DockClients(0), third);
  EXPECT_EQ(plain->HostDockSite(), nullptr);
  // Stacked from the top: the last child first, each below the one before.
  EXPECT_LT(third->Top(), second->Top());
  EXPECT_LT(second->Top(), first->Top());
  EXPECT_EQ(third->Left(), first->Left());
  EXPECT_EQ(first->FloatingDockSiteClass(), &TCustomDockFormZel::StaticClass());
  EXPECT_FALSE(site->Collapsed());
}

TEST_F(FrameSiteTest, CollapsesWhenEmptyAndSizesThePreviewToTheFormerWidth) {
  struct Case {
    int width;   // the site's width before it collapses
    int preview; // the preview width while collapsed
  } cases[] = {{193, 193}, {20, 30}, {500, 400}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    TearDown();
    SetUp();
    MakeSite();
    site->SetWidth(c.width);
    ShowAll();
    TPanel* p = DockedPanel("Only");
    EXPECT_FALSE(site->Collapsed());
    EXPECT_TRUE(splitter->Visible());
    p->ManualDock(nullptr); // floats
    Pump();
    ASSERT_TRUE(site->Collapsed());
    EXPECT_EQ(site->Width(), 0);
    EXPECT_FALSE(splitter->Visible());
    EXPECT_EQ(site->ExpandedWidth(), c.width);
    // The preview, wherever the framework put it, takes the width the site
    // will have, ending at its right edge.
    TDragDockObject drag(p);
    drag.SetDockRect(RECT{700, 100, 700, 300});
    bool accept = true;
    site->DockOver(&drag, 0, 0, dsDragMove, accept);
    EXPECT_TRUE(accept);
    EXPECT_EQ(drag.DockRect(), (RECT{700 - c.preview, 100, 700, 300}));
    // Dropped there: the site takes the preview's width at the right edge,
    // the splitter comes back beside it.
    site->DockDrop(&drag, 0, 0);
    Pump();
    EXPECT_EQ(p->HostDockSite(), site);
    EXPECT_FALSE(site->Collapsed());
    EXPECT_EQ(site->Width(), c.preview);
    EXPECT_EQ(site->Left() + site->Width(), mainForm->ClientWidth());
    EXPECT_TRUE(splitter->Visible());
    EXPECT_EQ(splitter->Left() + splitter->Width(), site->Left());
  }
}

// A dock tree that counts the forced layouts it is asked for.
class TCountingTree : public TDockTreeZel {
public:
  using TDockTreeZel::TDockTreeZel;
  void ResetBounds(bool force) override {
    if (force) ++Forced;
    TDockTreeZel::ResetBounds(force);
  }
  static inline int Forced = 0;
};

TEST_F(FrameSiteTest, SiteUpdatesResetTheLayoutAtMostOncePerTick) {
  DefaultDockTreeClass() = [](TWinControl* s) { return std::make_unique<TCountingTree>(s); };
  MakeSite(alRight, 0);
  ShowAll();
  ASSERT_NE(dynamic_cast<TCountingTree*>(site->DockManager()), nullptr);
  DockedPanel("A");
  AdvanceTime(1);
  const int before = TCountingTree::Forced;
  site->Perform(WM_SITEUPDATE, 0, 0);
  site->Perform(WM_SITEUPDATE, 0, 0);
  site->Perform(WM_SITEUPDATE, 1, 0); // not the site's own message
  EXPECT_EQ(TCountingTree::Forced, before + 1);
  AdvanceTime(1);
  site->Perform(WM_SITEUPDATE, 0, 0);
  EXPECT_EQ(TCountingTree::Forced, before + 2);
}

TEST_F(FrameSiteTest, ActionBarsAreRefused) {
  MakeSite();
  ShowAll();
  auto* bar = new TActionToolBar(mainForm);
  TDragDockObject drag(bar);
  bool accept = true;
  site->DockOver(&drag, 5, 5, dsDragMove, accept);
  EXPECT_FALSE(accept);
  TPanel* p = Panel("P");
  TDragDockObject panelDrag(p);
  accept = true;
  site->DockOver(&panelDrag, 5, 5, dsDragMove, accept);
  EXPECT_TRUE(accept);
}

TEST_F(FrameSiteTest, ADockStyleChangeRebuildsTheManagerAndKeepsTheArrangement) {
  MakeSite(alRight, 0);
  ShowAll();
  ASSERT_NE(dynamic_cast<TDockTreeZel*>(site->DockManager()), nullptr); // the unit's default
  TPanel* a = DockedPanel("A");
  TPanel* b = DockedPanel("B");
  ASSERT_LT(a->Top(), b->Top());
  site->SetDockStyle(2);
  Pump();
  EXPECT_EQ(dynamic_cast<TDockTreeZel*>(site->DockManager()), nullptr);
  ASSERT_NE(dynamic_cast<TDockTree*>(site->DockManager()), nullptr);
  EXPECT_EQ(a->HostDockSite(), site);
  EXPECT_EQ(b->HostDockSite(), site);
  EXPECT_LT(a->Top(), b->Top());
  EXPECT_EQ(a->FloatingDockSiteClass(), &TCustomDockForm::StaticClass());
  site->SetDockStyle(1);
  Pump();
  EXPECT_NE(dynamic_cast<TDockTreeZel*>(site->DockManager()), nullptr);
  EXPECT_LT(a->Top(), b->Top());
  EXPECT_EQ(b->FloatingDockSiteClass(), &TCustomDockFormZel::StaticClass());
}

TEST_F(FrameSiteTest, SiteStreamsKeepTheSizeAcrossTheAlignmentAndSurviveDamage) {
  MakeSite(alRight);
  site->SetWidth(210);
  ShowAll();
  DockedPanel("A");
  TPanel* nameless = Panel("");
  nameless->ManualDock(site, nullptr, alBottom); // saved as a zone without a name
  Pump();
  TMemoryStream m;
  site->SaveToStream(&m);
  ASSERT_GE(m.Size(), 12);
  m.SetPosition(m.Size() - 12);
  EXPECT_EQ(m.ReadI32(), TFrameSite::StreamMarker);
  EXPECT_EQ(m.ReadI32(), 210);
  EXPECT_EQ(m.ReadI32(), -1);

  // Read back by a site aligned to the top: its size stays.
  auto* top = new TFrameSite(mainForm);
  top->SetAlign(alTop);
  top->SetParent(mainForm);
  top->HandleNeeded();
  const RECT before = top->BoundsRect();
  m.SetPosition(0);
  top->LoadFromStream(&m);
  EXPECT_EQ(m.Position(), m.Size());
  EXPECT_EQ(top->BoundsRect(), before);
  // A site of its own alignment takes the width; sizes alone load too.
  site->SetWidth(150);
  m.SetPosition(0);
  site->LoadFromStream(&m);
  EXPECT_EQ(site->Width(), 210);
  EXPECT_EQ(nameless->HostDockSite(), site); // kept docked, not floated as unknown
  TMemoryStream sizes;
  sizes.WriteI32(TFrameSite::StreamMarker);
  sizes.WriteI32(180);
  sizes.WriteI32(999);
  sizes.SetPosition(0);
  site->LoadFromStream(&sizes);
  EXPECT_EQ(site->Width(), 180);
  // A width beyond the screen (a damaged file) is cut to the screen's.
  sizes.SetPosition(4);
  sizes.WriteI32(0x200000);
  sizes.SetPosition(0);
  site->LoadFromStream(&sizes);
  EXPECT_EQ(site->Width(), 1024);
  site->LoadFromStream(nullptr);

  // Every shorter stream fails with the stream set back.
  const std::string bytes(reinterpret_cast<const char*>(m.Memory()), size_t(m.Size()));
  for (size_t n = 1; n + 12 < bytes.size(); ++n) {
    TMemoryStream cut;
    cut.WriteChars(std::string_view(bytes).substr(0, n));
    cut.SetPosition(0);
    EXPECT_THROW(site->LoadFromStream(&cut), Exception) << n;
    EXPECT_EQ(cut.Position(), 0) << n;
  }
}

} // namespace
} // namespace zel::test
