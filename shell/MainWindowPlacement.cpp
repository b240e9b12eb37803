#include "shell/MainWindowPlacement.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "framework/core/Streams.h"

namespace zel {

namespace {

constexpr char kVersion = '0';
constexpr char kEndMark[] = "END.";
// The length and the signature, read first from the end.
constexpr int64_t kFooter = 2 + 4;

// The bytes [from, to) of stream, its position kept.
std::vector<uint8_t> BytesAt(TStream& stream, int64_t from, int64_t to) {
  const int64_t at = stream.Position();
  std::vector<uint8_t> bytes(size_t(to - from));
  stream.SetPosition(from);
  stream.ReadBuffer(bytes.data(), int64_t(bytes.size()));
  stream.SetPosition(at);
  return bytes;
}

int32_t I32At(const uint8_t* p) {
  return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                 uint32_t(p[3]) << 24);
}

bool EndsWith(TStream& stream, int64_t from, int64_t end, const char (&chars)[5]) {
  if (end - from < 4) return false;
  return std::memcmp(BytesAt(stream, end - 4, end).data(), chars, 4) == 0;
}

// The length of the record that ends the stream, when its signature, its
// length and the configuration's end mark right before it agree; else 0.
int64_t SoundRecordLength(TStream& stream, int64_t from, int64_t size) {
  if (size - from < kFooter + 4 || !EndsWith(stream, from, size, kPlacementSignature)) return 0;
  const std::vector<uint8_t> length = BytesAt(stream, size - kFooter, size - 4);
  const int64_t n = int64_t(length[0]) | int64_t(length[1]) << 8;
  if (n < kFooter || n > size - from - 4 || !EndsWith(stream, from, size - n, kEndMark)) return 0;
  return n;
}

// What follows the configuration's last end mark: a damaged record (cut
// short, a length that cannot be true).  0 when there is no end mark at
// all (the configuration then refuses the bytes, and the file).
int64_t LengthAfterEndMark(TStream& stream, int64_t from, int64_t size) {
  const std::vector<uint8_t> bytes = BytesAt(stream, from, size);
  const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  const size_t mark = view.rfind(kEndMark);
  if (mark == std::string_view::npos) return 0;
  return size - (from + int64_t(mark) + 4);
}

std::optional<TMainWindowPlacement> ReadRecord(const std::vector<uint8_t>& r) {
  if (r.size() != kPlacementLength || r[0] != uint8_t(kVersion)) return std::nullopt;
  const int32_t left = I32At(&r[1]), top = I32At(&r[5]);
  const int32_t width = I32At(&r[9]), height = I32At(&r[13]);
  const uint8_t maximized = r[17];
  if (width <= 0 || height <= 0 || maximized > 1) return std::nullopt;
  return TMainWindowPlacement{left, top, width, height, maximized == 1};
}

} // namespace

void WriteMainWindowPlacement(TStream& stream, const TMainWindowPlacement& placement) {
  stream.WriteU8(uint8_t(kVersion));
  stream.WriteI32(placement.Left);
  stream.WriteI32(placement.Top);
  stream.WriteI32(placement.Width);
  stream.WriteI32(placement.Height);
  stream.WriteBool(placement.Maximized);
  stream.WriteU16(kPlacementLength);
  stream.WriteChars(kPlacementSignature);
}

TTrailingPlacement FindMainWindowPlacement(TStream& stream) {
  const int64_t from = stream.Position(), size = stream.Size();
  TTrailingPlacement found;
  // A file that ends with the configuration has no record: it loads as
  // files always did.
  if (EndsWith(stream, from, size, kEndMark)) return found;
  found.Length = SoundRecordLength(stream, from, size);
  if (found.Length > 0)
    found.Placement = ReadRecord(BytesAt(stream, size - found.Length, size));
  else
    found.Length = LengthAfterEndMark(stream, from, size);
  return found;
}

namespace {

// One direction of the fit: a size larger than the area's becomes the
// area's, from its start; a smaller one keeps its place while at least half
// of it is on the area (as floating forms are kept), and is moved in to
// that half otherwise.
struct TSpan {
  int64_t Start, Size;
};
TSpan FitSpan(int64_t start, int64_t size, int64_t smallest, int64_t areaStart, int64_t areaSize) {
  size = std::max(size, smallest);
  if (size >= areaSize) return TSpan{areaStart, std::max<int64_t>(areaSize, 0)};
  const int64_t half = size / 2;
  start = std::clamp(start, areaStart - half, areaStart + areaSize - size + half);
  return TSpan{start, size};
}

} // namespace

sys::RECT FitMainWindowOnWorkArea(const TMainWindowPlacement& placement, const sys::RECT& workArea,
                                  sys::SIZE smallest) {
  const TSpan x = FitSpan(placement.Left, placement.Width, smallest.cx, workArea.left,
                          int64_t(workArea.right) - workArea.left);
  TSpan y = FitSpan(placement.Top, placement.Height, smallest.cy, workArea.top,
                    int64_t(workArea.bottom) - workArea.top);
  // The caption is how the window is moved: it never starts above the area.
  y.Start = std::max<int64_t>(y.Start, workArea.top);
  return sys::RECT{int(x.Start), int(y.Start), int(x.Start + x.Size), int(y.Start + y.Size)};
}

} // namespace zel
