#pragma once
// The string table of the colour-map editor.  The texts are shown to the
// user as they stand, so they stay in the program's language.

namespace zel {

inline constexpr const char* SFrameColorMapCaption = "Настройка внешнего вида";
inline constexpr const char* SFrameColorMapBadData = "Ошибочный формат данных";

} // namespace zel
