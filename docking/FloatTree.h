#pragma once
// The registry of floating placements: for every docked control that has
// floated, the bounds and visibility of its floating form, kept under a key
// made of the control's owner chain, saved to and loaded from a stream.
// Also the lookup that finds a docked control again by a saved name or key.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/Object.h"
#include "platform/Types.h"

namespace zel {

class TComponent;
class TControl;
class TStream;
class TStringList;
class TWinControl;

// One placement record; 24 bytes in a stream (Size, the four bounds, the
// Visible byte and three zero bytes).
struct TFloatPlacement {
  int32_t Size = 24;
  sys::RECT Bounds{}; // the floating form's bounds in screen coordinates
  bool Visible = false;
};

class TFloatTreeZel : public TObject {
  ZEL_CLASS(TFloatTreeZel, TObject)
public:
  static constexpr int32_t Version = 3;
  static constexpr int32_t RecordSize = 24;

  TFloatTreeZel();
  ~TFloatTreeZel() override;

  // The key of a control: its owner chain's upper-cased names, ";", their
  // upper-cased class names; empty when no component of the chain has a name.
  static std::string MakeKey(const TComponent* control);

  bool Find(const TControl* control, TFloatPlacement& placement) const;
  // A new key gets a new record; an existing key's record is overwritten.
  void Put(const std::string& key, const TFloatPlacement& placement);
  void RecordControl(const TControl* control, const sys::RECT& bounds, bool visible);
  // Records the form's first control with the form's bounds.
  void RecordForm(TWinControl* form);
  // Gives the form the saved placement of its first control, fitted on the
  // screen; false (nothing changed) when there is none.
  bool Restore(TWinControl* form);

  int Count() const;
  std::string Keys(int index) const;

  // Nothing happens for a missing stream.
  virtual void SaveToStream(TStream* stream);
  // Merges the stream's entries; nothing happens for a missing or empty
  // stream.  A bad version or record size raises with the stream set back to
  // the field; entries read before stay.
  virtual void LoadFromStream(TStream* stream);

private:
  std::unique_ptr<TStringList> FKeys; // sorted; Data = index into FRecords
  std::vector<TFloatPlacement> FRecords;
};

// The program's one registry, made on first use.
TFloatTreeZel* FloatTree();
// Frees the registry (unit shut-down); the next FloatTree makes a new one.
void FreeFloatTree();

// Moves R so that at least half of it (rounded down) lies on a screen of the
// given size in each direction.
sys::RECT FitOnScreen(const sys::RECT& R, int ScreenWidth, int ScreenHeight);
// A saved floating placement as Restore applies it: an extent below the
// smallest window size keeps the present one, an extent beyond the work area
// (the screen less a window manager's panels) becomes the work area's, and the
// result is fitted in it.  Any values
// are taken without overflow.
sys::RECT BoundedPlacement(const sys::RECT& saved, int presentWidth, int presentHeight);

// Finds a control by name, or by a float-tree key (names ";" classes), among
// the components of root and, depth first, of everything root owns; dock
// forms are not searched.  nullptr when nothing matches.
TControl* FindDockedControl(const std::string& name, TComponent* root);

} // namespace zel
