#pragma once
// The string table of the image-list unit.  The texts are shown to the user
// as they stand, so they stay in the program's language.

namespace zel {

inline constexpr const char* SZelFileNotFound = "Неудалось найти файл \"%s\"";

} // namespace zel
