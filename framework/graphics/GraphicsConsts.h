#pragma once
// The message texts of the graphics classes' errors.  The texts with "%"
// are Format patterns.

namespace zel {

inline constexpr const char* SInvalidColor = "'%s' is not a valid color value";
inline constexpr const char* SNoCanvasHandle = "Canvas does not allow drawing";
inline constexpr const char* SNoClipboard = "Clipboard operations are not supported for %s";
inline constexpr const char* SScanLine = "Scan line index out of range";
inline constexpr const char* SResNotFound = "Resource %s not found";
inline constexpr const char* SInvalidBitmap = "Bitmap image is not valid: %s";
inline constexpr const char* SOutOfBitmapMemory = "Not enough memory for a bitmap";
inline constexpr const char* SInvalidImageListData = "Image list data is not valid";
inline constexpr const char* SInvalidImageSize = "Invalid image size";
inline constexpr const char* SImageIndexError = "Invalid ImageList Index";

} // namespace zel
