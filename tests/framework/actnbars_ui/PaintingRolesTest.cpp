// Which painting roles the bars call, with which arguments and in which
// order, seen through a style whose controls record them: the frame's down,
// the drop-down arrow after the frame, the roles of menu items, and the
// tool bar's scroll button, whose class a style chooses freely.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/framework/actnbars_ui/BarTestSupport.h"

namespace zel {
namespace {

using namespace bartest;

// What the recording controls saw, in order: "background", "frame down",
// "frame up", "arrow", "glyph", "box", "mark", "shadowed", "text", "arrows".
std::vector<std::string>* gLog = nullptr;
void Log(const std::string& what) {
  if (gLog) gLog->push_back(what);
}

class TRecButton : public TCustomButtonControl {
  ZEL_CREATABLE_CLASS(TRecButton, TCustomButtonControl)
public:
  explicit TRecButton(TComponent* owner) : TCustomButtonControl(owner) {}
  void DrawFrame(const sys::RECT& r, bool down) override {
    Log(down ? "frame down" : "frame up");
    TCustomButtonControl::DrawFrame(r, down);
  }
};

// Its frame paints nothing at all: the arrow must show all the same.
class TRecDropDown : public TCustomDropDownButton {
  ZEL_CREATABLE_CLASS(TRecDropDown, TCustomDropDownButton)
public:
  explicit TRecDropDown(TComponent* owner) : TCustomDropDownButton(owner) {}
  void DrawBackground(sys::RECT& r) override {
    Log("background");
    TCustomDropDownButton::DrawBackground(r);
  }
  void DrawFrame(const sys::RECT&, bool down) override { Log(down ? "frame down" : "frame up"); }
  void DrawDropDownArrow(const sys::RECT& r) override {
    Log("arrow");
    TCustomDropDownButton::DrawDropDownArrow(r);
  }
  void DrawGlyph(const sys::POINT& p) override {
    Log("glyph");
    TCustomDropDownButton::DrawGlyph(p);
  }
  void DrawText(sys::RECT& r, sys::UINT flags, const std::string& text) override {
    Log("text");
    TCustomDropDownButton::DrawText(r, flags, text);
  }
};

class TRecMenuItem : public TCustomMenuItem {
  ZEL_CREATABLE_CLASS(TRecMenuItem, TCustomMenuItem)
public:
  explicit TRecMenuItem(TComponent* owner) : TCustomMenuItem(owner) {}
  void DrawFrame(const sys::RECT& r, bool down) override { Log("frame"); }
  void DrawGlyph(const sys::POINT& p) override {
    Log("glyph");
    TCustomMenuItem::DrawGlyph(p);
  }
  void DrawShadowedText(sys::RECT& r, sys::UINT flags, const std::string& text, TColor c,
                        TColor shadow) override {
    Log("shadowed");
    TCustomMenuItem::DrawShadowedText(r, flags, text, c, shadow);
  }

protected:
  void DrawCheckMark(const sys::RECT& cell) override {
    Log("mark");
    TCustomMenuItem::DrawCheckMark(cell);
  }
  void DrawCheckedGlyphBox(const sys::RECT& box) override {
    Log("box");
    TCustomMenuItem::DrawCheckedGlyphBox(box);
  }
};

// A menu item whose glyph role is all its own, as a style's would be.
class TOwnGlyphItem : public TRecMenuItem {
  ZEL_CREATABLE_CLASS(TOwnGlyphItem, TRecMenuItem)
public:
  explicit TOwnGlyphItem(TComponent* owner) : TRecMenuItem(owner) {}
  void DrawGlyph(const sys::POINT&) override { Log("own glyph"); }
};

class TRecScrollBtn : public TCustomToolScrollBtn {
  ZEL_CREATABLE_CLASS(TRecScrollBtn, TCustomToolScrollBtn)
public:
  explicit TRecScrollBtn(TComponent* owner) : TCustomToolScrollBtn(owner) {}
  void DrawBackground(sys::RECT& r) override {
    Log("background");
    TCustomToolScrollBtn::DrawBackground(r);
  }
  void DrawFrame(const sys::RECT& r, bool down) override {
    Log(down ? "frame down" : "frame up");
    TCustomToolScrollBtn::DrawFrame(r, down);
  }
  void DrawArrows() override {
    Log("arrows");
    TCustomToolScrollBtn::DrawArrows();
  }
};

// A scroll button that is no TCustomToolScrollBtn at all.
class TForeignScrollBtn : public TCustomActionControl {
  ZEL_CREATABLE_CLASS(TForeignScrollBtn, TCustomActionControl)
public:
  explicit TForeignScrollBtn(TComponent* owner) : TCustomActionControl(owner) {}
  sys::SIZE CalcSize() override { return sys::SIZE{15, 22}; }
};

class TRecStyle : public TActionBarStyleEx {
  ZEL_CLASS(TRecStyle, TActionBarStyleEx)
public:
  TCustomActionControlClass scrollClass = TRecScrollBtn::StaticClass();
  TCustomActionControlClass menuItemClass = TRecMenuItem::StaticClass();
  TCustomActionControlClass ControlClassFor(TCustomActionBar* bar,
                                            TActionClientItem* item) override {
    if (dynamic_cast<TCustomActionPopupMenu*>(bar)) return menuItemClass;
    if (dynamic_cast<TCustomActionMenuBar*>(bar)) return TStandardMenuButton::StaticClass();
    if (item && item->HasItems() && item->Items()->Count() > 0) return TRecDropDown::StaticClass();
    return TRecButton::StaticClass();
  }
  TCustomColorMapClass ColorMapClassFor(TCustomActionBar*) override {
    return TStandardColorMap::StaticClass();
  }
  std::string StyleName() override { return "Recording"; }
  TCustomActionBarClass GetPopupClass(TCustomActionBar*) override {
    return TCustomActionPopupMenu::StaticClass();
  }
  TCustomActionControlClass GetAddRemoveItemClass(TCustomActionBar*) override {
    return menuItemClass;
  }
  TCustomActionControlClass GetScrollBtnClass() override { return scrollClass; }
};

class PaintingRolesTest : public ::testing::Test, protected BarTestSupport {
protected:
  void SetUp() override {
    gLog = &log;
    StartBars({&style});
    form = MakeForm(40, 40, 420, 260, "Роли");
    images = MakeImages(form, {TColor(0x00C000), TColor(0xC06000)}, GlyphShape::Square);
    manager = new TActionManager(form);
    manager->SetImages(images);
    manager->SetStyle(&style);
    plain = Action("Обычная", 0);
    checked = Action("Отмеченная", 1);
    checked->SetChecked(true);
    toolBar = MakeBar<TActionToolBar>(form, manager);
    AddButtons(manager->ActionBars()->ActionBars(0)->Items(), {plain, checked});
    toolBar->RecreateControls();
    form->Show();
    app->ProcessMessages();
  }
  void TearDown() override {
    StopBars();
    gLog = nullptr;
  }
  TAction* Action(const std::string& caption, int image) {
    TAction* a = MakeAction(form, manager, caption, image);
    a->OnExecute = [](TObject*) {};
    return a;
  }
  // The roles control called in one paint.
  std::vector<std::string> Paint(TControl* control) {
    app->ProcessMessages();
    log.clear();
    control->Invalidate();
    app->ProcessMessages();
    return log;
  }
  static bool Has(const std::vector<std::string>& roles, const std::string& role) {
    return std::find(roles.begin(), roles.end(), role) != roles.end();
  }
  static int At(const std::vector<std::string>& roles, const std::string& role) {
    return int(std::find(roles.begin(), roles.end(), role) - roles.begin());
  }
  // A pop-up of the manager showing items made by fill.
  TCustomActionPopupMenu* Popup(const std::function<void(TActionClients*)>& fill) {
    auto* popup = new TCustomActionPopupMenu(form);
    fill(popup->OwnItems());
    popup->ShowOwnItems(manager, {200, 120});
    app->ProcessMessages();
    return popup;
  }

