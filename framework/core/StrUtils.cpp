#include "framework/core/StrUtils.h"

#include <algorithm>
#include <limits>

#include "framework/core/Consts.h"
#include "framework/core/Exceptions.h"

namespace zel {

// ---- UTF-8 -----------------------------------------------------------------

char32_t Utf8Decode(std::string_view s, size_t& pos) {
  constexpr char32_t kBad = 0xFFFD;
  auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
  unsigned char b0 = byte(pos);
  int extra;
  char32_t c;
  if (b0 < 0x80) {
    ++pos;
    return b0;
  } else if ((b0 & 0xE0) == 0xC0) {
    extra = 1;
    c = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    extra = 2;
    c = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    extra = 3;
    c = b0 & 0x07;
  } else {
    ++pos;
    return kBad;
  }
  if (pos + size_t(extra) >= s.size()) {
    ++pos;
    return kBad;
  }
  for (int k = 1; k <= extra; ++k) {
    unsigned char b = byte(pos + size_t(k));
    if ((b & 0xC0) != 0x80) {
      ++pos;
      return kBad;
    }
    c = (c << 6) | (b & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not characters.
  static const char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
  if (c < kMin[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ++pos;
    return kBad;
  }
  pos += size_t(extra) + 1;
  return c;
}

void Utf8Append(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(char(c));
  } else if (c < 0x800) {
    out.push_back(char(0xC0 | (c >> 6)));
    out.push_back(char(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(char(0xE0 | (c >> 12)));
    out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(char(0x80 | (c & 0x3F)));
  } else {
    out.push_back(char(0xF0 | (c >> 18)));
    out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(char(0x80 | (c & 0x3F)));
  }
}

bool Utf8Valid(std::string_view s) {
  // Utf8Decode gives U+FFFD and steps one byte over anything invalid; a real
  // U+FFFD in the text takes three bytes, so the step tells the two apart.
  for (size_t pos = 0; pos < s.size();) {
    const size_t start = pos;
    if (Utf8Decode(s, pos) == 0xFFFD && pos - start == 1) return false;
  }
  return true;
}

int Utf8Length(std::string_view s) {
  int n = 0;
  for (size_t pos = 0; pos < s.size(); ++n)
    Utf8Decode(s, pos);
  return n;
}

size_t Utf8Offset(std::string_view s, int index) {
  size_t pos = 0;
  for (int n = 0; n < index && pos < s.size(); ++n)
    Utf8Decode(s, pos);
  return pos;
}

std::string Utf8Truncate(std::string_view s, int maxChars) {
  if (maxChars <= 0) return {};
  return std::string(s.substr(0, Utf8Offset(s, maxChars)));
}

std::string Utf8Copy(std::string_view s, int start, int count) {
  if (start < 0) start = 0;
  if (count <= 0) return {};
  size_t from = Utf8Offset(s, start);
  std::string_view rest = s.substr(from);
  return std::string(rest.substr(0, Utf8Offset(rest, count)));
}

// ---- case --------------------------------------------------------------------

namespace {

bool In(char32_t c, char32_t lo, char32_t hi) {
  return c >= lo && c <= hi;
}

} // namespace

char32_t CharUpper(char32_t c) {
  if (c < 0x80) return In(c, 'a', 'z') ? c - 32 : c;
  if (In(c, 0xE0, 0xFE) && c != 0xF7) return c - 0x20;
  if (c == 0xFF) return 0x178;
  // Latin Extended-A: pairs of capital and small letter.
  if (In(c, 0x100, 0x137) && c != 0x130 && c != 0x131) return (c & 1) ? c - 1 : c;
  if (In(c, 0x139, 0x148) || In(c, 0x179, 0x17E)) return (c & 1) ? c : c - 1;
  if (In(c, 0x14A, 0x177)) return (c & 1) ? c - 1 : c;
  // Greek.
  if (c == 0x3C2) return 0x3A3;
  if (In(c, 0x3B1, 0x3C9)) return c - 0x20;
  if (c == 0x3AC) return 0x386;
  if (In(c, 0x3AD, 0x3AF)) return c - 0x25;
  if (c == 0x3CC) return 0x38C;
  if (In(c, 0x3CD, 0x3CE)) return c - 0x3F;
  // Cyrillic.
  if (In(c, 0x430, 0x44F)) return c - 0x20;
  if (In(c, 0x450, 0x45F)) return c - 0x50;
  if (In(c, 0x460, 0x481) || In(c, 0x48A, 0x4BF) || In(c, 0x4D0, 0x52F)) return (c & 1) ? c - 1 : c;
  if (In(c, 0x4C1, 0x4CE)) return (c & 1) ? c : c - 1;
  if (c == 0x4CF) return 0x4C0;
  return c;
}

char32_t CharLower(char32_t c) {
  if (c < 0x80) return In(c, 'A', 'Z') ? c + 32 : c;
  if (In(c, 0xC0, 0xDE) && c != 0xD7) return c + 0x20;
  if (c == 0x178) return 0xFF;
  if (In(c, 0x100, 0x137) && c != 0x130 && c != 0x131) return (c & 1) ? c : c + 1;
  if (In(c, 0x139, 0x148) || In(c, 0x179, 0x17E)) return (c & 1) ? c + 1 : c;
  if (In(c, 0x14A, 0x177)) return (c & 1) ? c : c + 1;
  if (In(c, 0x391, 0x3A9) && c != 0x3A2) return c + 0x20;
  if (c == 0x386) return 0x3AC;
  if (In(c, 0x388, 0x38A)) return c + 0x25;
  if (c == 0x38C) return 0x3CC;
  if (In(c, 0x38E, 0x38F)) return c + 0x3F;
  if (In(c, 0x410, 0x42F)) return c + 0x20;
  if (In(c, 0x400, 0x40F)) return c + 0x50;
  if (In(c, 0x460, 0x481) || In(c, 0x48A, 0x4BF) || In(c, 0x4D0, 0x52F)) return (c & 1) ? c : c + 1;
  if (In(c, 0x4C1, 0x4CE)) return (c & 1) ? c + 1 : c;
  if (c == 0x4C0) return 0x4CF;
  return c;
}

namespace {

// Maps every character; invalid bytes pass through unchanged so that no
// byte of the input is lost.
template <class F> std::string MapChars(std::string_view s, F map) {
  std::string out;
  out.reserve(s.size());
  size_t pos = 0;
  while (pos < s.size()) {
    size_t start = pos;
    char32_t c = Utf8Decode(s, pos);
    if (c == 0xFFFD && pos == start + 1 && static_cast<unsigned char>(s[start]) >= 0x80)
      out.push_back(s[start]);
    else
      Utf8Append(out, map(c));
  }
  return out;
}

char AsciiUpper(char c) {
  return (c >= 'a' && c <= 'z') ? char(c - 32) : c;
}
char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
}

} // namespace

std::string AnsiUpperCase(std::string_view s) {
  return MapChars(s, CharUpper);
}
std::string AnsiLowerCase(std::string_view s) {
  return MapChars(s, CharLower);
}

std::string UpperCase(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(), AsciiUpper);
  return out;
}

std::string LowerCase(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(), AsciiLower);
  return out;
}

int CompareStr(std::string_view a, std::string_view b) {
  int r = a.compare(b);
  return r < 0 ? -1 : r > 0 ? 1 : 0;
}

int CompareText(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(AsciiUpper(a[i]));
    unsigned char y = static_cast<unsigned char>(AsciiUpper(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}

namespace {

bool IsLetter(char32_t c) {
  return CharUpper(c) != c || CharLower(c) != c || c == 0xDF;
}

// The primary sort weight of a character: punctuation, then digits, then
// letters ignoring case, in the order of their scripts.
uint64_t Weight(char32_t c) {
  char32_t lower = CharLower(c);
  if (In(c, '0', '9')) return (uint64_t(1) << 40) | c;
  if (IsLetter(c)) {
    // "ё" sorts right after "е".
    uint64_t w = lower == 0x451 ? uint64_t(0x435) * 2 + 1 : uint64_t(lower) * 2;
    return (uint64_t(2) << 40) | w;
  }
  // Punctuation and symbols of ASCII and Latin-1 come first, characters of
  // other scripts that have no case after the letters.
  return c < 0x100 ? c : (uint64_t(3) << 40) | c;
}

int Cmp(uint64_t x, uint64_t y) {
  return x < y ? -1 : x > y ? 1 : 0;
}

} // namespace

int AnsiCompareText(std::string_view a, std::string_view b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    int r = Cmp(Weight(Utf8Decode(a, i)), Weight(Utf8Decode(b, j)));
    if (r != 0) return r;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

int AnsiCompareStr(std::string_view a, std::string_view b) {
  if (int r = AnsiCompareText(a, b)) return r;
  // Equal ignoring case: a small letter sorts before its capital.
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    char32_t x = Utf8Decode(a, i), y = Utf8Decode(b, j);
    if (x != y) {
      bool xLower = CharUpper(x) != x, yLower = CharUpper(y) != y;
      if (xLower != yLower) return xLower ? -1 : 1;
      return Cmp(x, y);
    }
  }
  return CompareStr(a, b);
}

bool AnsiSameText(std::string_view a, std::string_view b) {
  // The case tables map every letter to one of the same encoded length, so
  // texts of different byte lengths never match.
  if (a.size() != b.size()) return false;
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[j]);
    if (x < 0x80 && y < 0x80) {
      if (AsciiUpper(char(x)) != AsciiUpper(char(y))) return false;
      ++i, ++j;
      continue;
    }
    if (CharUpper(Utf8Decode(a, i)) != CharUpper(Utf8Decode(b, j))) return false;
  }
  return i == a.size() && j == b.size();
}

bool AnsiSameStr(std::string_view a, std::string_view b) {
  return a == b;
}

// ---- trimming ----------------------------------------------------------------

namespace {
bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= 0x20;
}
} // namespace

std::string TrimLeft(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && IsBlank(s[i]))
    ++i;
  return std::string(s.substr(i));
}

