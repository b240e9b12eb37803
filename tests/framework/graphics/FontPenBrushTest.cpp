#include "framework/graphics/Brush.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Pen.h"

#include <gtest/gtest.h>

#include "framework/core/Exceptions.h"

namespace zel {
namespace {

TEST(Font, SizeAndHeightFollowEachOtherAt96Dpi) {
  TFont font;
  EXPECT_EQ(font.Height(), -11);
  EXPECT_EQ(font.Size(), 8);
  font.SetSize(12);
  EXPECT_EQ(font.Height(), -16);
  font.SetSize(9);
  EXPECT_EQ(font.Height(), -12);
  font.SetHeight(-13);
  EXPECT_EQ(font.Size(), 10);
  font.SetHeight(20); // a cell height reads back as a negative size
  EXPECT_EQ(font.Size(), -15);
}

TEST(Font, HandleIsMadeAgainOnlyWhenTheFontObjectChanges) {
  TFont font;
  int changes = 0;
  font.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &font);
    ++changes;
  };
  EXPECT_FALSE(font.HandleAllocated());
  sys::HFONT first = font.Handle();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(font.Handle(), first) << "an unchanged font keeps its object";
  EXPECT_EQ(first->logFont.lfHeight, -11);
  EXPECT_EQ(first->logFont.lfWeight, sys::FW_NORMAL);

  font.SetStyle({fsBold, fsItalic});
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(font.HandleAllocated());
  sys::HFONT bold = font.Handle();
  EXPECT_EQ(bold->logFont.lfWeight, sys::FW_BOLD);
  EXPECT_EQ(bold->logFont.lfItalic, 1);
  EXPECT_EQ(bold->logFont.lfUnderline, 0);

  font.SetColor(clRed); // the colour belongs to the context, not the font object
  EXPECT_EQ(changes, 2);
  EXPECT_TRUE(font.HandleAllocated());

  font.SetStyle({fsBold, fsItalic}); // unchanged: no notification
  font.SetName("");                  // refused
  EXPECT_EQ(changes, 2);

  font.SetName("Verdana");
  font.SetOrientation(900);
  font.SetCharset(sys::RUSSIAN_CHARSET);
  EXPECT_EQ(changes, 5);
  const sys::LOGFONT& lf = font.Handle()->logFont;
  EXPECT_EQ(lf.lfFaceName, "Verdana");
  EXPECT_EQ(lf.lfEscapement, 900);
  EXPECT_EQ(lf.lfCharSet, sys::RUSSIAN_CHARSET);
}

TEST(Font, NamesAreCutAt31Characters) {
  TFont font;
  font.SetName(std::string(40, 'x'));
  EXPECT_EQ(font.Name().size(), 31u);
  // Two-byte characters are not split.
  std::string cyrillic;
  for (int i = 0; i < 40; ++i)
    cyrillic += "ж";
  font.SetName(cyrillic);
  EXPECT_EQ(font.Name().size(), 62u);
}

TEST(Font, AssignCopiesEverythingWithOneNotification) {
  TFont a, b;
  a.SetName("Arial");
  a.SetSize(14);
  a.SetStyle({fsUnderline});
  a.SetColor(clBlue);
  int changes = 0;
  b.OnChange = [&](TObject*) { ++changes; };
  b.Assign(&a);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(b.Name(), "Arial");
  EXPECT_EQ(b.Height(), a.Height());
  EXPECT_EQ(b.Style(), TFontStyles{fsUnderline});
  EXPECT_EQ(b.Color(), clBlue);
  TPen pen;
  EXPECT_THROW(b.Assign(&pen), EConvertError);
}

TEST(PenAndBrush, SettingsReachTheirObjects) {
  TPen pen;
  EXPECT_EQ(pen.Handle()->width, 1);
  pen.SetWidth(0);
  EXPECT_EQ(pen.Width(), 1);
  pen.SetWidth(3);
  pen.SetColor(clBtnShadow);
  EXPECT_EQ(pen.Handle()->width, 3);
  EXPECT_EQ(pen.Handle()->color, sys::RGB(182, 182, 182)) << "system colours are resolved";
  pen.SetStyle(psClear);
  EXPECT_EQ(pen.Handle()->style, sys::PS_NULL);

  TBrush brush;
  EXPECT_EQ(brush.Handle()->color, sys::RGB(255, 255, 255));
  brush.SetStyle(bsClear);
  EXPECT_EQ(brush.Handle()->style, sys::BS_NULL);
  brush.SetColor(clRed); // a colour makes the brush solid again
  EXPECT_EQ(brush.Style(), bsSolid);
  EXPECT_EQ(brush.Handle()->color, sys::RGB(255, 0, 0));

  TBrush copy;
  copy.Assign(&brush);
  EXPECT_EQ(copy.Color(), clRed);
  TPen penCopy;
  penCopy.Assign(&pen);
  EXPECT_EQ(penCopy.Width(), 3);
  EXPECT_EQ(penCopy.Style(), psClear);
}

TEST(PenAndBrush, PublishedPropertiesCarryColoursAsTColor) {
  const auto& props = TFont::StaticClass().Properties();
  bool sawColor = false;
  for (const TPropInfo* p : props) {
    if (p->Name == "Color") {
      sawColor = true;
      EXPECT_EQ(p->TypeName, "TColor");
    }
  }
  EXPECT_TRUE(sawColor);
}

} // namespace
} // namespace zel
