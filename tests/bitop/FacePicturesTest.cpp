// Writes every border kind in every state as enlarged pictures, one sheet
// per kind, for people to look at; checks only that each face was drawn.

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

TEST_F(FacePictures, EveryBorderAndState) {
  const std::string dir = std::string(ZEL_BINARY_DIR) + "/pictures";
  std::filesystem::create_directories(dir);
  constexpr int kSide = 24, kScale = 4, kGap = 4;
  const char* names[] = {"single", "flat", "none", "xp"};
  // Rows: image glyph, built-in chevron, image glyph with a caption.
  constexpr int kRows = 3, kCols = int(std::size(kStates));
  const int cellW = kSide * 3 + kGap;
  sys::Surface sheet((cellW * kCols) * kScale, (kSide + kGap) * kRows * 4 * kScale, 0xFFB0C4DEu);
  for (int border = 0; border < 4; ++border) {
    for (int row = 0; row < kRows; ++row) {
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
        const int ox = col * cellW, oy = ((border * kRows) + row) * (kSide + kGap);
        for (int y = 0; y < t->Height(); ++y)
          for (int x = 0; x < t->Width(); ++x)
            for (int dy = 0; dy < kScale; ++dy)
              for (int dx = 0; dx < kScale; ++dx)
                sheet.At((ox + x) * kScale + dx, (oy + y) * kScale + dy) =
                    t->ScanLine(y)[x] | 0xFF000000u;
      }
    }
    (void)names;
  }
  EXPECT_TRUE(sys::WritePng(sheet, dir + "/bitop_faces.png"));
}

// The four layouts with a caption that fits and one that does not.
TEST_F(FacePictures, LayoutsAndLongCaptions) {
  const std::string dir = std::string(ZEL_BINARY_DIR) + "/pictures";
  std::filesystem::create_directories(dir);
  constexpr int kW = 72, kH = 48, kScale = 3, kGap = 4;
  const char* captions[] = {"Окно", "Очень длинная подпись кнопки"};
  sys::Surface sheet((kW + kGap) * 4 * kScale, (kH + kGap) * 2 * kScale, 0xFFB0C4DEu);
  for (int row = 0; row < 2; ++row)
    for (int layout = 0; layout < 4; ++layout) {
      auto f = Face(ZelSingleBorder);
      f->SetWidth(kW);
      f->SetHeight(kH);
      f->SetLayout(uint8_t(layout));
      f->SetHot(true);
      f->SetCaption(captions[row]);
      auto t = DrawOn(*f, clBtnFace);
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
