#include "framework/graphics/GraphicsObject.h"

namespace zel {

TGraphicsObject::~TGraphicsObject() {
  DeleteHandle();
}

void TGraphicsObject::Changed() {
  if (FHandle) FStale = true;
  if (OnChange) OnChange(this);
}

sys::HGDIOBJ TGraphicsObject::GetHandle() {
  if (FHandle && FStale) DeleteHandle();
  if (!FHandle) FHandle = CreateHandle();
  return FHandle;
}

void TGraphicsObject::DeleteHandle() {
  // Stock objects ignore DeleteObject, so every handle can go the same way.
  if (FHandle) sys::DeleteObject(FHandle);
  FHandle = nullptr;
  FStale = false;
}

} // namespace zel
