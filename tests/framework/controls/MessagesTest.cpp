// Messages and their order: enter and leave, enabled, visible, colour and
// font propagation, text kept through the text messages.

#include <algorithm>
#include <cstring>

#include "tests/framework/controls/ControlsFixture.h"

namespace zel::test {
namespace {

using namespace sys;

std::vector<UINT> Only(const std::vector<UINT>& log, std::initializer_list<UINT> keep) {
  std::vector<UINT> out;
  for (UINT m : log)
    if (std::find(keep.begin(), keep.end(), m) != keep.end()) out.push_back(m);
  return out;
}

TEST_F(ControlsTest, EnterAndLeaveFollowTheMouseAcrossWindowlessAndWindowedControls) {
  auto* a = Add<TProbe>(10, 10, 50, 50);
  auto* b = Add<TProbe>(70, 10, 50, 50);
  auto* w = Add<TWinControl>(150, 10, 50, 50);
  b->SetEnabled(false); // disabled controls still learn that the mouse is over them
  std::vector<std::string> order;
  auto track = [&](TControl* c, const char* name) {
    TWndMethod old = c->WindowProc;
    c->WindowProc = [&order, old, name](TMessage& m) {
      if (m.Msg == CM_MOUSEENTER) order.push_back(std::string("enter ") + name);
      if (m.Msg == CM_MOUSELEAVE) order.push_back(std::string("leave ") + name);
      old(m);
    };
  };
  track(a, "a");
  track(b, "b");
  track(w, "w");
  track(host.get(), "host");
  POINT p = At(host.get(), 5, 5);
  screen->MoveTo(p.x, p.y);
  p = At(a, 5, 5);
  screen->MoveTo(p.x, p.y);
  screen->MoveTo(p.x + 3, p.y); // moving inside sends nothing new
  p = At(b, 5, 5);
  screen->MoveTo(p.x, p.y);
  p = At(w, 5, 5);
  screen->MoveTo(p.x, p.y);
  screen->MoveTo(5, 5); // off every window
  PumpMessages();
  EXPECT_EQ(order, (std::vector<std::string>{"enter host", "leave host", "enter a", "leave a",
                                             "enter b", "leave b", "enter w", "leave w"}));
  EXPECT_EQ(GetMouseControl(), nullptr);
}

TEST_F(ControlsTest, StateChangesSendTheirMessagesOnce) {
  auto* c = Add<TProbe>(10, 10, 50, 50);
  std::vector<UINT> log;
  Record(c, log);
  c->SetEnabled(false);
  c->SetEnabled(false);
  c->SetVisible(false);
  c->SetVisible(true);
  c->SetColor(clRed);
  c->SetColor(clRed);
  c->Font()->SetName("Arial");
  EXPECT_EQ(Only(log, {CM_ENABLEDCHANGED, CM_VISIBLECHANGED, CM_COLORCHANGED, CM_FONTCHANGED}),
            (std::vector<UINT>{CM_ENABLEDCHANGED, CM_VISIBLECHANGED, CM_VISIBLECHANGED,
                               CM_COLORCHANGED, CM_FONTCHANGED}));
  EXPECT_FALSE(c->ParentColor());
  EXPECT_FALSE(c->ParentFont());
}

TEST_F(ControlsTest, ColourAndFontReachChildrenThatTakeTheirParents) {
  auto* panel = Add<TWinControl>(0, 0, 200, 200);
  auto* inherits = Add<TProbe>(10, 10, 20, 20, alNone, panel);
  auto* own = Add<TProbe>(40, 10, 20, 20, alNone, panel);
  own->SetColor(clYellow);
  own->Font()->SetName("Courier");
  std::vector<UINT> log;
  Record(inherits, log);
  host->SetColor(clGreen);
  host->Font()->SetName("Verdana");
  host->Font()->SetHeight(-20);
  EXPECT_EQ(panel->Color(), clGreen);
  EXPECT_EQ(inherits->Color(), clGreen);
  EXPECT_EQ(own->Color(), clYellow);
  EXPECT_EQ(inherits->Font()->Name(), "Verdana");
  EXPECT_EQ(inherits->Font()->Height(), -20);
  EXPECT_EQ(own->Font()->Name(), "Courier");
  EXPECT_TRUE(inherits->ParentColor());
  EXPECT_TRUE(inherits->ParentFont());
  // Each change arrives as the parent message, then the control's own.
  const auto seen =
      Only(log, {CM_PARENTCOLORCHANGED, CM_COLORCHANGED, CM_PARENTFONTCHANGED, CM_FONTCHANGED});
  ASSERT_GE(seen.size(), 4u);
  EXPECT_EQ(seen[0], CM_PARENTCOLORCHANGED);
  EXPECT_EQ(seen[1], CM_COLORCHANGED);
  EXPECT_EQ(seen[2], CM_PARENTFONTCHANGED);
  EXPECT_EQ(seen[3], CM_FONTCHANGED);
  // Asking for the parent's again takes it at once.
  own->SetParentColor(true);
  EXPECT_EQ(own->Color(), clGreen);
  // A control put on a parent takes its font on arrival.
  auto* late = Add<TProbe>(0, 0, 5, 5, alNone, panel);
  EXPECT_EQ(late->Font()->Name(), "Verdana");
}

// A control that keeps its text elsewhere and answers the text messages.
class TOwnText : public TGraphicControl {
  ZEL_CLASS(TOwnText, TGraphicControl)
public:
  explicit TOwnText(TComponent* o) : TGraphicControl(o) {}
  std::string store;
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_SETTEXT) {
      store = reinterpret_cast<const char*>(m.LParam);
      m.Result = 1;
      return;
    }
    if (m.Msg == WM_GETTEXTLENGTH) {
      m.Result = LRESULT(store.size());
      return;
    }
    if (m.Msg == WM_GETTEXT) {
      const size_t n = std::min(store.size(), size_t(m.WParam) - 1);
      std::memcpy(reinterpret_cast<char*>(m.LParam), store.data(), n);
      reinterpret_cast<char*>(m.LParam)[n] = 0;
      m.Result = LRESULT(n);
      return;
    }
    TGraphicControl::WndProc(m);
  }
};

TEST_F(ControlsTest, TextGoesThroughTheTextMessages) {
  auto* own = Add<TOwnText>(0, 0, 10, 10);
  own->SetCaption("Кнопка");
  EXPECT_EQ(own->store, "Кнопка");
  EXPECT_EQ(own->Caption(), "Кнопка");
  std::vector<UINT> log;
  Record(own, log);
  own->SetCaption("Кнопка"); // the same text sends nothing
  own->SetCaption("x");
  EXPECT_EQ(Only(log, {WM_SETTEXT, CM_TEXTCHANGED}),
            (std::vector<UINT>{WM_SETTEXT, CM_TEXTCHANGED}));
  // A windowed control's text is its window's text, and survives a new window.
  auto* w = Add<TWinControl>(0, 0, 10, 10);
  w->SetText("Окно");
  EXPECT_EQ(GetWindowText(w->Handle()), "Окно");
  w->RecreateWnd();
  EXPECT_EQ(GetWindowText(w->Handle()), "Окно");
  EXPECT_EQ(w->Text(), "Окно");
}

} // namespace
} // namespace zel::test
