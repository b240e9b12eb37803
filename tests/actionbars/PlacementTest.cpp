// The bars' placement records: the bytes written for each kind of parent,
// the round trips back into a control bar and a floating form, and every
// record that is refused with the stream left where it was.

#include <utility>

#include "framework/core/Streams.h"
#include "framework/docking/DragDock.h"
#include "platform/user/SystemParams.h"
#include "tests/actionbars/ZelTestSupport.h"

namespace zel {
namespace {

using namespace zeltest;

class PlacementTest : public ZelBarsFixture {
protected:
  void SetUp() override {
    ZelBarsFixture::SetUp();
    AddItem(ToolItems(), Action("Выход", 0), false);
    AddItem(MenuItems(), Action("Файлы"));
    Show();
  }
  std::string Bytes(TMemoryStream& s) {
    std::string out(size_t(s.Size()), '\0');
    s.SetPosition(0);
    s.ReadBuffer(out.data(), s.Size());
    return out;
  }
  static std::string I32(int32_t v) {
    std::string out;
    for (int i = 0; i < 4; ++i)
      out += char(uint32_t(v) >> (8 * i) & 0xFF);
    return out;
  }
};

TEST_F(PlacementTest, ADockedBarWritesItsControlBarAndComesBackToItsBounds) {
  TMemoryStream s;
  toolBar->SaveToStream(s);
  const std::string expected = std::string("Zel0") + '\x01' + '\x01' + std::string("\x0B\x00", 2) +
                               "ControlBar1" + I32(toolBar->Left()) + I32(toolBar->Top()) +
                               I32(toolBar->Width()) + I32(toolBar->Height());
  EXPECT_EQ(Bytes(s), expected);

  // Elsewhere, hidden: the load puts it back into the control bar, visible.
  const sys::RECT before = toolBar->BoundsRect();
  toolBar->SetParent(form);
  toolBar->SetVisible(false);
  s.SetPosition(0);
  toolBar->LoadFromStream(s);
  EXPECT_EQ(s.Position(), s.Size());
  EXPECT_EQ(toolBar->Parent(), controlBar);
  EXPECT_TRUE(toolBar->Visible());
  EXPECT_EQ(toolBar->Width(), before.Width());
  EXPECT_EQ(toolBar->Height(), before.Height());
}

TEST_F(PlacementTest, AFloatingBarFloatsAgainInAFormLargerByTheSmallCaption) {
  ASSERT_TRUE(menuBar->ManualFloat(sys::RECT{300, 200, 500, 240}));
  app->ProcessMessages();
  auto* host = dynamic_cast<TCustomDockForm*>(menuBar->Parent());
  ASSERT_NE(host, nullptr);
  EXPECT_FALSE(host->BorderIcons().Contains(biSystemMenu)) << "a floating menu has no close box";
  TMemoryStream s;
  menuBar->SaveToStream(s);
  const std::string bytes = Bytes(s);
  const std::string name = host->ClassName();
  ASSERT_EQ(bytes.substr(0, 6), std::string("Zel0") + '\x01' + '\x00');
  EXPECT_EQ(bytes.substr(8, name.size()), name);
  EXPECT_EQ(bytes.substr(8 + name.size(), 8), I32(host->Left()) + I32(host->Top()));

  // Docked back, then the record floats it again at the saved place.
  const int savedLeft = host->Left(), savedTop = host->Top();
  ASSERT_TRUE(menuBar->ManualDock(controlBar));
  app->ProcessMessages();
  ASSERT_EQ(menuBar->Parent(), controlBar);
  s.SetPosition(0);
  menuBar->LoadFromStream(s);
  app->ProcessMessages();
  auto* again = dynamic_cast<TCustomDockForm*>(menuBar->Parent());
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->Left(), savedLeft);
  EXPECT_EQ(again->Top(), savedTop);
  // The bar has its saved size again: saved once more, the same record.
  TMemoryStream resaved;
  menuBar->SaveToStream(resaved);
  EXPECT_EQ(Bytes(resaved), bytes);
  EXPECT_FALSE(again->BorderIcons().Contains(biSystemMenu));

