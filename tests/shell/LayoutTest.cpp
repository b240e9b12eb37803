// The layout file as a person meets it: what they change in one run is
// there in the next; a damaged or foreign file is deleted, the window keeps
// what the sections before the damage gave it and the run's close writes a
// fresh file; a start that died while loading costs the next start nothing
// but the arrangement, which is set aside; a folder that cannot be written
// keeps its previous file and the program still ends cleanly.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "docking/UnitFrameSite.h"
#include "framework/actions/StdActns.h"
#include "framework/actnbars/ActnColorMaps.h"
#include "framework/stdctrls/ColorBox.h"
#include "framework/stdctrls/ControlBar.h"
#include "framework/stdctrls/Label.h"
#include "framework/stdctrls/TrackBar.h"
#include "framework/stdctrls/ValueListEditor.h"
#include "imagelist/ImageListZel.h"
#include "platform/resource/Resource.h"
#include "platform/user/User.h"
#include "speedbutton/SpeedButtonZel.h"
#include "tests/shell/LayoutTestSupport.h"

namespace zel::test {
namespace {

using namespace sys;

std::string Str8(const std::string& s) {
  return std::string(1, char(s.size())) + s;
}

// The main window's record as the layout file ends with it.
std::string WindowRecord(char version, int32_t l, int32_t t, int32_t w, int32_t h,
                         uint8_t maximized, uint16_t length) {
  std::string r(1, version);
  for (int32_t v : {l, t, w, h})
    for (int i = 0; i < 4; ++i)
      r += char(uint32_t(v) >> (8 * i));
  r += char(maximized);
  r += char(length & 0xFF);
  r += char(length >> 8);
  return r + "ZelW";
}

std::string ExecutableName() {
  return std::filesystem::path(GetModuleFileName(nullptr)).filename().string();
}

class LayoutTest : public LayoutSessionTest {
protected:
  TFrameColorMap* Editor() { return form->ColorMapFrame(); }
  void DragThumbTo(int position) {
    TTrackBar* bar = Editor()->TrackBar1;
    const RECT thumb = bar->ThumbRect();
    const int y = (thumb.top + thumb.bottom) / 2;
    Drag(bar->ClientToScreen(POINT{(thumb.left + thumb.right) / 2, y}),
         bar->ClientToScreen(POINT{bar->PositionToPixel(position), y}));
  }
  // The "Color" row of the grid set to a named colour through its drop-down.
  void ChooseMapColor(const std::string& colorName) {
    TValueListEditor* grid = Editor()->ValueListEditor1;
    int row = -1;
    ASSERT_TRUE(grid->FindRow("Color", row));
    const RECT cell = grid->CellRect(1, row);
    ClickAt(grid, cell.left + 10, (cell.top + cell.bottom) / 2);
    TColorBox* box = Editor()->ColorEditor();
    ASSERT_TRUE(box && box->Visible());
    ClickOn(box);
    TComboListWindow* list = box->ListWindow();
    ASSERT_TRUE(list && box->DroppedDown());
    const int index = box->Items()->IndexOf(colorName);
    list->SetHotIndex(index);
    const RECT item = list->ItemRect(index);
    ClickAt(list, item.left + 20, (item.top + item.bottom) / 2);
    Settle();
  }
  TCustomDockFormZel* FloatingEditorForm() {
    return dynamic_cast<TCustomDockFormZel*>(Editor()->HostDockSite());
  }
  RECT BoundsOf(TControl* c) {
    return RECT{c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height()};
  }
};

// Three runs.  The first changes the glyph size, the map, one of its
// colours, the docking and the main window's place and size by mouse and
// quits with Alt+X; the second finds all of it, docks the editor back
// without touching the glyph size, maximises the window and closes; the
// third finds the editor docked again and the window maximised, and its
// restore button gives the size made in the first run.
TEST_F(LayoutTest, WhatAPersonChangesComesBackInTheNextRuns) {
  Start();
  EXPECT_FALSE(LayoutExists());
  ASSERT_TRUE(form->Started());
  DragThumbTo(32);
  ClickOn(Editor()->SpeedButtonZel2);
  ASSERT_TRUE(Editor()->actXPColorMap->Checked());
  ChooseMapColor("Кремовый");
  ASSERT_EQ(form->ControlBar1->Color(), clCream);
  ClickOn(Editor()->SpeedButtonZel4); // gradient off: the bars show the map's colour
  EXPECT_EQ(form->ActionManager1->StyleName(), "Zel Style"); // the map kept the style
  Drag(form->FrameSite1->ClientToScreen(POINT{60, 5}), form->ClientToScreen(POINT{150, 200}));
  ASSERT_NE(FloatingEditorForm(), nullptr);
  const RECT floatingBounds = BoundsOf(FloatingEditorForm());
  // The main window dragged by its caption to (20, 10), then made 962 x 722
  // by its bottom right corner.
  RECT wr{};
  GetWindowRect(form->Handle(), &wr);
  Drag(POINT{wr.left + 200, wr.top + 12}, POINT{20 + 200, 10 + 12});
  Drag(POINT{20 + wr.Width() - 2, 10 + wr.Height() - 2}, POINT{20 + 962 - 2, 10 + 722 - 2});
  const RECT made{20, 10, 20 + 962, 10 + 722};
  ASSERT_EQ(form->BoundsRect(), made);
  QuitWithAltX();
  ASSERT_TRUE(LayoutExists());
  const std::string first = ReadBytes(layout);

  Start();
  EXPECT_TRUE(LayoutExists());
  EXPECT_EQ(form->LayoutFileName(), layout.string());
  EXPECT_TRUE(form->Started()); // a loaded layout also finishes start-up
  EXPECT_EQ(form->ImageListZel1->Width(), 32);
  EXPECT_EQ(Editor()->TrackBar1->Position(), 32);
  EXPECT_EQ(Editor()->lSize->Caption(), "32");
  ASSERT_GT(form->GradientActionMainMenuBar1->ActionControlCount(), 0);
  EXPECT_EQ(form->ControlBar1->RowSize(),
            form->GradientActionMainMenuBar1->ActionControls(0)->Height() + 6);
  EXPECT_TRUE(Editor()->actXPColorMap->Checked());
  EXPECT_EQ(form->ActionManager1->StyleName(), "Zel Style");
  EXPECT_EQ(Editor()->sbStyle->Caption(), "Стиль: Zel Style");
  EXPECT_EQ(Editor()->XPColorMap1->Color(), clCream);
  EXPECT_EQ(form->ControlBar1->Color(), clCream);
  EXPECT_EQ(form->GradientActionToolBar1->ColorMap(), Editor()->XPColorMap1);
  ASSERT_NE(FloatingEditorForm(), nullptr);
  const RECT again = BoundsOf(FloatingEditorForm());
  EXPECT_EQ(again.left, floatingBounds.left);
  EXPECT_EQ(again.top, floatingBounds.top);
  EXPECT_EQ(again.right, floatingBounds.right);
  EXPECT_EQ(again.bottom, floatingBounds.bottom);
  EXPECT_TRUE(form->FrameSite1->Collapsed());
  EXPECT_EQ(form->BoundsRect(), made);
  TCustomDockFormZel* floating = FloatingEditorForm();
  GetWindowRect(floating->Handle(), &wr);
  const TDockCaptionRects g = floating->GetCaptionRects();
  // The main menu bar is painted in the loaded map colour, without the gradient.
  EXPECT_FALSE(Editor()->actGradient->Checked());
  TControl* menu = form->GradientActionMainMenuBar1;
  const POINT inMenu = menu->ClientToScreen(POINT{menu->Width() - 5, 3});
  EXPECT_EQ(screen->ScreenPixel(inMenu.x, inMenu.y), COLORREF(ColorToRGB(clCream)));
  // The floating form paints its own caption where it was left.
  EXPECT_EQ(screen->ScreenPixel(wr.left + g.Caption.left + 30, wr.top + g.Caption.top + 1),
            COLORREF(ColorToRGB(floating->Active() ? clActiveCaption : clInactiveCaption)));
  Picture("shell_layout_second_run");
  Drag(POINT{wr.left + g.Caption.left + 40, wr.top + g.Caption.top + 4},
       form->FrameSite1->ClientToScreen(POINT{-3, 150}));
  ASSERT_EQ(Editor()->HostDockSite(), form->FrameSite1);
  ClickCaptionButton(form->Handle(), HTMAXBUTTON);
  ASSERT_EQ(form->WindowState(), wsMaximized);
  // This run ends by a terminate signal with the "Окно" menu open.
  ClickOn(ControlOf(form->actWindows));
  ASSERT_NE(ControlOf(form->WindowCascade1), nullptr);
  const int sessions = form->ActionManager1->ActionBars()->SessionCount();
  EndSession();
  EXPECT_EQ(form->ActionManager1->ActionBars()->SessionCount(), sessions + 1); // one close
  const std::string second = ReadBytes(layout);

  Start();
  EXPECT_EQ(Editor()->HostDockSite(), form->FrameSite1);
  EXPECT_FALSE(form->FrameSite1->Collapsed());
  EXPECT_EQ(form->ImageListZel1->Width(), 32);
  EXPECT_EQ(Editor()->XPColorMap1->Color(), clCream);
  EXPECT_EQ(form->WindowState(), wsMaximized);
  ClickCaptionButton(form->Handle(), HTMAXBUTTON);
  EXPECT_EQ(form->WindowState(), wsNormal);
  EXPECT_EQ(form->BoundsRect(), made);
  Close();
  const std::string third = ReadBytes(layout);
  // Written back unchanged, the editor's settings and the docking are the
  // same bytes; the bars were as wide as the maximised window at the second
  // close; the configuration's session count moves on, and the window's
  // record says maximised no more.
  const std::array<std::string, 7> sections = Sections();
  ASSERT_EQ(third, sections[0] + sections[1] + sections[2] + sections[3] + sections[4] +
                       sections[5] + sections[6]);
  ASSERT_EQ(third.size(), second.size());
  const size_t bars = sections[0].size() + sections[1].size() + sections[2].size();
  const size_t head = third.size() - sections[5].size() - sections[6].size();
  EXPECT_EQ(third.substr(0, sections[0].size()), second.substr(0, sections[0].size()));
  EXPECT_NE(third.substr(0, bars), second.substr(0, bars));
  EXPECT_EQ(third.substr(bars, head - bars), second.substr(bars, head - bars));
  EXPECT_NE(third.substr(head), second.substr(head));
  // The editor's settings and the bars in the window of the first run's size
  // did not change from the first run on, the docking did.
  EXPECT_EQ(first.substr(0, bars), third.substr(0, bars));
  EXPECT_NE(first.substr(bars, head - bars), third.substr(bars, head - bars));
}

// Ten runs with hiding on, in each of which "Файлы" → "Новая форма" is the
// only thing used: the menu bar keeps its three titles (a use of an item
// counts for its menu), "Окно" hides its commands behind the expand button,
// the tool bar keeps its one button, and switching hiding off shows all.
TEST_F(LayoutTest, HidingUnusedItemsOverManyRunsNeverEmptiesABar) {
  TGradientActionMainMenuBar* menu = nullptr;
  for (int run = 0; run < 10; ++run) {
    Start();
    if (run == 0) ClickOn(Editor()->sbHideUnused);
    ASSERT_TRUE(Editor()->actHideUnused->Checked());
    menu = form->GradientActionMainMenuBar1;
    ASSERT_EQ(menu->ActionControlCount(), 3) << "run " << run;
    ClickOn(menu->ActionControls(0));
    ASSERT_NE(ControlOf(form->actNewForm), nullptr) << "run " << run;
    ClickOn(ControlOf(form->actNewForm));
    QuitWithAltX();
  }
  Start();
  menu = form->GradientActionMainMenuBar1;
  ASSERT_EQ(menu->ActionControlCount(), 3);
  EXPECT_EQ(form->GradientActionToolBar1->ActionControlCount(), 1);
  ClickOn(menu->ActionControls(1)); // "Окно"
  TCustomActionPopupMenu* popup = menu->Popup();
  ASSERT_NE(popup, nullptr);
  const int hiding = popup->ActionControlCount();
  EXPECT_TRUE(popup->ActionControls(hiding - 1)->InheritsFrom(TCustomMenuExpandBtn::StaticClass()));
  EXPECT_EQ(ControlOf(form->WindowCascade1), nullptr);
  ClickOn(popup->ActionControls(hiding - 1));
  EXPECT_NE(ControlOf(form->WindowCascade1), nullptr);
  EXPECT_GT(popup->ActionControlCount(), hiding);
  ClickOn(Editor()->sbHideUnused); // closes the menu; off, everything shows
  EXPECT_FALSE(Editor()->actHideUnused->Checked());
  ClickOn(menu->ActionControls(1));
  ASSERT_NE(menu->Popup(), nullptr);
  EXPECT_NE(ControlOf(form->WindowCascade1), nullptr);
  Close();
}

// The bars of the control bar come back in the rows and places they were
// saved in: the tool bar alone in the first row, further right, the menu bar
// in the second (read back one by one, the menu bar left the first row,
// which closed up, and the tool bar then found it taken: they swapped, and
// were saved so).  Loaded, saved, loaded and saved again, the bar sections
// are the same bytes.
TEST_F(LayoutTest, TheBarsComeBackInTheirSavedRows) {
  Start();
  TControlBar* bar = form->ControlBar1;
  TControl* tools = form->GradientActionToolBar1;
  bar->DisableAlign();
  tools->SetBounds(400, 2, tools->Width(), tools->Height());
  form->GradientActionMainMenuBar1->SetTop(bar->RowSize() + 2);
  bar->EnableAlign();
  Settle();
  ASSERT_EQ(bar->BandRow(tools), 0);
  ASSERT_EQ(bar->BandRow(form->GradientActionMainMenuBar1), 1);
  const POINT toolsAt{tools->Left(), tools->Top()};
  Close();
  std::array<std::string, 7> saved;
  for (int run = 2; run <= 3; ++run) {
    SCOPED_TRACE(run);
    Start();
    bar = form->ControlBar1;
    tools = form->GradientActionToolBar1;
    EXPECT_EQ(bar->BandRow(tools), 0);
    EXPECT_EQ(bar->BandRow(form->GradientActionMainMenuBar1), 1);
    EXPECT_EQ(tools->Left(), toolsAt.x);
    EXPECT_EQ(tools->Top(), toolsAt.y);
    Close();
    const std::array<std::string, 7> written = Sections();
    if (run == 3) {
      EXPECT_EQ(written[1], saved[1]);
      EXPECT_EQ(written[2], saved[2]);
    }
    saved = written;
  }
}

// The main menu, as wide as the control bar, put far right in a narrow
// window, stays inside the control bar, and so does it when the layout is
// read back into the next run's wider window.
TEST_F(LayoutTest, TheMenuBarPutFarRightStaysInsideTheControlBar) {
  Start();
  form->SetWidth(480);
  Settle();
  TControlBar* bar = form->ControlBar1;
  TControl* menu = form->GradientActionMainMenuBar1;
  menu->SetLeft(300);
  Settle();
  EXPECT_EQ(bar->BandRect(menu).left, 0);
  EXPECT_LE(menu->BoundsRect().right, bar->ClientWidth());
  Close();
  Start();
  bar = form->ControlBar1;
  menu = form->GradientActionMainMenuBar1;
  EXPECT_EQ(bar->BandRect(menu).left, 0);
  EXPECT_LE(bar->BandRect(menu).right, bar->ClientWidth());
  EXPECT_LE(menu->BoundsRect().right, bar->ClientWidth());
  Close();
}

// A file saved with a glyph size of 16, the tool bar floating and the main
// window at 962 x 722, taken apart by section and put together again damaged
// in a table of ways.  The window's own record after the sections is
// optional: without it, or with it damaged, the rest loads and the window
// keeps the size it was made with; one larger than the screen is fitted.
TEST_F(LayoutTest, DamagedOrForeignFilesAreDeletedKeepingWhatTheEarlierSectionsGave) {
  Start();
  const RECT made = form->BoundsRect(); // the size each run makes the window
  Editor()->TrackBar1->SetPosition(16);
  Settle();
  ASSERT_EQ(form->ImageListZel1->Width(), 16);
  ASSERT_TRUE(form->GradientActionToolBar1->ManualFloat(RECT{400, 300, 480, 340}));
  form->SetBounds(30, 20, 962, 722);
  Settle();
  Close();
  const std::string saved = ReadBytes(layout);
  const std::array<std::string, 7> s = Sections();
  // The file is the six sections in order and the window's record, nothing
  // before, between or after.
  ASSERT_EQ(saved, s[0] + s[1] + s[2] + s[3] + s[4] + s[5] + s[6]);
  ASSERT_EQ(s[0].substr(0, 1 + ExecutableName().size()), Str8(ExecutableName()));
  ASSERT_EQ(s[3].substr(0, 4), std::string("\3\0\0\0", 4));
  // The floating tool bar is written with parent kind 0 and its form's class.
  ASSERT_EQ(s[2].substr(0, 6), std::string("Zel0\1\0", 6));
  ASSERT_EQ(s[6], WindowRecord('0', 30, 20, 962, 722, 0, 24));

  // Loaded and written back unchanged: the same first five sections.
  const size_t head = saved.size() - s[5].size() - s[6].size();
  Start();
  EXPECT_EQ(form->ImageListZel1->Width(), 16);
  Close();
  EXPECT_EQ(ReadBytes(layout).substr(0, head), saved.substr(0, head));

  const std::string tail = s[1] + s[2] + s[3] + s[4] + s[5];
  const std::string upTo4 = s[0] + s[1] + s[2] + s[3];
  const std::string sections = upTo4 + s[4] + s[5];
  std::string version13 = s[3], version4 = s[3];
  version13.replace(0, 4, std::string("\3\0\1\0", 4));
  version4.replace(0, 4, std::string("\4\0\0\0", 4));
  std::string foreign = saved;
  foreign.replace(0, 1 + ExecutableName().size(), Str8("Demo.exe"));
  const RECT saved962{30, 20, 992, 742};
  const RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};

