#pragma once
// The basic value types of the system layer: geometry, colour references and
// the rectangle helpers every drawing and window call uses.

#include <cstdint>

namespace zel::sys {

using BOOL = int;
using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using UINT = unsigned int;
using LONG = int32_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

constexpr BOOL FALSE = 0;
constexpr BOOL TRUE = 1;

// A colour reference is 0x00BBGGRR: red in the low byte.
using COLORREF = uint32_t;
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

constexpr COLORREF RGB(int r, int g, int b) {
  return COLORREF(r & 0xFF) | (COLORREF(g & 0xFF) << 8) | (COLORREF(b & 0xFF) << 16);
}
constexpr int GetRValue(COLORREF c) { return int(c & 0xFF); }
constexpr int GetGValue(COLORREF c) { return int((c >> 8) & 0xFF); }
constexpr int GetBValue(COLORREF c) { return int((c >> 16) & 0xFF); }

struct POINT {
  int x = 0;
  int y = 0;
  friend bool operator==(const POINT&, const POINT&) = default;
};

struct SIZE {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const SIZE&, const SIZE&) = default;
};

// Right and bottom are exclusive, as everywhere in the system layer.
struct RECT {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const RECT&, const RECT&) = default;
};

inline RECT MakeRect(int l, int t, int r, int b) { return RECT{l, t, r, b}; }
inline void SetRect(RECT& r, int l, int t, int rr, int b) { r = RECT{l, t, rr, b}; }
inline void SetRectEmpty(RECT& r) { r = RECT{}; }
inline bool IsRectEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }
inline bool EqualRect(const RECT& a, const RECT& b) { return a == b; }
inline void OffsetRect(RECT& r, int dx, int dy) {
  r.left += dx; r.right += dx; r.top += dy; r.bottom += dy;
}
inline void InflateRect(RECT& r, int dx, int dy) {
  r.left -= dx; r.right += dx; r.top -= dy; r.bottom += dy;
}
inline bool PtInRect(const RECT& r, POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}
// Returns false and an empty result when the rectangles do not overlap.
inline bool IntersectRect(RECT& out, const RECT& a, const RECT& b) {
  RECT r{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
         a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
  if (IsRectEmpty(r)) { out = RECT{}; return false; }
  out = r;
  return true;
}
// The union of an empty rectangle with another is the other.
inline bool UnionRect(RECT& out, const RECT& a, const RECT& b) {
  if (IsRectEmpty(a)) { out = b; return !IsRectEmpty(b); }
  if (IsRectEmpty(b)) { out = a; return true; }
  out = RECT{a.left < b.left ? a.left : b.left, a.top < b.top ? a.top : b.top,
             a.right > b.right ? a.right : b.right, a.bottom > b.bottom ? a.bottom : b.bottom};
  return true;
}

} // namespace zel::sys
