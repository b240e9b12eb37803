// TColorDialog and its form.

#include "framework/stdctrls/ColorDialog.h"

#include <algorithm>
#include <cstdio>

#include "framework/stdctrls/ColorDialogParts.h"
#include "framework/stdctrls/Label.h"
#include "framework/stdctrls/Panel.h"

namespace zel {

using namespace sys;

namespace {

TColorDialogHook gHook;

// The basic palette: five rows of eight hues from light to dark, and a row
// of greys from black to white.
std::vector<TColor> BasicPalette() {
  std::vector<TColor> colors;
  const int hues[8] = {0, 20, 40, 80, 120, 140, 160, 200};
  const int lums[5] = {200, 160, 120, 80, 45};
  for (int lum : lums)
    for (int hue : hues)
      colors.push_back(TColor(ColorHLSToRGB(hue, lum, HLSMAX)));
  for (int i = 0; i < 8; ++i) {
    const int v = i * 255 / 7;
    colors.push_back(TColor(v | (v << 8) | (v << 16)));
  }
  return colors;
}

std::string CustomKey(int i) {
  return std::string("Color") + char('A' + i);
}

} // namespace

void SetColorDialogHook(TColorDialogHook hook) {
  gHook = std::move(hook);
}

// ---- TColorDialog ------------------------------------------------------------------

TColorDialog::TColorDialog(TComponent* owner)
    : TComponent(owner), FCustomColors(std::make_unique<TStringList>()) {}

TColorDialog::~TColorDialog() = default;

bool TColorDialog::Execute() {
  if (gHook) {
    TColor c = FColor;
    if (!gHook(c)) return false;
    FColor = c;
    return true;
  }
  TColorDialogForm form(nullptr);
  // The custom colours come from the list and go back to it.
  for (int i = 0; i < 16; ++i) {
    const std::string v = FCustomColors->Values(CustomKey(i));
    if (!v.empty()) {
      if (auto c = TryStringToColor("$" + v)) form.CustomColorsPalette()->SetColors(i, *c);
    }
  }
  form.SetColor(FColor);
  if (OnShow) OnShow(this);
  const bool ok = form.ShowModal() == mrOk;
  if (OnClose) OnClose(this);
  for (int i = 0; i < 16; ++i) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%06X",
                  unsigned(form.CustomColorsPalette()->Colors(i)) & 0xFFFFFF);
    FCustomColors->SetValues(CustomKey(i), buf);
  }
  if (ok) FColor = form.Color();
  return ok;
}

// ---- TColorDialogForm ----------------------------------------------------------------