  struct TCase {
    const char* Name;
    std::string Bytes;
    bool Loaded;
    int GlyphSize;
    bool ToolBarFloating;
    RECT Window; // the normal bounds the window shows with
    bool Maximized = false;
  };
  const TCase cases[] = {
      {"as saved", saved, true, 16, true, saved962},
      {"a zero glyph size ends section 1", Str8(ExecutableName()) + '\0' + tail, true, 24, true,
       made},
      {"float-tree version 0x00010003", s[0] + s[1] + s[2] + version13 + s[4] + s[5], true, 16,
       true, made},
      {"float-tree version 4", s[0] + s[1] + s[2] + version4 + s[4] + s[5], false, 16, true, made},
      {"cut inside section 5", upTo4 + s[4].substr(0, s[4].size() / 2), false, 16, true, made},
      {"cut before section 6", upTo4 + s[4], false, 16, true, made},
      {"written by another executable", foreign, false, 24, false, made},
      {"empty", "", false, 24, false, made},
      {"the window's record maximised", sections + WindowRecord('0', 30, 20, 962, 722, 1, 24), true,
       16, true, saved962, true},
      {"the window's record larger than the screen",
       sections + WindowRecord('0', -500, 40, 5000, 4000, 0, 24), true, 16, true, work},
      {"the window's record far off at the integers' end",
       sections + WindowRecord('0', INT32_MAX, INT32_MIN, 962, 722, 0, 24), true, 16, true,
       RECT{work.right - 481, 0, work.right + 481, 722}},
      {"the window's record of a later version",
       sections + WindowRecord('1', 30, 20, 962, 722, 0, 24), true, 16, true, made},
      {"the window's record of width 0", sections + WindowRecord('0', 30, 20, 0, 722, 0, 24), true,
       16, true, made},
      {"the window's record neither maximised nor not",
       sections + WindowRecord('0', 30, 20, 962, 722, 7, 24), true, 16, true, made},
      {"the window's record claiming 65535 bytes",
       sections + WindowRecord('0', 30, 20, 962, 722, 0, 0xFFFF), true, 16, true, made},
      {"the window's record cut short", sections + s[6].substr(10), true, 16, true, made},
  };
  auto normalBounds = [&] {
    WINDOWPLACEMENT wp;
    GetWindowPlacement(form->Handle(), &wp);
    return wp.rcNormalPosition;
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    WriteBytes(layout, c.Bytes);
    Start();
    EXPECT_EQ(LayoutExists(), c.Loaded);
    EXPECT_TRUE(form->Started());
    EXPECT_EQ(form->ImageListZel1->Width(), c.GlyphSize);
    EXPECT_EQ(Editor()->TrackBar1->Position(), c.GlyphSize);
    EXPECT_EQ(form->GradientActionToolBar1->Floating(), c.ToolBarFloating);
    // Without a record the window opens at a default place, at its size.
    const RECT shown = normalBounds();
    if (c.Window == made) {
      EXPECT_EQ(shown.Width(), made.Width());
      EXPECT_EQ(shown.Height(), made.Height());
    } else {
      EXPECT_EQ(shown, c.Window);
    }
    EXPECT_EQ(form->WindowState(), c.Maximized ? wsMaximized : wsNormal);
    // Whether the file was read or refused, what the person does in the
    // run is written at its close and is there in the next run.
    Editor()->TrackBar1->SetPosition(20);
    Settle();
    Close();
    ASSERT_TRUE(LayoutExists());
    Start();
    EXPECT_TRUE(LayoutExists());
    EXPECT_EQ(form->ImageListZel1->Width(), 20);
    EXPECT_EQ(form->GradientActionToolBar1->Floating(), c.ToolBarFloating);
    EXPECT_EQ(normalBounds(), shown);
    EXPECT_EQ(form->WindowState(), c.Maximized ? wsMaximized : wsNormal);
    Close();
  }
}

// Fields of the sections written by hand, little-endian.
struct TFields {
  std::string s;
  TFields& U8(uint8_t v) {
    s += char(v);
    return *this;
  }
  TFields& U16(uint16_t v) { return U8(uint8_t(v)).U8(uint8_t(v >> 8)); }
  TFields& I32(int32_t v) { return U16(uint16_t(uint32_t(v))).U16(uint16_t(uint32_t(v) >> 16)); }
  TFields& Str16(const std::string& t) {
    U16(uint16_t(t.size())).s += t;
    return *this;
  }
  TFields& Str32(const std::string& t) {
    I32(int32_t(t.size())).s += t;
    return *this;
  }
  // A bar's placement record: parent kind 0 floats, 1 names a control bar.
  static std::string Bar(uint8_t kind, const std::string& parent, int l, int t, int w, int h) {
    return "Zel0" + TFields().U8(1).U8(kind).Str16(parent).I32(l).I32(t).I32(w).I32(h).s;
  }
  // A dock tree with the given hidden clients and one zone per named client.
  static std::string Tree(const std::vector<std::string>& hidden,
                          const std::vector<std::string>& zones) {
    TFields f;
    f.I32(0x00080000).U8(0).U8(zones.size() > 1 ? 2 : 0).I32(int32_t(hidden.size()));
    for (const std::string& n : hidden)
      f.Str32(n);
    f.I32(400).I32(0).U8(zones.size() > 1 ? 2 : 0).I32(400).Str32("");
    for (const std::string& n : zones)
      f.I32(1).U8(0).I32(400).Str32(n);
    return f.I32(-1).s;
  }
  // A float tree of one placement.
  static std::string Floating(const std::string& key, int l, int t, int r, int b) {
    return TFields().I32(3).I32(24).I32(l).I32(t).I32(r).I32(b).I32(1).Str32(key).I32(-1).s;
  }
  // A configuration of one bar (or the same bar twice) holding count items
  // of the given caption.
  static std::string Configuration(const std::string& bar, int count, const std::string& caption,
                                   int times = 1) {
    TFields f;
    f.s = "ZAMC";
    f.U16(1).I32(0).I32(0).I32(times);
    for (int t = 0; t < times; ++t) {
      f.Str16(bar).U8(1).U8(0).I32(count);
      for (int i = 0; i < count; ++i)
        f.Str32(caption).Str16("").I32(-1).U16(0).U8(3).I32(0).I32(0).U8(0).I32(0).U8(0).I32(0);
      f.U8(0).I32(0);
    }
    f.s += "END.";
    return f.s;
  }
};

// Files that are well formed but name the wrong things, hold sizes no
// screen has or values that mean nothing: each is refused and deleted, or
// loaded with what is wrong left out.  Either way the window shows, the
// close writes a file that the next start loads whole.
TEST_F(LayoutTest, FilesNamingTheWrongThingsNeverStopTheProgram) {
  Start();
  const std::string editorKey = TFloatTreeZel::MakeKey(Editor()), editorName = Editor()->Name();
  Close();
  const std::array<std::string, 7> s = Sections();
  const size_t exe = ExecutableName().size();
  const size_t styleAt = exe + 3, styleLength = size_t(uint8_t(s[0][exe + 2]));
  // The first colour of the first map follows the map byte and its count.
  const size_t colorAt =
      styleAt + styleLength + 2 + 1 + size_t(uint8_t(s[0][styleAt + styleLength + 2]));
  std::string badStyle = s[0], badColor = s[0];
  badStyle[styleAt] = '\xFF';
  badColor.replace(colorAt, 4, TFields().I32(0x12345678).s);
  const std::string noTree = TFields::Tree({}, {});
  auto file = [&](size_t section, const std::string& bytes) {
    std::array<std::string, 7> f = s;
    f[section] = bytes;
    return f[0] + f[1] + f[2] + f[3] + f[4] + f[5];
  };
  auto floatingEditor = [&](int l, int t, int r, int b) {
    return s[0] + s[1] + s[2] + TFields::Floating(editorKey, l, t, r, b) + noTree + s[5];
  };
  const std::string bars = TFields::Bar(1, "GradientActionToolBar1", 0, 0, 300, 25) +
                           TFields::Bar(1, "GradientActionMainMenuBar1", 0, 0, 300, 25);
  enum TFloats { Nothing, TheEditor, TheToolBar };
  struct TCase {
    const char* Name;
    std::string Bytes;
    bool Loaded;
    TFloats Floats = Nothing;
  };
  const TCase cases[] = {
      // The sections written by hand are taken where they name the right things.
      {"a zone names the editor", file(4, TFields::Tree({}, {editorName})), true},
      {"the tool bar in the control bar", file(2, TFields::Bar(1, "ControlBar1", 0, 0, 300, 25)),
       true},
      {"menu items with UTF-8 captions",
       file(5, TFields::Configuration("GradientActionMainMenuBar1", 3, "Файл")), true},
      {"the menu bar's record twice",
       file(5, TFields::Configuration("GradientActionMainMenuBar1", 2, "Файл", 2)), true},
      {"the hidden list names the main form", file(4, TFields::Tree({"MainForm"}, {})), false},
      {"a zone names the editor's track bar", file(4, TFields::Tree({}, {"TrackBar1"})), false},
      {"a zone names the control bar", file(4, TFields::Tree({}, {"ControlBar1"})), false},
      {"the bars name each other as parent", s[0] + bars + s[3] + s[4] + s[5], false},
      {"the menu bar's parent is the dock site",
       file(1, TFields::Bar(1, "FrameSite1", 0, 0, 300, 25)), false},
      {"the menu bar's parent is of another kind",
       file(1, TFields::Bar(2, "MainForm", 0, 0, 300, 25)), false},
      {"a tool bar of width 0", file(2, TFields::Bar(1, "ControlBar1", 0, 0, 0, 25)), false},
      {"the editor floats at 100000 x 100000", floatingEditor(10, 10, 100010, 100010), true,
       TheEditor},
      {"the editor floats across the whole range",
       floatingEditor(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX), true, TheEditor},
      {"the editor floats at 1 x 1", floatingEditor(5000, 5000, 5001, 5001), true, TheEditor},
      {"the tool bar floats far off the screen",
       file(2, TFields::Bar(0, "TCustomDockFormZel", -30000, 30000, 200, 30)), true, TheToolBar},
      {"a map colour that is no colour", file(0, badColor), true},
      {"a style name that is no UTF-8", file(0, badStyle), false},
      {"an item caption that is no UTF-8",
       file(5, TFields::Configuration("GradientActionMainMenuBar1", 1, "\xD0\x28")), false},
      {"more menu items than a bar can show",
       file(5, TFields::Configuration("GradientActionMainMenuBar1", 1025, "x")), false},
  };
  const RECT screenRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  auto onScreen = [&](TControl* c) {
    RECT r = c->BoundsRect(), common{};
    return IntersectRect(common, r, screenRect) && r.Width() <= screenRect.right &&
           r.Height() <= screenRect.bottom && r.Width() >= GetSystemMetrics(SM_CXMIN);
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    WriteBytes(layout, c.Bytes);
    Start();
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(LayoutExists(), c.Loaded);
    EXPECT_EQ(form->GradientActionMainMenuBar1->Parent(), form->ControlBar1);
    EXPECT_TRUE(Editor()->TrackBar1->IsWithin(Editor()));
    // What floats floats on the screen, at a size a window can have.
    TControl* floats = c.Floats == TheEditor    ? static_cast<TControl*>(Editor())
                       : c.Floats == TheToolBar ? form->GradientActionToolBar1
                                                : nullptr;
    if (floats) {
      ASSERT_TRUE(floats->Floating());
      TWinControl* host = floats->HostDockSite();
      EXPECT_TRUE(onScreen(host)) << host->Width() << " x " << host->Height();
    }
    Close();
    // The colour passed over is written back as the map's own.
    if (c.Bytes == file(0, badColor)) {
      EXPECT_EQ(ReadBytes(layout).substr(0, s[0].size()), s[0]);
    }
    // The next start loads whatever the close left (a file it refused
    // would be gone).
    const bool left = LayoutExists();
    Start();
    EXPECT_EQ(LayoutExists(), left);
  }
}

// A folder that may not be written: the close ends the program with exit
// code 0, the previous file keeps its bytes, nothing is left beside it,
// and one line on standard error says why.
TEST_F(LayoutTest, AReadOnlyFolderKeepsThePreviousFileAndTheProgramEndsCleanly) {
  Start();
  Close();
  const std::string previous = ReadBytes(layout);
  ASSERT_FALSE(previous.empty());

  Start();
  ASSERT_TRUE(form->Started());
  DragThumbTo(28);
  std::filesystem::permissions(
      folder.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec |
                         std::filesystem::perms::others_read | std::filesystem::perms::others_exec);
  // Permissions do not bind the super-user: the close then runs as nobody.
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::seteuid(65534), 0);
  }
  ::testing::internal::CaptureStderr();
  QuitWithAltX();
  const std::string err = ::testing::internal::GetCapturedStderr();
  if (root) {
    ASSERT_EQ(::seteuid(0), 0);
  }

  EXPECT_EQ(ReadBytes(layout), previous);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                          std::filesystem::directory_iterator()),
            1);
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  EXPECT_NE(err.find("Расположение окон не сохранено"), std::string::npos) << err;
  // The reason in the same language as the line.
  EXPECT_NE(err.find("нет прав доступа"), std::string::npos) << err;
  EXPECT_EQ(err.find("Permission denied"), std::string::npos) << err;
}