  // A record of a docked bar docks the floating bar back by name.
  TMemoryStream docked;
  toolBar->SaveToStream(docked);
  docked.SetPosition(0);
  menuBar->LoadFromStream(docked);
  app->ProcessMessages();
  EXPECT_EQ(menuBar->Parent(), controlBar);
  EXPECT_FALSE(menuBar->Floating());
}

// A floating bar comes back as it was saved: in a form at the same place,
// also against the screen's bottom-right corner (the form is fitted on the
// screen with its real size, not the size the record's bar size and the
// small caption suggest), and closed when its form was closed (no empty
// form shows); saved again, the record is the same.  Each load starts from
// the bar docked and visible, as at the program's start.
TEST_F(PlacementTest, AFloatingBarComesBackAsItWasSaved) {
  sys::RECT work{};
  sys::SystemParametersInfo(sys::SPI_GETWORKAREA, 0, &work, 0);
  const struct {
    bool menu, inCorner, closed;
  } cases[] = {{true, true, false}, {false, true, false}, {false, false, true}, {true, true, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.menu ? "menu" : "tools") + (c.inCorner ? " corner" : "") +
                 (c.closed ? " closed" : ""));
    TCustomActionDockBar* bar = c.menu ? static_cast<TCustomActionDockBar*>(menuBar) : toolBar;
    IBarPlacement* placement = c.menu ? static_cast<IBarPlacement*>(menuBar) : toolBar;
    ASSERT_TRUE(bar->ManualFloat(sys::RECT{300, 200, 500, 240}));
    app->ProcessMessages();
    auto* host = dynamic_cast<TCustomDockForm*>(bar->Parent());
    ASSERT_NE(host, nullptr);
    if (c.inCorner)
      host->SetBounds(work.right - host->Width(), work.bottom - host->Height(), host->Width(),
                      host->Height());
    if (c.closed) host->Close();
    app->ProcessMessages();
    const sys::RECT saved = host->BoundsRect();
    TMemoryStream s;
    placement->SaveToStream(s);
    ASSERT_TRUE(bar->ManualDock(controlBar));
    bar->SetVisible(true);
    app->ProcessMessages();
    s.SetPosition(0);
    placement->LoadFromStream(s);
    app->ProcessMessages();
    auto* again = dynamic_cast<TCustomDockForm*>(bar->Parent());
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->BoundsRect(), saved);
    EXPECT_EQ(again->Visible(), !c.closed);
    EXPECT_EQ(bar->Visible(), !c.closed);
    TMemoryStream resaved;
    placement->SaveToStream(resaved);
    EXPECT_EQ(Bytes(resaved), Bytes(s));
    ASSERT_TRUE(bar->ManualDock(controlBar));
    bar->SetVisible(true);
    app->ProcessMessages();
  }
}

TEST_F(PlacementTest, EnableCloseFollowsTheBarIntoEveryFloatingForm) {
  toolBar->SetEnableClose(false); // docked: nothing to change yet
  ASSERT_TRUE(toolBar->ManualFloat(sys::RECT{300, 200, 400, 240}));
  auto* host = dynamic_cast<TCustomDockForm*>(toolBar->Parent());
  ASSERT_NE(host, nullptr);
  EXPECT_FALSE(host->BorderIcons().Contains(biSystemMenu));
  toolBar->SetEnableClose(true);
  EXPECT_TRUE(host->BorderIcons().Contains(biSystemMenu));
}

TEST_F(PlacementTest, ABarWithoutParentWritesNoName) {
  auto* loose = new TGradientActionToolBar(form);
  TMemoryStream s;
  loose->SaveToStream(s);
  EXPECT_EQ(Bytes(s).substr(0, 6), std::string("Zel0") + '\x01' + '\xFF');
  EXPECT_EQ(s.Size(), 6 + 16);
}

TEST_F(PlacementTest, RefusedRecordsLeaveTheStreamWhereItWasAndTheBarAsItIs) {
  TMemoryStream good;
  toolBar->SaveToStream(good);
  const std::string record = Bytes(good);
  std::string wideBar = record;
  wideBar.replace(wideBar.size() - 8, 4, I32(1 << 20));
  std::string unknownKind = record, otherKind = record, noWidth = record;
  unknownKind[5] = '\x07';
  otherKind[5] = '\x02';
  noWidth.replace(noWidth.size() - 8, 4, I32(0));
  const std::string inMenuBar = record.substr(0, 6) + std::string("\x08\x00", 2) + "MenuBar1" +
                                record.substr(record.size() - 16);
  const struct {
    const char* what;
    std::string bytes;
    std::string message;
  } cases[] = {
      {"signature", "Zxl0" + record.substr(4), "Ошибочный формат данных"},
      {"version", "Zel1" + record.substr(4), "Версия \"1\" не поддерживается"},
      {"cut short", record.substr(0, record.size() - 3), ""},
      {"name past the end", record.substr(0, 6) + std::string("\xFF\xFF", 2) + "Cont", ""},
      {"a bar a million pixels wide", wideBar, "Ошибочный формат данных"},
      {"unknown parent kind", unknownKind, "Ошибочный формат данных"},
      {"a parent neither control bar nor floating form", otherKind, "Ошибочный формат данных"},
      {"a control bar's name given to a bar", inMenuBar, "Ошибочный формат данных"},
      {"a bar of no width", noWidth, "Ошибочный формат данных"},
  };
  const sys::RECT before = toolBar->BoundsRect();
  for (const auto& c : cases) {
    TMemoryStream s;
    s.WriteChars("ab"); // the record starts after other sections
    s.WriteChars(c.bytes);
    s.SetPosition(2);
    try {
      toolBar->LoadFromStream(s);
      ADD_FAILURE() << c.what << ": accepted";
    } catch (const EReadError& e) {
      if (!c.message.empty()) {
        EXPECT_EQ(e.Message(), c.message) << c.what;
      }
    }
    EXPECT_EQ(s.Position(), 2) << c.what;
    EXPECT_EQ(toolBar->BoundsRect(), before) << c.what;
  }
  // Fewer than four bytes: nothing is read at all.
  TMemoryStream shortStream;
  shortStream.WriteChars("Zel");
  shortStream.SetPosition(0);
  toolBar->LoadFromStream(shortStream);
  EXPECT_EQ(shortStream.Position(), 0);
}

} // namespace
} // namespace zel
