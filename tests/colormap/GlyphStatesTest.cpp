// The editor's own glyphs on its buttons in the states a person sees:
// normal, hot, checked, checked and hot, disabled.  Each state's glyph cell
// is read off the screen and told apart from the others; the button column
// is kept enlarged as a picture to judge.

#include <map>
#include <set>

#include "platform/gdi/Png.h"
#include "tests/colormap/ColorMapFixture.h"

namespace zel::test {
namespace {

using TCell = std::vector<TColor>;

class GlyphStatesTest : public ColorMapTest {
protected:
  // The 16-pixel glyph cell: after the border at the left of a wide
  // button, in the middle of a square one.
  TCell GlyphCell(TSpeedButtonZel* b) {
    TCell cell;
    const int top = (b->Height() - 16) / 2;
    const int left = b->Width() < 22 ? (b->Width() - 16) / 2 : 3;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        cell.push_back(Pixel(b, left + x, top + y));
    return cell;
  }
  // How dark the cell's middle is at its darkest (0 to 765): the dot of a
  // radio button, the tick of a check box.
  static int MiddleDarkness(const TCell& cell) {
    int darkest = 0;
    for (int y = 6; y < 10; ++y)
      for (int x = 6; x < 10; ++x) {
        const TColor c = cell[size_t(y * 16 + x)];
        darkest = std::max(darkest, 765 - ((c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF)));
      }
    return darkest;
  }
  void Hover(TControl* c) {
    const sys::POINT p = c->ClientToScreen(sys::POINT{c->Width() / 2, c->Height() / 2});
    screen->MoveTo(p.x, p.y);
    Settle(20);
  }
  void Away() {
    screen->MoveTo(2, 2);
    Settle(300);
  }
  // The frame's upper part, four times enlarged.
  void KeepEnlarged(const std::string& name) {
    const sys::POINT at = frame->ClientToScreen(sys::POINT{0, 50});
    const int w = 193, h = 300, zoom = 4;
    sys::Surface big(w * zoom, h * zoom);
    for (int y = 0; y < h * zoom; ++y)
      for (int x = 0; x < w * zoom; ++x)
        big.At(x, y) =
            sys::PixelFromColorRef(screen->ScreenPixel(at.x + x / zoom, at.y + y / zoom));
    const auto dir = std::filesystem::path(ZEL_BINARY_DIR) / "pictures";
    std::filesystem::create_directories(dir);
    sys::WritePng(big, (dir / (name + ".png")).string());
  }
};

TEST_F(GlyphStatesTest, EveryStateShowsItsOwnGlyph) {
  Connect();
  ClickOn(frame->SpeedButtonZel2); // a map, so the grid's button shows too
  Away();
  KeepEnlarged("colormap-glyphs-normal");
  std::map<std::string, TCell> cells;
  struct Probe {
    const char* state;
    TSpeedButtonZel* button;
  };
  // Vertical and the gradient are on, horizontal and hide-unused off.
  for (const Probe& p :
       {Probe{"radio off", frame->SpeedButtonZel6}, Probe{"radio on", frame->SpeedButtonZel5},
        Probe{"check off", frame->sbHideUnused}, Probe{"check on", frame->SpeedButtonZel4},
        Probe{"style", frame->sbStyle}, Probe{"default", frame->SpeedButtonZel8}}) {
    cells[p.state] = GlyphCell(p.button);
    Hover(p.button);
    cells[std::string(p.state) + " hot"] = GlyphCell(p.button);
    if (std::string(p.state) == "radio on") KeepEnlarged("colormap-glyphs-hot");
    Away();
  }
  frame->EnableGradientControls(true, false); // the direction buttons disabled
  Settle();
  cells["radio off disabled"] = GlyphCell(frame->SpeedButtonZel6);
  cells["radio on disabled"] = GlyphCell(frame->SpeedButtonZel5);
  KeepEnlarged("colormap-glyphs-disabled");

  // A glyph in every state and no two states of the radio buttons alike,
  // but for a checked one under the mouse: its hot-checked glyph is its
  // own and so drawn flat, as it shows checked.  Every other button is
  // raised under the mouse.
  for (const auto& [state, cell] : cells)
    EXPECT_GT(std::set<TColor>(cell.begin(), cell.end()).size(), 3u) << state;
  for (const auto& [a, ca] : cells)
    for (const auto& [b, cb] : cells)
      if (a < b && a.rfind("radio", 0) == 0 && b.rfind("radio", 0) == 0) {
        EXPECT_EQ(ca == cb, a == "radio on" && b == "radio on hot") << a << " / " << b;
      }
  for (const char* s : {"check off", "check on", "style", "default"})
    EXPECT_EQ(cells[s] != cells[std::string(s) + " hot"], std::string(s) != "check on") << s;
  // The dot and the tick show exactly when the button is on.
  EXPECT_GT(MiddleDarkness(cells["radio on"]), MiddleDarkness(cells["radio off"]) + 200);
  EXPECT_GT(MiddleDarkness(cells["radio on hot"]), MiddleDarkness(cells["radio off hot"]) + 200);
  EXPECT_GT(MiddleDarkness(cells["radio on disabled"]),
            MiddleDarkness(cells["radio off disabled"]) + 30);
  EXPECT_GT(MiddleDarkness(cells["check on"]), MiddleDarkness(cells["check off"]) + 150);
}

} // namespace
} // namespace zel::test