// An installed program keeps its layout in a configuration folder that
// may not be there yet: the close makes it, and the parents it lacks,
// readable by the user alone, and the next start reads the file back.
TEST_F(LayoutTest, AMissingConfigurationFolderIsMadeAtTheClose) {
  layout = folder.Path() / "config" / "zel" / "zeldemo.sav";
  Start();
  DragThumbTo(28);
  Close();
  ASSERT_TRUE(LayoutExists());
  for (const auto& made : {layout.parent_path(), layout.parent_path().parent_path()})
    EXPECT_EQ(std::filesystem::status(made).permissions(), std::filesystem::perms::owner_all)
        << made;
  Start();
  EXPECT_EQ(form->ImageListZel1->Width(), 28);
  Close();
}

// A start killed while it applied the layout (here after the bars'
// sections, as a crash there would end it) leaves its mark beside the file.
// The next start finds it, sets the file aside as ".bad" with one line on
// standard error and starts with the defaults; what the person then does
// is kept as usual, and the set-aside file stays until the next one.  A
// start that is not killed has its mark while it loads and none once the
// window has painted.
TEST_F(LayoutTest, AStartKilledWhileLoadingSetsTheFileAsideForTheNextStart) {
  Start();
  DragThumbTo(16);
  Close();
  const std::string saved = ReadBytes(layout);
  ASSERT_FALSE(saved.empty());

  EXPECT_EXIT(Start([](int section) {
                if (section == 3) std::raise(SIGKILL);
              }),
              ::testing::KilledBySignal(SIGKILL), "");
  ASSERT_TRUE(std::filesystem::exists(mark));
  ASSERT_EQ(ReadBytes(layout), saved);

  ::testing::internal::CaptureStderr();
  Start();
  const std::string err = ::testing::internal::GetCapturedStderr();
  const auto bad = folder.Path() / "zeldemo.sav.bad";
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  EXPECT_NE(err.find(bad.string()), std::string::npos) << err;
  EXPECT_EQ(ReadBytes(bad), saved);
  EXPECT_FALSE(LayoutExists());
  EXPECT_FALSE(std::filesystem::exists(mark));
  EXPECT_EQ(form->ImageListZel1->Width(), 24);
  EXPECT_TRUE(form->Visible());
  DragThumbTo(20);
  Close();

  std::vector<bool> marked;
  Start([&](int) { marked.push_back(std::filesystem::exists(mark)); });
  EXPECT_EQ(marked, std::vector<bool>(5, true));
  EXPECT_FALSE(std::filesystem::exists(mark));
  EXPECT_EQ(form->ImageListZel1->Width(), 20);
  EXPECT_EQ(ReadBytes(bad), saved);
  Close();
}

// Something other than a regular file at the layout's path (a FIFO, which
// would block a plain open until a writer came, or a folder) is neither
// read nor replaced: the window starts at once with the defaults, and the
// close says in one line that the layout was not kept.
TEST_F(LayoutTest, AFifoOrAFolderAtTheLayoutPathIsLeftAloneAndNeverBlocksTheStart) {
  const std::function<bool()> makers[] = {
      [&] { return ::mkfifo(layout.c_str(), 0644) == 0; },
      [&] { return std::filesystem::create_directory(layout); },
  };
  for (const auto& make : makers) {
    ASSERT_TRUE(make());
    const auto type = std::filesystem::status(layout).type();
    Start();
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(form->ImageListZel1->Width(), 24);
    ::testing::internal::CaptureStderr();
    QuitWithAltX();
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("не обычный файл"), std::string::npos) << err;
    EXPECT_EQ(std::filesystem::status(layout).type(), type);
    std::filesystem::remove(layout);
  }
}

} // namespace
} // namespace zel::test
