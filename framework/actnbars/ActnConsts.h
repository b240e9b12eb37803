#pragma once
// The message texts of the action manager's errors.

namespace zel {

inline constexpr const char* SActnConfigFormat = "Invalid action bar configuration";
inline constexpr const char* SActnConfigVersion =
    "Action bar configuration version %d is not supported";
inline constexpr const char* SActnConfigTrailing =
    "Action bar configuration followed by %d unexpected bytes";
inline constexpr const char* SActnConfigTooDeep =
    "Action bar configuration nested deeper than %d levels";

} // namespace zel
