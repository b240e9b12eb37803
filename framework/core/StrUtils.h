#pragma once
// Text helpers for UTF-8 strings: lengths and cuts in characters, case
// mapping and case-insensitive comparison that know Latin, Latin-1, Latin
// Extended-A, Greek and Cyrillic letters (independent of the C locale),
// trimming, and integer conversion.

#include <cstdint>
#include <string>
#include <string_view>

namespace zel {

// ---- UTF-8 -----------------------------------------------------------------

// The number of characters.  A byte that does not start a valid sequence
// counts as one character.
int Utf8Length(std::string_view s);
// The byte offset of character index (clamped to the text's length).
size_t Utf8Offset(std::string_view s, int index);
// The first maxChars characters, never cutting inside a character.
std::string Utf8Truncate(std::string_view s, int maxChars);
// count characters from character index start (0-based), clamped.
std::string Utf8Copy(std::string_view s, int start, int count);
// Decodes the character at pos and advances pos; an invalid byte gives
// U+FFFD and advances by one.
char32_t Utf8Decode(std::string_view s, size_t& pos);
void Utf8Append(std::string& out, char32_t c);
// Whether s is well-formed UTF-8: no stray or missing continuation bytes, no
// overlong forms, no surrogates, nothing past U+10FFFF.
bool Utf8Valid(std::string_view s);

// ---- case --------------------------------------------------------------------

char32_t CharUpper(char32_t c);
char32_t CharLower(char32_t c);
// Case mapping of every letter the tables know (Latin, Latin-1, Cyrillic...).
std::string AnsiUpperCase(std::string_view s);
std::string AnsiLowerCase(std::string_view s);
// Case mapping of the ASCII letters only.
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);

// Ordinal comparisons: negative, zero or positive.
int CompareStr(std::string_view a, std::string_view b);
// ASCII letters compared ignoring case, other bytes as they are.
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
// Comparisons for sorting texts as a person reads them: letters ignoring case
// (all scripts the tables know), punctuation before digits before letters,
// Latin before Greek before Cyrillic, and "ё" right after "е".  Texts that
// compare equal ignoring case are ordered by the case-sensitive comparison
// in AnsiCompareStr only.
int AnsiCompareText(std::string_view a, std::string_view b);
int AnsiCompareStr(std::string_view a, std::string_view b);
bool AnsiSameText(std::string_view a, std::string_view b);
bool AnsiSameStr(std::string_view a, std::string_view b);

// ---- trimming ----------------------------------------------------------------

// Trimming removes spaces and control characters (bytes up to 0x20).
std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);

// ---- numbers -----------------------------------------------------------------

// Decimal with an optional sign, or hexadecimal after "$", "0x" or "0X";
// spaces around the number are allowed.  Out of range or bad input raises
// EConvertError "'<text>' is not a valid integer value".
int StrToInt(std::string_view s);
int64_t StrToInt64(std::string_view s);
int StrToIntDef(std::string_view s, int def);
bool TryStrToInt(std::string_view s, int& value);
bool TryStrToInt64(std::string_view s, int64_t& value);
std::string IntToStr(int64_t value);
// Upper-case hexadecimal with at least digits digits (zero-padded).  A
// negative value shows its 64-bit two's complement unless it fits in 32 bits
// and digits <= 8, which shows the 32-bit pattern.
std::string IntToHex(int64_t value, int digits);

// ---- misc --------------------------------------------------------------------

bool StartsText(std::string_view prefix, std::string_view s); // ignoring ASCII case
std::string StringReplaceAll(std::string_view s, std::string_view from, std::string_view to);
// The text quoted with quote; quote characters inside are doubled.
std::string QuotedStr(std::string_view s, char quote = '\'');

} // namespace zel
