// The README's pictures: every one is written, and probes of the written
// files tell the states they are meant to show apart.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <unistd.h>

#include "platform/gdi/Png.h"
#include "platform/gdi/Surface.h"
#include "platform/user/SystemParams.h"
#include "tools/zelshot/Pictures.h"

namespace zel::test {
namespace {

using sys::POINT;
using sys::RECT;

struct Written {
  shot::Picture picture;
  sys::Surface pixels;
  sys::COLORREF At(POINT p) const {
    EXPECT_TRUE(sys::PtInRect(pixels.Bounds(), p)) << picture.name;
    if (!sys::PtInRect(pixels.Bounds(), p)) return sys::CLR_INVALID;
    return sys::ColorRefFromPixel(pixels.Row(p.y)[p.x]);
  }
};

class PicturesTest : public ::testing::Test {
protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() / ("zelshot-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
  }
  void TearDown() override { std::filesystem::remove_all(folder); }
  std::filesystem::path folder;
};

// The open menu's first row, hovered: the map's selection colour.
POINT FirstRow(const shot::Picture& p) {
  return POINT{p.menu.right - 12, p.menu.top + 12};
}
// The menu bar beyond its items: the bar's own colour.
POINT BarEnd(const shot::Picture& p) {
  return POINT{p.menuBar.right - 12, (p.menuBar.top + p.menuBar.bottom) / 2};
}

TEST_F(PicturesTest, EveryPictureIsWrittenAndShowsItsState) {
  std::map<std::string, Written> shots;
  for (shot::Picture& p : shot::WritePictures(folder.string())) {
    Written w{p, {}};
    ASSERT_TRUE(sys::ReadPng(p.path, w.pixels)) << p.name;
    EXPECT_EQ(w.pixels.Width(), p.area.Width()) << p.name;
    EXPECT_EQ(w.pixels.Height(), p.area.Height()) << p.name;
    EXPECT_GE(w.pixels.Width(), 700) << p.name;
    shots[p.name] = std::move(w);
  }
  for (const std::string& name : shot::PictureNames())
    ASSERT_EQ(shots.count(name), 1u) << name;

  // The three maps, each with the "Окно" menu open: the hovered row takes
  // each map's own selection colour, and the black-and-white map's bar is
  // not the others' colour.
  const Written& standard = shots["map-standard.png"];
  const Written& xp = shots["map-xp.png"];
  const Written& blackWhite = shots["map-black-white.png"];
  EXPECT_NE(standard.At(FirstRow(standard.picture)), xp.At(FirstRow(xp.picture)));
  EXPECT_NE(standard.At(FirstRow(standard.picture)), blackWhite.At(FirstRow(blackWhite.picture)));
  EXPECT_NE(xp.At(FirstRow(xp.picture)), blackWhite.At(FirstRow(blackWhite.picture)));
  EXPECT_NE(standard.At(BarEnd(standard.picture)), blackWhite.At(BarEnd(blackWhite.picture)));

  // "Окно" with unused items hidden has fewer rows (its expand button
  // included) than the full menu: below it the child window shows, where
  // the full menu (in the XP map, white) covers the same point.
  const Written& hidden = shots["hidden-items.png"];
  EXPECT_LT(hidden.picture.menuRows, standard.picture.menuRows);
  const POINT below{hidden.picture.menu.left + hidden.picture.menu.Width() * 3 / 4,
                    hidden.picture.menu.bottom + 8};
  ASSERT_TRUE(sys::PtInRect(xp.picture.menu, below));
  const Written& main = shots["main-window.png"];
  EXPECT_EQ(hidden.At(below), main.At(below));
  EXPECT_NE(xp.At(below), main.At(below));

  // The floating editor and the customize dialog: another window in the
  // picture, the caption colour at its top left.
  const sys::COLORREF active = sys::GetSysColor(sys::COLOR_ACTIVECAPTION);
  const sys::COLORREF inactive = sys::GetSysColor(sys::COLOR_INACTIVECAPTION);
  for (const char* name : {"floating-editor.png", "customize.png"}) {
    const Written& w = shots[name];
    const RECT r = w.picture.window;
    ASSERT_FALSE(sys::IsRectEmpty(r)) << name;
    bool caption = false;
    for (int y = r.top; y < r.top + 24; ++y)
      for (int x = r.left; x < r.left + 40; ++x) {
        const sys::COLORREF c = w.At(POINT{x, y});
        caption = caption || c == active || c == inactive;
      }
    EXPECT_TRUE(caption) << name;
  }
}

} // namespace
} // namespace zel::test