TColorDialogForm::TColorDialogForm(TComponent* owner) : TForm(owner) {
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetCaption("Цвет");
  SetKeyPreview(true);
  SetClientSize(436, 296);
  auto label = [this](const char* text, int x, int y) {
    auto* l = new TLabel(this);
    l->SetCaption(text);
    l->SetLeft(x);
    l->SetTop(y);
    l->SetParent(this);
    return l;
  };
  label("&Основные цвета:", 8, 8);
  FBasic = new TColorPalette(this, 8, BasicPalette());
  FBasic->SetLeft(8);
  FBasic->SetTop(24);
  FBasic->SetParent(this);
  FBasic->OnSelect = [this](TObject*) { SetColor(FBasic->Colors(FBasic->Selected())); };
  label("&Дополнительные цвета:", 8, 158);
  FCustom = new TColorPalette(this, 8, std::vector<TColor>(16, clWhite));
  FCustom->SetLeft(8);
  FCustom->SetTop(174);
  FCustom->SetParent(this);
  FCustom->OnSelect = [this](TObject*) {
    FNextCustom = FCustom->Selected();
    SetColor(FCustom->Colors(FCustom->Selected()));
  };
  auto* add = new TPushButton(this, mrNone);
  add->SetCaption("Добавить в набор");
  add->SetBounds(8, 226, 192, 25);
  add->SetParent(this);
  add->OnClick = [this](TObject*) { AddCustomColor(); };

  FField = new THueSatField(this);
  FField->SetLeft(212);
  FField->SetTop(8);
  FField->SetParent(this);
  FField->OnChange = [this](TObject*) { SetHLS(FField->Hue(), FLum, FField->Saturation()); };
  FLumBar = new TLuminanceBar(this);
  FLumBar->SetLeft(400);
  FLumBar->SetTop(8);
  FLumBar->SetParent(this);
  FLumBar->OnChange = [this](TObject*) { SetHLS(FHue, FLumBar->Luminance(), FSat); };

  FPreview = new TPanel(this);
  FPreview->SetBounds(212, 178, 64, 71);
  FPreview->SetPanelBevelOuter(bvLowered);
  FPreview->SetCaption("");
  FPreview->SetParent(this);
  const char* names[3] = {"&Красный:", "&Зелёный:", "&Синий:"};
  TNumberEdit** edits[3] = {&FRed, &FGreen, &FBlue};
  for (int i = 0; i < 3; ++i) {
    auto* e = new TNumberEdit(this, 0, 255);
    e->SetBounds(364, 178 + i * 25, 60, 21);
    e->SetParent(this);
    e->OnChange = [this](TObject*) { RgbEdited(); };
    *edits[i] = e;
    TLabel* l = label(names[i], 288, 181 + i * 25);
    l->SetFocusControl(e);
  }
  auto* ok = new TPushButton(this, mrOk);
  ok->SetCaption("OK");
  ok->SetBounds(268, 262, 75, 25);
  ok->SetParent(this);
  FOk = ok;
  auto* cancel = new TPushButton(this, mrCancel);
  cancel->SetCaption("Отмена");
  cancel->SetBounds(349, 262, 75, 25);
  cancel->SetParent(this);
  FCancel = cancel;
  SetActiveControl(ok);
  SetColor(clBlack);
}

TColor TColorDialogForm::Color() const {
  return TColor(FRgb);
}

void TColorDialogForm::SetColor(TColor color) {
  FRgb = ColorToColorRef(color);
  const THLS hls = ColorRGBToHLS(FRgb);
  FHue = hls.hue;
  FLum = hls.luminance;
  FSat = hls.saturation;
  Refresh(true);
}

void TColorDialogForm::SetHLS(int hue, int lum, int sat) {
  FHue = std::clamp(hue, 0, HLSMAX - 1);
  FLum = std::clamp(lum, 0, HLSMAX);
  FSat = std::clamp(sat, 0, HLSMAX);
  FRgb = ColorHLSToRGB(FHue, FLum, FSat);
  Refresh(false);
}

void TColorDialogForm::RgbEdited() {
  if (FUpdating) return;
  FRgb = COLORREF(FRed->Value() | (FGreen->Value() << 8) | (FBlue->Value() << 16));
  const THLS hls = ColorRGBToHLS(FRgb);
  FHue = hls.hue;
  FLum = hls.luminance;
  FSat = hls.saturation;
  Refresh(true);
}

// Every part shows the current colour; the entry fields are not written
// back while they are the source of the change.
void TColorDialogForm::Refresh(bool) {
  FUpdating = true;
  FField->SetValues(FHue, FSat);
  FLumBar->SetHueSat(FHue, FSat);
  FLumBar->SetLuminance(FLum);
  FRed->SetValue(int(FRgb & 0xFF));
  FGreen->SetValue(int((FRgb >> 8) & 0xFF));
  FBlue->SetValue(int((FRgb >> 16) & 0xFF));
  FPreview->SetColor(TColor(FRgb));
  FUpdating = false;
}

void TColorDialogForm::AddCustomColor() {
  const int slot = std::clamp(FNextCustom, 0, FCustom->Count() - 1);
  FCustom->SetColors(slot, TColor(FRgb));
  FCustom->SetSelected(slot);
  FNextCustom = (slot + 1) % FCustom->Count();
}

void TColorDialogForm::KeyDown(WORD& key, TShiftState shift) {
  if (key == VK_ESCAPE) {
    key = 0;
    SetModalResult(mrCancel);
    return;
  }
  if (key == VK_RETURN) {
    key = 0;
    SetModalResult(mrOk);
    return;
  }
  TForm::KeyDown(key, shift);
}

} // namespace zel
