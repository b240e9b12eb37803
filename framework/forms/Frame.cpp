// TFrame: a container control that other controls are built into.

#include "framework/forms/Frame.h"

namespace zel {

TFrame::TFrame(TComponent* owner) : TWinControl(owner) {
  FControlStyle += csAcceptsControls;
  FControlStyle += csSetCaption;
  SetBounds(0, 0, 320, 240);
  SetTabStop(true);
}

} // namespace zel
