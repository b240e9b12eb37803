#pragma once
// The string table of the "Zel Style" unit.  The texts are shown to the user
// as they stand, so they stay in the program's language.

namespace zel {

inline constexpr const char* SZelCustomizeCaption = "Дополнительные настройки";
inline constexpr const char* SZelBadPlacement = "Ошибочный формат данных";
inline constexpr const char* SZelBadPlacementVersion = "Версия \"%s\" не поддерживается";

} // namespace zel