std::string TrimRight(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && IsBlank(s[n - 1]))
    --n;
  return std::string(s.substr(0, n));
}

std::string Trim(std::string_view s) {
  return TrimRight(TrimLeft(s));
}

// ---- numbers -----------------------------------------------------------------

namespace {

// Parses into a magnitude with sign; hexadecimal after "$" or "0x".  Leading
// blanks are allowed, nothing may follow the digits.
bool ParseInteger(std::string_view s, bool& negative, bool& hex, uint64_t& magnitude) {
  size_t i = 0;
  while (i < s.size() && IsBlank(s[i]))
    ++i;
  negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  hex = false;
  if (i < s.size() && s[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= s.size()) return false;
  magnitude = 0;
  const uint64_t base = hex ? 16 : 10;
  for (; i < s.size(); ++i) {
    char c = s[i];
    uint64_t d;
    if (c >= '0' && c <= '9')
      d = uint64_t(c - '0');
    else if (hex && c >= 'a' && c <= 'f')
      d = uint64_t(c - 'a' + 10);
    else if (hex && c >= 'A' && c <= 'F')
      d = uint64_t(c - 'A' + 10);
    else
      return false;
    if (magnitude > (std::numeric_limits<uint64_t>::max() - d) / base) return false;
    magnitude = magnitude * base + d;
  }
  return true;
}

} // namespace

bool TryStrToInt64(std::string_view s, int64_t& value) {
  bool negative, hex;
  uint64_t m;
  if (!ParseInteger(s, negative, hex, m)) return false;
  if (hex && !negative) {
    value = int64_t(m); // a full 64-bit pattern, as hexadecimal is written
    return true;
  }
  const uint64_t limit = negative ? uint64_t(1) << 63 : (uint64_t(1) << 63) - 1;
  if (m > limit) return false;
  value = negative ? int64_t(0 - m) : int64_t(m);
  return true;
}

bool TryStrToInt(std::string_view s, int& value) {
  bool negative, hex;
  uint64_t m;
  if (!ParseInteger(s, negative, hex, m)) return false;
  if (hex && !negative && m <= 0xFFFFFFFFu) {
    // "$FFFFFFFF" is the 32-bit pattern of -1.
    value = int(int32_t(uint32_t(m)));
    return true;
  }
  const uint64_t limit = negative ? uint64_t(1) << 31 : (uint64_t(1) << 31) - 1;
  if (m > limit) return false;
  value = negative ? int(int64_t(0) - int64_t(m)) : int(m);
  return true;
}

int StrToInt(std::string_view s) {
  int v;
  if (!TryStrToInt(s, v)) throw EConvertError::CreateFmt(SInvalidInteger, s);
  return v;
}

int64_t StrToInt64(std::string_view s) {
  int64_t v;
  if (!TryStrToInt64(s, v)) throw EConvertError::CreateFmt(SInvalidInteger, s);
  return v;
}

int StrToIntDef(std::string_view s, int def) {
  int v;
  return TryStrToInt(s, v) ? v : def;
}

std::string IntToStr(int64_t value) {
  return std::to_string(value);
}

std::string IntToHex(int64_t value, int digits) {
  uint64_t bits = (value < 0 && value >= INT32_MIN && digits <= 8) ? uint64_t(uint32_t(value))
                                                                   : uint64_t(value);
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  do {
    out.push_back(kHex[bits & 15]);
    bits >>= 4;
  } while (bits);
  if (digits > 64) digits = 64;
  while (int(out.size()) < digits)
    out.push_back('0');
  std::reverse(out.begin(), out.end());
  return out;
}

// ---- misc --------------------------------------------------------------------

bool StartsText(std::string_view prefix, std::string_view s) {
  return s.size() >= prefix.size() && CompareText(s.substr(0, prefix.size()), prefix) == 0;
}

std::string StringReplaceAll(std::string_view s, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(s);
  std::string out;
  size_t i = 0;
  for (size_t hit; (hit = s.find(from, i)) != std::string_view::npos; i = hit + from.size())
    out.append(s.substr(i, hit - i)).append(to);
  return out.append(s.substr(i));
}

std::string QuotedStr(std::string_view s, char quote) {
  std::string out(1, quote);
  for (char c : s) {
    out.push_back(c);
    if (c == quote) out.push_back(quote);
  }
  out.push_back(quote);
  return out;
}

} // namespace zel