  TRecStyle style;
  std::vector<std::string> log;
  TForm* form = nullptr;
  TCustomImageList* images = nullptr;
  TActionManager* manager = nullptr;
  TAction *plain = nullptr, *checked = nullptr;
  TActionToolBar* toolBar = nullptr;
};

TEST_F(PaintingRolesTest, TheFrameIsDownWhileCheckedOrPressedWithTheMouseOnIt) {
  TCustomActionControl* plainBtn = toolBar->ActionControls(0);
  TCustomActionControl* checkedBtn = toolBar->ActionControls(1);
  EXPECT_TRUE(Has(Paint(plainBtn), "frame up"));
  EXPECT_TRUE(Has(Paint(checkedBtn), "frame down"));
  // Pressed: down while the mouse stays on it, up once it leaves.
  const sys::POINT p = Center(plainBtn);
  Press(p);
  EXPECT_TRUE(Has(Paint(plainBtn), "frame down"));
  MoveTo({p.x, p.y + 80});
  EXPECT_TRUE(Has(Paint(plainBtn), "frame up"));
  Release({p.x, p.y + 80});
}

TEST_F(PaintingRolesTest, TheDropDownArrowIsItsOwnRoleAfterTheFrame) {
  TActionClientItem* more = manager->ActionBars()->ActionBars(0)->Items()->Add();
  more->SetAction(plain);
  more->Items()->Add()->SetAction(checked);
  toolBar->RecreateControls();
  TCustomActionControl* drop = toolBar->ActionControls(2);
  ASSERT_TRUE(drop->Is<TRecDropDown>());
  const std::vector<std::string> roles = Paint(drop);
  ASSERT_TRUE(Has(roles, "arrow"));
  EXPECT_LT(At(roles, "background"), At(roles, "frame up"));
  EXPECT_LT(At(roles, "frame up"), At(roles, "arrow"));
  EXPECT_LT(At(roles, "arrow"), At(roles, "glyph"));
  // Its frame paints nothing, yet the arrow is there: the drop part of the
  // button holds pixels of the font colour, the bar's colour elsewhere.
  const sys::COLORREF arrow = ColorToColorRef(drop->Font()->Color());
  const sys::POINT o = drop->ClientToScreen({0, 0});
  int inArrow = 0;
  for (int x = drop->Width() - 9; x < drop->Width(); ++x)
    for (int y = 0; y < drop->Height(); ++y)
      if (screen->ScreenPixel(o.x + x, o.y + y) == arrow) ++inArrow;
  EXPECT_GE(inArrow, 4);
  // A plain button has no drop part.
  EXPECT_FALSE(Has(Paint(toolBar->ActionControls(0)), "arrow"));
}

TEST_F(PaintingRolesTest, MenuItemsMarkCheckedItemsThroughTheGlyphRoleAndGetNoFrame) {
  TAction* group = Action("Вариант", -1);
  group->SetGroupIndex(1);
  group->SetChecked(true);
  TAction* noGlyph = Action("Без значка", -1);
  noGlyph->SetChecked(true);
  TAction* disabled = Action("Недоступная", -1);
  disabled->SetEnabled(false);
  TCustomActionPopupMenu* popup = Popup([&](TActionClients* items) {
    for (TAction* a : {plain, checked, noGlyph, group, disabled})
      items->Add()->SetAction(a);
  });
  ASSERT_EQ(popup->ActionControlCount(), 5);
  const struct {
    const char* what;
    int index;
    std::vector<std::string> roles;   // called
    std::vector<std::string> missing; // never called
  } cases[] = {
      {"plain with a glyph", 0, {"glyph"}, {"box", "mark", "frame", "shadowed"}},
      {"checked with a glyph", 1, {"glyph", "box"}, {"mark", "frame"}},
      {"checked without a glyph", 2, {"glyph", "mark"}, {"box", "frame"}},
      {"radio item", 3, {"glyph", "mark"}, {"box", "frame"}},
      {"disabled, unselected", 4, {"shadowed"}, {"glyph", "frame"}},
  };
  for (const auto& c : cases) {
    const std::vector<std::string> roles = Paint(popup->ActionControls(c.index));
    for (const std::string& r : c.roles)
      EXPECT_TRUE(Has(roles, r)) << c.what << ": " << r;
    for (const std::string& r : c.missing)
      EXPECT_FALSE(Has(roles, r)) << c.what << ": " << r;
  }
  // The radio item shows a dot in the middle of its glyph column, the
  // check mark none there.
  auto centre = [&](int index) {
    auto* item = static_cast<TCustomMenuItem*>(popup->ActionControls(index));
    const sys::POINT o = item->ClientToScreen({item->GutterWidth() / 2, item->Height() / 2});
    return screen->ScreenPixel(o.x, o.y);
  };
  const sys::COLORREF font = ColorToColorRef(popup->ColorMap()->FontColor());
  EXPECT_EQ(centre(3), font);
  EXPECT_NE(centre(2), font);

  // Selected, or in design mode, a disabled caption is plain text.
  popup->SelectControl(popup->ActionControls(4));
  EXPECT_FALSE(Has(Paint(popup->ActionControls(4)), "shadowed"));
  popup->SelectControl(nullptr);
  popup->SetDesignMode(true);
  EXPECT_FALSE(Has(Paint(popup->ActionControls(4)), "shadowed"));
  popup->SetDesignMode(false);
  EXPECT_TRUE(Has(Paint(popup->ActionControls(4)), "shadowed"));
  delete popup;

  // A style that paints the glyph itself gets no checked-glyph box forced
  // on it, and no check mark beside its own.
  style.menuItemClass = TOwnGlyphItem::StaticClass();
  popup = Popup([&](TActionClients* items) {
    items->Add()->SetAction(checked);
    items->Add()->SetAction(noGlyph);
  });
  for (int i = 0; i < 2; ++i) {
    const std::vector<std::string> roles = Paint(popup->ActionControls(i));
    EXPECT_TRUE(Has(roles, "own glyph")) << i;
    EXPECT_FALSE(Has(roles, "box") || Has(roles, "mark") || Has(roles, "frame")) << i;
  }
  delete popup;
}

TEST_F(PaintingRolesTest, TheScrollButtonPaintsThroughRolesAndPointsWhereItIsAligned) {
  for (TAction* a : {plain, checked, plain, checked})
    manager->ActionBars()->ActionBars(0)->Items()->Add()->SetAction(a);
  toolBar->RecreateControls();
  toolBar->SetAlign(alNone);
  toolBar->SetWidth(80);
  auto* scroll = dynamic_cast<TRecScrollBtn*>(toolBar->ScrollButton());
  ASSERT_NE(scroll, nullptr);
  // Aligned to the end of the row, inside the margins.
  EXPECT_EQ(scroll->Align(), alRight);
  EXPECT_EQ(scroll->Direction(), sdRight);
  EXPECT_EQ(scroll->BoundsRect().right, toolBar->ClientWidth() - toolBar->HorzMargin());
  EXPECT_EQ(scroll->Top(), toolBar->VertMargin());
  EXPECT_EQ(Paint(scroll), (std::vector<std::string>{"background", "frame up", "arrows"}));
  Press(Center(scroll));
  EXPECT_TRUE(Has(Paint(scroll), "frame down"));
  Release(Center(scroll));
  ASSERT_NE(toolBar->ActivePopup(), nullptr);

  const struct {
    TAlign align;
    TScrollDirection direction;
  } directions[] = {{alTop, sdUp}, {alBottom, sdDown}, {alLeft, sdLeft}, {alRight, sdRight}};
  auto* loose = new TCustomToolScrollBtn(form);
  for (const auto& d : directions) {
    loose->SetAlign(d.align);
    EXPECT_EQ(loose->Direction(), d.direction) << int(d.align);
  }
}

TEST_F(PaintingRolesTest, AScrollButtonClassOfAnotherFamilyIsUsedAndOpensTheHiddenItems) {
  style.scrollClass = TForeignScrollBtn::StaticClass();
  for (TAction* a : {plain, checked, plain, checked})
    manager->ActionBars()->ActionBars(0)->Items()->Add()->SetAction(a);
  toolBar->RecreateControls();
  toolBar->SetAlign(alNone);
  toolBar->SetWidth(80);
  TCustomActionControl* scroll = toolBar->ScrollButton();
  ASSERT_NE(scroll, nullptr);
  EXPECT_TRUE(scroll->Is<TForeignScrollBtn>());
  EXPECT_EQ(scroll->Width(), 15);
  ClickOn(scroll);
  TCustomActionPopupMenu* hidden = toolBar->ActivePopup();
  ASSERT_NE(hidden, nullptr);
  EXPECT_EQ(hidden->ActionControlCount(), toolBar->HiddenCount());
  Key(sys::VK_ESCAPE);
  // Another style's class takes over when the style changes.
  style.scrollClass = TRecScrollBtn::StaticClass();
  toolBar->StyleChanged();
  ASSERT_NE(toolBar->ScrollButton(), nullptr);
  EXPECT_TRUE(toolBar->ScrollButton()->Is<TRecScrollBtn>());
}

} // namespace
} // namespace zel
