#pragma once
// TScreen: the screen's size, the forms that exist, the active form and
// control, and the program-wide cursor.  The application object owns the
// one instance; the global Screen points to it.

#include <vector>

#include "framework/controls/ControlTypes.h"
#include "framework/core/Component.h"

namespace zel {

class TCustomForm;
class TWinControl;

class TScreen : public TComponent {
  ZEL_CLASS(TScreen, TComponent)
public:
  explicit TScreen(TComponent* owner);
  ~TScreen() override;

  int Width() const;
  int Height() const;
  sys::RECT WorkAreaRect() const;

  int FormCount() const { return int(FForms.size()); }
  TCustomForm* Forms(int index) const;
  // The top-level form that is active, and the focused control.
  TCustomForm* ActiveForm() const;
  TCustomForm* ActiveCustomForm() const { return ActiveForm(); }
  TWinControl* ActiveControl() const;
  // crDefault lets each control show its own cursor.
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor c);

  TNotifyEvent OnActiveFormChange;
  TNotifyEvent OnActiveControlChange;

  void AddForm(TCustomForm* form);
  void RemoveForm(TCustomForm* form);

private:
  std::vector<TCustomForm*> FForms;
  TCursor FCursor = crDefault;
};

// The screen object, or nullptr when no application object exists.
extern TScreen* Screen;

} // namespace zel
