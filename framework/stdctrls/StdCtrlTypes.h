#pragma once
// Small value types shared by the standard controls and the controls built
// on them: text alignment and layout, glyph placement on buttons, image
// indexes, orientation and scroll-bar kinds.

#include "framework/forms/FormTypes.h"

namespace zel {

// Where a button puts its glyph relative to its caption.
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// An index into an image list; -1 means no image.
using TImageIndex = int;

// Horizontal placement of a caption.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// Vertical placement of a caption.
enum TTextLayout { tlTop, tlCenter, tlBottom };

enum TOrientation { toHorizontal, toVertical };

enum TScrollBarKind { sbHorizontal, sbVertical };

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// A control's border: bsNone or bsSingle of the forms' border styles.
using TBorderStyle = TFormBorderStyle;

} // namespace zel
