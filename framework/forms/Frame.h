#pragma once
// TFrame: an embeddable container.  A frame of the system is a descendant
// whose constructor builds its children with a builder function kept in its
// own file; it may be placed on a form, on another frame, or docked.

#include "framework/controls/WinControl.h"

namespace zel {

class TFrame : public TWinControl {
  ZEL_CREATABLE_CLASS(TFrame, TWinControl)
public:
  explicit TFrame(TComponent* owner);
};

} // namespace zel
