// What the window manager is told per kind of top-level window, and the
// program's icon as _NET_WM_ICON carries it.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/backend/X11Icon.h"
#include "platform/backend/X11WindowKinds.h"
#include "platform/resource/ProgramIcon.h"
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

// Five sizes, each its width and height then exactly that many pixels of
// the program's icon, as the window manager reads them.
TEST(X11WindowKinds, TheProgramIconHoldsWholeSquaresOfTheIcon) {
  const std::vector<unsigned long> icon = ProgramIconData();
  size_t at = 0;
  for (int size : {16, 24, 32, 48, 64}) {
    SCOPED_TRACE(size);
    ASSERT_LE(at + 2, icon.size());
    EXPECT_EQ(icon[at], (unsigned long)size);
    EXPECT_EQ(icon[at + 1], (unsigned long)size);
    const Surface expected = ProgramIcon(size);
    ASSERT_LE(at + 2 + expected.Pixels().size(), icon.size());
    EXPECT_TRUE(std::equal(expected.Pixels().begin(), expected.Pixels().end(),
                           icon.begin() + long(at) + 2));
    at += 2 + size_t(size) * size_t(size);
  }
  EXPECT_EQ(at, icon.size());
}

} // namespace
} // namespace zel::sys
