#pragma once
// The main window's placement in the layout file: its normal bounds and
// whether it was maximised, kept in a record of its own after the six
// sections.  Files written before there was such a record simply end after
// the sixth section, and load as they always did.
//
//   field          bytes  meaning
//   version        1      the character "0"
//   left, top      i32    the normal (restored) bounds' top left, on the screen
//   width, height  i32    the normal bounds' size
//   maximised      1      1 when the window was maximised, 0 when not
//   length         u16    the record's whole length, these last two fields
//                         included: 24 in version "0"
//   signature      4      the characters "ZelW"
//
// The action-bar configuration before the record runs to its end mark,
// "END.", and has no length, so the record is found from the end of the
// file: its signature is the file's last four bytes, and its length tells
// where the configuration ends.

#include <cstdint>
#include <optional>

#include "platform/Types.h"

namespace zel {

class TStream;

// The normal bounds as read: a width and height, not a right and bottom,
// which a file could put beyond the integers' range.
struct TMainWindowPlacement {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  bool Maximized = false;
};

inline constexpr char kPlacementSignature[] = "ZelW";
inline constexpr uint16_t kPlacementLength = 24;

void WriteMainWindowPlacement(TStream& stream, const TMainWindowPlacement& placement);

// What ends the stream after the sections that begin at its position: the
// bytes the record takes (0 when the stream ends with the configuration's
// end mark) and the placement, when the record is whole and sound.  A
// record of another version, with a size of 0 or less or a maximised byte
// other than 0 or 1, is taken off the end all the same and ignored; one
// whose signature, length and the end mark before it do not agree (cut
// short, a length past the file) is taken to be whatever follows the
// configuration's last end mark, and ignored.  The position is kept.
struct TTrailingPlacement {
  int64_t Length = 0;
  std::optional<TMainWindowPlacement> Placement;
};
TTrailingPlacement FindMainWindowPlacement(TStream& stream);

// The normal bounds as the window takes them on this screen: no smaller
// than smallest; as large as the work area, from its start, in a direction
// where they are larger; otherwise at least half on the work area (as
// floating forms are fitted), and the top never above it, so that the
// caption can always be reached.  Overflow-safe for any values.
sys::RECT FitMainWindowOnWorkArea(const TMainWindowPlacement& placement, const sys::RECT& workArea,
                                  sys::SIZE smallest);

} // namespace zel
