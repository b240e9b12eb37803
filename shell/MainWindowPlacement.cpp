#include "shell/MainWindowPlacement.h"

#include <algorithm>
#include <cstring>
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

// The length of a record whose own length field cannot be true: from the
// configuration's last end mark before the footer to the end, or 0 when
// there is none (the configuration then refuses the bytes, and the file).
int64_t LengthAfterEndMark(TStream& stream, int64_t from, int64_t size) {
  const std::vector<uint8_t> bytes = BytesAt(stream, from, size - kFooter);
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
  if (size - from < kFooter) return found;
  const std::vector<uint8_t> footer = BytesAt(stream, size - kFooter, size);
  if (std::memcmp(&footer[2], kPlacementSignature, 4) != 0) return found;
  const int64_t length = int64_t(footer[0]) | int64_t(footer[1]) << 8;
  if (length < kFooter || length > size - from) {
    found.Length = LengthAfterEndMark(stream, from, size);
    return found;
  }
  found.Length = length;
  found.Placement = ReadRecord(BytesAt(stream, size - length, size));
  return found;
}

sys::RECT FitMainWindowOnWorkArea(const TMainWindowPlacement& placement,
                                  const sys::RECT& workArea, sys::SIZE smallest) {
  const int64_t areaWidth = std::max(0, workArea.Width());
  const int64_t areaHeight = std::max(0, workArea.Height());
  const int64_t width =
      std::min(std::max<int64_t>(placement.Width, smallest.cx), areaWidth);
  const int64_t height =
      std::min(std::max<int64_t>(placement.Height, smallest.cy), areaHeight);
  const int64_t left =
      std::clamp<int64_t>(placement.Left, workArea.left, workArea.left + areaWidth - width);
  const int64_t top =
      std::clamp<int64_t>(placement.Top, workArea.top, workArea.top + areaHeight - height);
  return sys::RECT{int(left), int(top), int(left + width), int(top + height)};
}

} // namespace zel
