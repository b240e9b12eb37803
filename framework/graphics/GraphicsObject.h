#pragma once
// The base of fonts, pens and brushes: a persistent object that owns one
// drawing object of the system layer, made on first need and made again
// after any change, and that tells its user (normally a canvas) of changes.

#include "framework/core/Persistent.h"
#include "framework/graphics/GraphicsTypes.h"
#include "platform/gdi/Gdi.h"

namespace zel {

class TGraphicsObject : public TPersistent {
  ZEL_CLASS(TGraphicsObject, TPersistent)
public:
  TGraphicsObject() = default;
  TGraphicsObject(const TGraphicsObject&) = delete;
  TGraphicsObject& operator=(const TGraphicsObject&) = delete;
  ~TGraphicsObject() override;

  TNotifyEvent OnChange;

  // True while a drawing object made from the current settings exists.
  bool HandleAllocated() const { return FHandle != nullptr && !FStale; }

protected:
  // Marks the drawing object out of date and raises OnChange.  The object is
  // not deleted here: a canvas that has it selected gives it back in its
  // OnChange handler, and the next request for the handle deletes it.
  virtual void Changed();
  // Raises OnChange for a setting that the drawing object does not hold
  // (a font's colour), so the object is kept.
  void NotifyChanged() {
    if (OnChange) OnChange(this);
  }
  // The current drawing object, made by CreateHandle when there is none or
  // the settings have changed since.
  sys::HGDIOBJ GetHandle();
  virtual sys::HGDIOBJ CreateHandle() = 0;

private:
  void DeleteHandle();
  sys::HGDIOBJ FHandle = nullptr;
  bool FStale = false;
};

} // namespace zel
