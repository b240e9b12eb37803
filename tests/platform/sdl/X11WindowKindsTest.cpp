// What the window manager is told per kind of top-level window, and the
// program's icon as _NET_WM_ICON carries it.

#include <gtest/gtest.h>

#include <string>

#include "platform/backend/X11WindowKinds.h"
#include "platform/user/Messages.h"

namespace zel::sys {
namespace {

TEST(X11WindowKinds, EachKindOfWindowTellsTheWindowManagerItsTypeAndOwner) {
  constexpr DWORD kFrame = WS_OVERLAPPEDWINDOW;
  constexpr DWORD kMenuEx = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  struct Row {
    const char* what;
    DWORD style, exStyle;
    bool owned;
    TopLevelKind kind;
    const char* type;
    bool overrideRedirect, transient, icon;
  } rows[] = {
      {"main window", kFrame, 0, false, TopLevelKind::Main, "NORMAL", false, false, true},
      {"owned dialog", WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME, true, TopLevelKind::Dialog,
       "DIALOG", false, true, true},
      {"owned window without dialog frame", kFrame, 0, true, TopLevelKind::Dialog, "DIALOG", false,
       true, true},
      {"dialog without owner yet", WS_CAPTION, WS_EX_DLGMODALFRAME, false, TopLevelKind::Dialog,
       "DIALOG", false, true, true},
      {"floating form", WS_CAPTION | WS_THICKFRAME, WS_EX_TOOLWINDOW, true, TopLevelKind::Utility,
       "UTILITY", false, true, true},
      {"floating bar without owner yet", WS_CAPTION, WS_EX_TOOLWINDOW, false, TopLevelKind::Utility,
       "UTILITY", false, true, true},
      {"menu", WS_POPUP, kMenuEx, false, TopLevelKind::Popup, "POPUP_MENU", true, false, false},
      {"owned hint", WS_POPUP | WS_BORDER, WS_EX_TOOLWINDOW, true, TopLevelKind::Popup,
       "POPUP_MENU", true, false, false},
      {"pop-up with a caption", WS_POPUP | WS_CAPTION, 0, true, TopLevelKind::Dialog, "DIALOG",
       false, true, true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    const X11WindowHints h = HintsForTopLevel(r.style, r.exStyle, r.owned);
    EXPECT_EQ(h.kind, r.kind);
    EXPECT_EQ(std::string(h.windowType), std::string("_NET_WM_WINDOW_TYPE_") + r.type);
    EXPECT_EQ(h.overrideRedirect, r.overrideRedirect);
    EXPECT_EQ(h.transientForOwner, r.transient);
    EXPECT_EQ(h.icon, r.icon);
  }
}

// Two sizes, each its width and height then exactly that many pixels; the
// corners are clear and the middle is an opaque window.
TEST(X11WindowKinds, TheProgramIconHoldsTwoWholeSquares) {
  const std::vector<unsigned long> icon = ProgramIconData();
  size_t at = 0;
  for (unsigned long size : {16ul, 32ul}) {
    ASSERT_LE(at + 2, icon.size());
    EXPECT_EQ(icon[at], size);
    EXPECT_EQ(icon[at + 1], size);
    const unsigned long* px = icon.data() + at + 2;
    ASSERT_LE(at + 2 + size * size, icon.size());
    EXPECT_EQ(px[0], 0ul) << "the corner is transparent";
    EXPECT_EQ(px[size * size - 1], 0ul);
    const unsigned long middle = px[(size / 2) * size + size / 2];
    EXPECT_EQ(middle >> 24, 0xFFul) << "the window's body is opaque";
    EXPECT_NE(middle, px[(size / 8 + 2) * size + size / 2]) << "the caption bar differs";
    at += 2 + size * size;
  }
  EXPECT_EQ(at, icon.size());
}

} // namespace
} // namespace zel::sys
