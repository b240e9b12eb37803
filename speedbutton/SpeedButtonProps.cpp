// The published properties of the glyph set and of the button, with the
// defaults that persistence omits.

#include "speedbutton/SpeedButtonZel.h"

namespace zel {

void TGliphs::DeclareProperties(TPropertyTable<TGliphs>& t) {
  t.Add("ImageIndexNormal", "TImageIndex", &TGliphs::ImageIndexNormal,
        &TGliphs::SetImageIndexNormal)
      .Default = -1;
  t.Add("ImageIndexPush", "TImageIndex", &TGliphs::ImageIndexPush, &TGliphs::SetImageIndexPush)
      .Default = -1;
  t.Add("ImageIndexCheck", "TImageIndex", &TGliphs::ImageIndexCheck, &TGliphs::SetImageIndexCheck)
      .Default = -1;
  t.Add("ImageIndexNormalHot", "TImageIndex", &TGliphs::ImageIndexNormalHot,
        &TGliphs::SetImageIndexNormalHot)
      .Default = -1;
  t.Add("ImageIndexCheckHot", "TImageIndex", &TGliphs::ImageIndexCheckHot,
        &TGliphs::SetImageIndexCheckHot)
      .Default = -1;
  t.Add("ImageIndexDisable", "TImageIndex", &TGliphs::ImageIndexDisable,
        &TGliphs::SetImageIndexDisable)
      .Default = -1;
  t.Add("ImageIndexCheckDisable", "TImageIndex", &TGliphs::ImageIndexCheckDisable,
        &TGliphs::SetImageIndexCheckDisable)
      .Default = -1;
}

void TSpeedButtonZel::DeclareProperties(TPropertyTable<TSpeedButtonZel>& t) {
  t.Add("AutoCheck", &TSpeedButtonZel::AutoCheck, &TSpeedButtonZel::SetAutoCheck).Default = 0;
  t.AddEnum("Border", "TZelButtonBorder", &TSpeedButtonZel::Border, &TSpeedButtonZel::SetBorder,
            {"ZelSingleBorder", "ZelFlatBorder", "ZelNoBorder", "ZelXPBorder"})
      .Default = ZelSingleBorder;
  t.Add("Blend", "Byte", &TSpeedButtonZel::Blend, &TSpeedButtonZel::SetBlend).Default = 255;
  t.AddEnum("ButtonKind", "TZelButtonKind", &TSpeedButtonZel::ButtonKind,
            &TSpeedButtonZel::SetButtonKind,
            {"ZelBKImage", "ZelBKNone", "ZelBKLeftChevron", "ZelBKRightChevron", "ZelBKUpChevron",
             "ZelBKDownChevron", "ZelBKLeftArrow", "ZelBKRightArrow", "ZelBKUpArrow",
             "ZelBKDownArrow", "ZelBkCheck", "ZelBkCheckShadow", "ZelBKBulets"})
      .Default = ZelBKImage;
  t.Add("Checked", &TSpeedButtonZel::Checked, &TSpeedButtonZel::SetChecked).Default = 0;
  t.AddColor("BtnFrameColor", &TSpeedButtonZel::BtnFrameColor, &TSpeedButtonZel::SetBtnFrameColor)
      .Default = 0xC66931;
  t.AddColor("SelectedColor", &TSpeedButtonZel::SelectedColor, &TSpeedButtonZel::SetSelectedColor)
      .Default = 0xEFD3C6;
  t.Add("Gliphs", &TSpeedButtonZel::Gliphs, &TSpeedButtonZel::SetGliphs);
  t.Add("ImageList", &TSpeedButtonZel::ImageList, &TSpeedButtonZel::SetImageList);
  t.Add("Transparent", &TSpeedButtonZel::Transparent, &TSpeedButtonZel::SetTransparent).Default = 0;
  t.AddEnum("Layout", "TButtonLayout", &TSpeedButtonZel::Layout, &TSpeedButtonZel::SetLayout,
            {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"})
      .Default = blGlyphLeft;
  // The omitted value is the one a new button has, so that no stored
  // spacing reads back as another.
  t.Add("Spacing", "Byte", &TSpeedButtonZel::Spacing, &TSpeedButtonZel::SetSpacing).Default = 2;
  t.AddEnum("Style", "TZelButtonStyle", &TSpeedButtonZel::Style, &TSpeedButtonZel::SetStyle,
            {"cbsNormal", "cbsDropDown", "cbsDropRight", "cbsDrop"})
      .Default = cbsNormal;
}

} // namespace zel
