#pragma once
// The colour property grid of the colour-map editor: one row per published
// TColor property of the current colour map, the property's name on the
// left, a swatch and the colour's name on the right.  The properties are
// found through the map's published-property table, so the grid follows
// whichever colour-map class is current.  TFrameColorMap's grid operations
// live in ColorPropertyGrid.cpp.

#include <vector>

#include "framework/core/Properties.h"
#include "framework/graphics/Colors.h"
#include "framework/stdctrls/ValueListEditor.h"

namespace zel {

class TFrameColorMap;

namespace UnitFrameColorMap {

// The frame's grid: the framework's value-list editor under the same class
// name, which also moves the colour editor along when a column is sized.
class TValueListEditor : public zel::TValueListEditor {
  ZEL_CREATABLE_CLASS(TValueListEditor, zel::TValueListEditor)
public:
  using zel::TValueListEditor::TValueListEditor;

protected:
  void ColWidthsChanged() override;
};

} // namespace UnitFrameColorMap

// The published properties of object whose type is named "TColor" (compared
// in upper case), base classes first, in declaration order.
std::vector<const TPropInfo*> ColorProperties(const TObject& object);

// The frame colour of a swatch of colour c (an RGB value): black around a
// light colour (any of red, green or blue above 192), white around a dark
// one in a selected cell, otherwise the colour itself (no visible frame).
TColor SwatchFrameColor(TColor c, TGridDrawState state);

} // namespace zel
