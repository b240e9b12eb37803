#pragma once
// TColorDialog: a modal dialog to pick any colour.  It offers a palette of
// basic colours, sixteen custom colours, a field of hue (across) and
// saturation (up) with a luminance bar beside it, red, green and blue entry
// fields and a preview, with OK and Cancel.  Execute returns true and sets
// Color when the person confirms.

#include <functional>
#include <memory>

#include "framework/core/Component.h"
#include "framework/core/Strings.h"
#include "framework/forms/Form.h"

namespace zel {

class TColorDialog : public TComponent {
  ZEL_CREATABLE_CLASS(TColorDialog, TComponent)
public:
  explicit TColorDialog(TComponent* owner);
  ~TColorDialog() override;

  TColor Color() const { return FColor; }
  void SetColor(TColor value) { FColor = value; }
  // "ColorA=BBGGRR" ... "ColorP=...", hexadecimal, as the dialog keeps them.
  TStrings* CustomColors() { return FCustomColors.get(); }
  bool Execute();

  TNotifyEvent OnShow;
  TNotifyEvent OnClose;

private:
  TColor FColor = clBlack;
  std::unique_ptr<TStringList> FCustomColors;
};

// With a hook installed Execute asks it instead of showing the dialog (for
// programs without a person, and for tests); an empty hook shows the form.
using TColorDialogHook = std::function<bool(TColor& color)>;
void SetColorDialogHook(TColorDialogHook hook);

class TColorPalette;
class THueSatField;
class TLuminanceBar;
class TNumberEdit;
class TPanel;

// The dialog's form; Execute shows it modally.  Exposed so that its parts
// can be driven directly.
class TColorDialogForm : public TForm {
  ZEL_CREATABLE_CLASS(TColorDialogForm, TForm)
public:
  explicit TColorDialogForm(TComponent* owner);

  TColor Color() const;
  // Shows a colour everywhere (fields, bar, entries, preview).
  void SetColor(TColor color);
  int Hue() const { return FHue; }
  int Saturation() const { return FSat; }
  int Luminance() const { return FLum; }
  void SetHLS(int hue, int lum, int sat);

  TColorPalette* BasicColors() const { return FBasic; }
  TColorPalette* CustomColorsPalette() const { return FCustom; }
  THueSatField* Field() const { return FField; }
  TLuminanceBar* LumBar() const { return FLumBar; }
  TNumberEdit* RedEdit() const { return FRed; }
  TNumberEdit* GreenEdit() const { return FGreen; }
  TNumberEdit* BlueEdit() const { return FBlue; }
  TControl* OkButton() const { return FOk; }
  TControl* CancelButton() const { return FCancel; }
  // Puts the current colour into the selected (or next) custom slot.
  void AddCustomColor();

protected:
  void KeyDown(sys::WORD& key, TShiftState shift) override;

private:
  void RgbEdited();
  void Refresh(bool fromRgb);

  TColorPalette* FBasic = nullptr;
  TColorPalette* FCustom = nullptr;
  THueSatField* FField = nullptr;
  TLuminanceBar* FLumBar = nullptr;
  TPanel* FPreview = nullptr;
  TNumberEdit* FRed = nullptr;
  TNumberEdit* FGreen = nullptr;
  TNumberEdit* FBlue = nullptr;
  TControl* FOk = nullptr;
  TControl* FCancel = nullptr;
  int FHue = 0, FLum = 0, FSat = 0;
  sys::COLORREF FRgb = 0;
  bool FUpdating = false;
  int FNextCustom = 0;
};

} // namespace zel
