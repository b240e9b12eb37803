#pragma once
// The small value types of the graphics classes.

#include <cstdint>
#include <functional>

#include "framework/core/Set.h"
#include "platform/gdi/GdiTypes.h"

namespace zel {

class TObject;

// Redeclared with the same type wherever the framework needs it.
using TNotifyEvent = std::function<void(TObject*)>;

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
using TFontCharset = uint8_t;
enum TFontPitch { fpDefault, fpVariable, fpFixed };

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode { pmCopy, pmNotCopy, pmXor, pmNot };
enum TBrushStyle { bsSolid, bsClear };

// pfDevice is the device's own depth, which is 32 bits here.
enum TPixelFormat { pfDevice, pf24bit, pf32bit };
enum TTransparentMode { tmAuto, tmFixed };

// A raster operation of the blits (SRCCOPY, ...).
using TCopyMode = uint32_t;
constexpr TCopyMode cmSrcCopy = sys::SRCCOPY;
constexpr TCopyMode cmSrcPaint = sys::SRCPAINT;
constexpr TCopyMode cmSrcAnd = sys::SRCAND;
constexpr TCopyMode cmSrcInvert = sys::SRCINVERT;
constexpr TCopyMode cmPatCopy = sys::PATCOPY;
constexpr TCopyMode cmDstInvert = sys::DSTINVERT;
constexpr TCopyMode cmBlackness = sys::BLACKNESS;
constexpr TCopyMode cmWhiteness = sys::WHITENESS;

// No palettes exist on a 32-bit device; the handle is carried for callers
// that pass it along, and is 0 unless someone sets one.
using HPALETTE = uintptr_t;

} // namespace zel
