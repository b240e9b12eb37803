// Renders a sheet of sample texts (sizes, weights, turned text, ellipses,
// Cyrillic) to pictures/text_sheet.png so a person can judge legibility.

#include <filesystem>

#include "platform/gdi/Png.h"
#include "tests/platform/text/TextFixture.h"

namespace zel::sys::testing {
namespace {

class TextSheetTest : public TextTest {
protected:
  void Label(int x, int y, LONG height, LONG weight, const std::string& text, LONG esc = 0,
             BYTE italic = 0, BYTE underline = 0) {
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfEscapement = esc;
    lf.lfItalic = italic;
    lf.lfUnderline = underline;
    lf.lfFaceName = "Tahoma";
    UseFont(lf);
    TextOut(dc_, x, y, text);
  }
};

TEST_F(TextSheetTest, SampleSheet) {
  int y = 4;
  for (LONG h : {-10, -11, -16}) {
    Label(4, y, h, FW_NORMAL, kSettings + " · Форма 1 · Главное меню");
    y += Metrics().tmHeight + 2;
    Label(4, y, h, FW_BOLD, kSettings + " · Файл Правка Вид");
    y += Metrics().tmHeight + 2;
  }
  Label(4, y, -11, FW_NORMAL, "Italic курсив, underline", 0, 1, 1);
  y += Metrics().tmHeight + 4;

  UseFont(-11);
  SetTextColor(dc_, RGB(0, 0, 128));
  SetBkMode(dc_, OPAQUE);
  SetBkColor(dc_, RGB(0xDB, 0xE1, 0xE2));
  RECT r{4, y, 124, y + 14};
  DrawText(dc_, kSettings, &r, DT_SINGLELINE | DT_END_ELLIPSIS);
  r = RECT{130, y, 300, y + 14};
  DrawText(dc_, "C:\\Документы\\Проекты\\отчёт.txt", &r, DT_SINGLELINE | DT_PATH_ELLIPSIS);
  y += 18;
  r = RECT{4, y, 110, y + 60};
  SetBkMode(dc_, TRANSPARENT);
  DrawText(dc_, "Слово за словом переносится по &ширине", &r, DT_WORDBREAK | DT_CENTER);
  SetTextColor(dc_, RGB(0, 0, 0));

  // Turned captions, as a docking grabber draws them.
  Label(330, 190, -10, FW_NORMAL, kSettings, 900);
  Label(350, 4, -11, FW_NORMAL, "Форма 1", 2700);
  Label(398, 190, -11, FW_NORMAL, "Главное", 1800);
  Label(200, 190, -16, FW_NORMAL, "Под углом 30°", 300);

  const std::string dir = std::string(ZEL_BINARY_DIR) + "/pictures";
  std::filesystem::create_directories(dir);
  EXPECT_TRUE(WritePng(Target(), dir + "/text_sheet.png"));
  // A copy three times as large shows the antialiasing pixel by pixel.
  Surface big(kWidth * 3, kHeight * 3);
  for (int yy = 0; yy < big.Height(); ++yy)
    for (int xx = 0; xx < big.Width(); ++xx)
      big.At(xx, yy) = Target().At(xx / 3, yy / 3);
  EXPECT_TRUE(WritePng(big, dir + "/text_sheet_x3.png"));
}

} // namespace
} // namespace zel::sys::testing
