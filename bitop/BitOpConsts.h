#pragma once
// The string table of the bitmap operations.  The texts are shown to the user
// as they stand, so they stay in the program's language.

namespace zel {

inline constexpr const char* SZelBitNot32Bit = "Изображение должно иметь 32-битный формат";
inline constexpr const char* SZelBitBadHeader = "Заголовочная информация имеет неверный формат";

} // namespace zel
