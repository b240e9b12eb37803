#pragma once
// UTF-8 decoding for the text layer.  Text arrives as UTF-8 bytes from every
// caller; a byte sequence that is not valid UTF-8 decodes to U+FFFD, one per
// bad byte, so damaged text stays visible and never stops the drawing.

#include <string>
#include <string_view>

namespace zel::sys {

constexpr char32_t kReplacementChar = 0xFFFD;

// Decodes text into code points.  Overlong forms, surrogates and values past
// U+10FFFF count as invalid.
std::u32string DecodeUtf8(std::string_view text);

// Encodes code points back into UTF-8 (invalid code points become U+FFFD).
std::string EncodeUtf8(std::u32string_view text);

} // namespace zel::sys
