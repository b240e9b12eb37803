// Every border kind in every state, and the four layouts, as enlarged
// pictures for people to look at; each face is also probed, so that the
// states and layouts are told apart by the test as well.

#include <filesystem>

#include "platform/gdi/Png.h"
#include "tests/bitop/FaceTestUtil.h"

namespace zel::test {
namespace {

class FacePictures : public FaceTest {};

struct TState {
  const char* Name;
  bool Enabled, Hot, Pushed, Checked;
};

constexpr TState kStates[] = {
    {"normal", true, false, false, false},    {"hot", true, true, false, false},
    {"pushed", true, true, true, false},      {"checked", true, false, false, true},
    {"disabled", false, false, false, false},
};

bool Reddish(uint32_t c) {
  return (c >> 16) >= 0xF0 && ((c >> 8) & 0xFF) < 0x20 && (c & 0xFF) < 0x20;
}

TEST_F(FacePictures, EveryBorderAndState) {
  const std::string dir = std::string(ZEL_BINARY_DIR) + "/pictures";
  std::filesystem::create_directories(dir);
  constexpr int kSide = 24, kScale = 4, kGap = 4;
  // Rows: image glyph, built-in chevron, image glyph with a caption.
  constexpr int kRows = 3, kCols = int(std::size(kStates));
  const int cellW = kSide * 3 + kGap;
  sys::Surface sheet((cellW * kCols) * kScale, (kSide + kGap) * kRows * 4 * kScale, 0xFFB0C4DEu);
  for (int border = 0; border < 4; ++border) {
    for (int row = 0; row < kRows; ++row) {
      SCOPED_TRACE(testing::Message() << "border " << border << ", row " << row);
      std::vector<std::vector<uint32_t>> faces;
      uint32_t centre[kCols] = {};
      for (int col = 0; col < kCols; ++col) {
        const TState& s = kStates[size_t(col)];
        auto f = Face(TZelButtonBorder(border));
        f->SetSelectedColor(border == ZelXPBorder ? TColor(0xE0C8B8) : clDefault);
        if (row == 1) f->SetImageIndex(-3);
        if (row == 2) {
          f->SetWidth(kSide * 3);
          f->SetCaption("Файл");
        }
        f->SetEnabled(s.Enabled);
        f->SetHot(s.Hot);
        f->SetPushed(s.Pushed);
        f->SetChecked(s.Checked);
        auto t = DrawOn(*f, clBtnFace);
        ASSERT_NE(f->Descriptor().Face, nullptr);
        faces.emplace_back();
        for (int y = 0; y < t->Height(); ++y)
          for (int x = 0; x < t->Width(); ++x)
            faces.back().push_back(At(*t, x, y));
        TBitmap measure(1, 1, pf32bit);
        sys::RECT g, text;
        f->LayoutFace(measure.Canvas(), g, text);
        centre[col] = At(*t, (g.left + g.right) / 2, (g.top + g.bottom) / 2);
        const int ox = col * cellW, oy = ((border * kRows) + row) * (kSide + kGap);
        for (int y = 0; y < t->Height(); ++y)
          for (int x = 0; x < t->Width(); ++x)
            for (int dy = 0; dy < kScale; ++dy)
              for (int dx = 0; dx < kScale; ++dx)
                sheet.At((ox + x) * kScale + dx, (oy + y) * kScale + dy) =
                    t->ScanLine(y)[x] | 0xFF000000u;
      }
      // No two states of a kind look alike, but for the XP border's pressed
      // and checked faces: both are framed and filled with the selection
      // colour, with the glyph in place.
      for (int i = 0; i < kCols; ++i)
        for (int j = i + 1; j < kCols; ++j)
          if (border != ZelXPBorder || row == 1 || i != 2 || j != 3) {
            EXPECT_NE(faces[size_t(i)], faces[size_t(j)])
                << kStates[size_t(i)].Name << " and " << kStates[size_t(j)].Name;
          }
      if (row == 1) continue;
      // The image glyph: red as it is when hot or pressed; when only a
      // substitute at rest, grey with the single border and as it is with
      // XP; disabled, always lighter than red.
      EXPECT_TRUE(Reddish(centre[1])) << std::hex << centre[1];
      EXPECT_TRUE(Reddish(centre[2])) << std::hex << centre[2];
      const uint32_t rest = centre[0];
      if (border == ZelSingleBorder)
        EXPECT_TRUE((rest >> 16) == (rest & 0xFF) && (rest >> 16) == ((rest >> 8) & 0xFF));
      else if (border == ZelXPBorder)
        EXPECT_TRUE(Reddish(rest));
      else
        EXPECT_FALSE(Reddish(rest));
      EXPECT_GT(centre[4] & 0xFF, 0x40u) << "disabled glyph is faded";
    }
  }
  EXPECT_TRUE(sys::WritePng(sheet, dir + "/bitop_faces.png"));
}

// The faces the sheet does not show: checked single and flat faces, XP
// checked but not hot, XP disabled, and the press offset of a borderless
// glyph.  Probed: a background pixel, a frame pixel and the glyph's left
// edge (the red image's first column on row 12).
TEST_F(FacePictures, CheckedDisabledAndPressedCorners) {
  const TColor lit = Lighten(clBtnFace, 19), selected = 0xE0C8B8;
  struct Case {
    const char* name;
    TZelButtonBorder border;
    bool checked, hot, pushed, enabled, substitute;
    sys::POINT backAt;
    uint32_t back; // expected there, 0x00RRGGBB
    sys::POINT frameAt;
    uint32_t frame;
    int glyphLeft; // first red column of row 12
  };
  const Case cases[] = {
      {"single checked",
       ZelSingleBorder,
       true,
       false,
       false,
       true,
       false,
       {2, 12},
       Over(Rgb(lit), Rgb(lit), 0),
       {0, 12},
       Over(Rgb(Darken(clBtnFace, -102)), Rgb(lit)),
       5},
      {"flat checked",
       ZelFlatBorder,
       true,
       false,
       false,
       true,
       false,
       {2, 12},
       Over(Rgb(lit), Rgb(lit), 0),
       {0, 12},
       Rgb(Darken(clBtnFace, -50)),
       5},
      {"xp checked, not hot",
       ZelXPBorder,
       true,
       false,
       false,
       true,
       true,
       {2, 12},
       Rgb(selected),
       {12, 0},
       Rgb(Darken(selected, -30)),
       4},
      {"xp disabled",
       ZelXPBorder,
       false,
       false,
       false,
       false,
       true,
       {2, 12},
       Rgb(clBtnFace),
       {12, 0},
       Rgb(clBtnFace),
       -1},
      {"none pushed, substitute",
       ZelNoBorder,
       false,
       true,
       true,
       true,
       true,
       {2, 12},
       Rgb(clBtnFace),
       {0, 0},
       Rgb(clBtnFace),
       5},
      {"none pushed, own glyph",
       ZelNoBorder,
       false,
       true,
       true,
       true,
       false,
       {2, 12},
       Rgb(clBtnFace),
       {0, 0},
       Rgb(clBtnFace),
       4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto f = Face(c.border);
    if (c.border == ZelXPBorder) f->SetSelectedColor(selected);
    f->SetChecked(c.checked);
    f->SetHot(c.hot);
    f->SetPushed(c.pushed);
    f->SetEnabled(c.enabled);
    f->SetSubstitute(c.substitute);
    auto t = DrawOn(*f, clBtnFace);
    EXPECT_EQ(At(*t, c.backAt.x, c.backAt.y), c.back) << std::hex << At(*t, c.backAt.x, c.backAt.y);
    EXPECT_EQ(At(*t, c.frameAt.x, c.frameAt.y), c.frame)
        << std::hex << At(*t, c.frameAt.x, c.frameAt.y);
    int first = -1;
    for (int x = 0; x < 24 && first < 0; ++x)
      if (Reddish(At(*t, x, 12))) first = x;
    EXPECT_EQ(first, c.glyphLeft);
  }
}

// The four layouts with a caption that fits and one that does not: the
// glyph sits on its layout's side of the text, and the text stays out of
// the glyph.
TEST_F(FacePictures, LayoutsAndLongCaptions) {
  const std::string dir = std::string(ZEL_BINARY_DIR) + "/pictures";
  std::filesystem::create_directories(dir);
  constexpr int kW = 72, kH = 48, kScale = 3, kGap = 4;
  const char* captions[] = {"Окно", "Очень длинная подпись кнопки"};
  sys::Surface sheet((kW + kGap) * 4 * kScale, (kH + kGap) * 2 * kScale, 0xFFB0C4DEu);
  for (int row = 0; row < 2; ++row)
    for (int layout = 0; layout < 4; ++layout) {
      SCOPED_TRACE(testing::Message() << captions[row] << ", layout " << layout);
      auto f = Face(ZelSingleBorder);
      f->SetWidth(kW);
      f->SetHeight(kH);
      f->SetLayout(uint8_t(layout));
      f->SetHot(true);
      f->SetCaption(captions[row]);
      auto t = DrawOn(*f, clBtnFace);
      sys::RECT glyph{kW, kH, 0, 0}, text{kW, kH, 0, 0};
      auto grow = [](sys::RECT& r, int x, int y) {
        r.left = std::min<int>(r.left, x);
        r.top = std::min<int>(r.top, y);
        r.right = std::max<int>(r.right, x + 1);
        r.bottom = std::max<int>(r.bottom, y + 1);
      };
      for (int y = 2; y < kH - 2; ++y)
        for (int x = 2; x < kW - 2; ++x) {
          const uint32_t p = At(*t, x, y);
          if (Reddish(p))
            grow(glyph, x, y);
          else if (((p >> 8) & 0xFF) < 0x80)
            grow(text, x, y); // dark text
        }
      ASSERT_LT(glyph.left, glyph.right);
      ASSERT_LT(text.left, text.right) << "no caption drawn";
      switch (layout) {
      case 0:
        EXPECT_LE(glyph.right, text.left);
        break;
      case 1:
        EXPECT_LE(text.right, glyph.left);
        break;
      case 2:
        EXPECT_LE(glyph.bottom, text.top);
        break;
      default:
        EXPECT_LE(text.bottom, glyph.top);
        break;
      }
      const int ox = layout * (kW + kGap), oy = row * (kH + kGap);
      for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
          for (int d = 0; d < kScale * kScale; ++d)
            sheet.At((ox + x) * kScale + d % kScale, (oy + y) * kScale + d / kScale) =
                t->ScanLine(y)[x] | 0xFF000000u;
    }
  EXPECT_TRUE(sys::WritePng(sheet, dir + "/bitop_layouts.png"));
}

} // namespace
} // namespace zel::test
