// UTF-8 lengths and cuts, case mapping of Latin and Cyrillic, trimming and
// integer conversion.

#include <gtest/gtest.h>

#include "framework/core/Exceptions.h"
#include "framework/core/StrUtils.h"

namespace zel {
namespace {

TEST(Utf8, LengthAndCutsAtCharacterBoundaries) {
  EXPECT_EQ(Utf8Length(""), 0);
  EXPECT_EQ(Utf8Length("Главное меню"), 12);
  EXPECT_EQ(Utf8Length("a€𝄞"), 3); // 1, 3 and 4 bytes
  EXPECT_EQ(Utf8Truncate("Настройка внешнего вида", 9), "Настройка");
  EXPECT_EQ(Utf8Truncate("Ёж", 1), "Ё");
  EXPECT_EQ(Utf8Truncate("abc", 10), "abc");
  EXPECT_EQ(Utf8Truncate("abc", 0), "");
  EXPECT_EQ(Utf8Copy("Форма 12", 6, 2), "12");
  EXPECT_EQ(Utf8Copy("Форма", 3, 99), "ма");
  // Damaged sequences count one character per bad byte and lose nothing.
  std::string bad = "a\xD0"
                    "b\xFF";
  EXPECT_EQ(Utf8Length(bad), 4);
  EXPECT_EQ(Utf8Truncate(bad, 4), bad);
  EXPECT_EQ(Utf8Length("\xE2\x82"), 2); // cut-off sequence
  EXPECT_EQ(Utf8Length("\xC0\x80"), 2); // overlong form
  EXPECT_EQ(AnsiUpperCase(bad), "A\xD0"
                                "B\xFF");
  // Only well-formed text is valid.
  for (const char* good : {"", "Главное меню", "a€𝄞", "\xF4\x8F\xBF\xBF", "\xEF\xBF\xBD"})
    EXPECT_TRUE(Utf8Valid(good)) << good;
  for (const char* damaged :
       {"a\xD0", "\xFF", "\xE2\x82", "\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80",
        "\x80"
        "a"})
    EXPECT_FALSE(Utf8Valid(damaged)) << damaged;
}

TEST(Case, LatinLatin1AndCyrillic) {
  EXPECT_EQ(AnsiUpperCase("главное меню"), "ГЛАВНОЕ МЕНЮ");
  EXPECT_EQ(AnsiLowerCase("ОКНО Ёж Ї"), "окно ёж ї");
  EXPECT_EQ(AnsiUpperCase("tmyform.panel1"), "TMYFORM.PANEL1");
  EXPECT_EQ(AnsiUpperCase("àéîõüÿ ß"), "ÀÉÎÕÜŸ ß");
  EXPECT_EQ(AnsiLowerCase("ÀÉÎÕÜ×"), "àéîõü×");
  EXPECT_EQ(AnsiUpperCase("łść"), "ŁŚĆ");
  EXPECT_EQ(AnsiUpperCase("αβγ"), "ΑΒΓ");
  // The ASCII-only forms leave other letters alone.
  EXPECT_EQ(UpperCase("abc ёж"), "ABC ёж");
  EXPECT_EQ(LowerCase("ABC ЁЖ"), "abc ЁЖ");
}

TEST(Case, ComparisonsIgnoringCase) {
  EXPECT_TRUE(AnsiSameText("Настройка", "НАСТРОЙКА"));
  EXPECT_FALSE(AnsiSameText("Настройка", "Настройк"));
  EXPECT_TRUE(SameText("FrameSite1", "FRAMESITE1"));
  EXPECT_FALSE(SameText("ё", "Ё")); // ASCII only
  EXPECT_EQ(CompareText("abc", "ABD"), -1);
  EXPECT_EQ(AnsiCompareText("ель", "ЁЛКА"), -1);
  EXPECT_EQ(AnsiCompareText("ЁЛКА", "жук"), -1);
  EXPECT_EQ(AnsiCompareText("яблоко", "Zebra"), 1);
  EXPECT_EQ(AnsiCompareText("Item", "ITEM"), 0);
  EXPECT_EQ(AnsiCompareText("a", "ab"), -1);
  EXPECT_EQ(AnsiCompareText("_", "0"), -1);
  // Case-sensitive ordering: letters first, the small form before the capital.
  EXPECT_EQ(AnsiCompareStr("item", "Item"), -1);
  EXPECT_EQ(AnsiCompareStr("Item", "item2"), -1);
  EXPECT_EQ(AnsiCompareStr("same", "same"), 0);
}

TEST(Trim, BlanksAndControlCharacters) {
  EXPECT_EQ(Trim("  \t Окно \r\n"), "Окно");
  EXPECT_EQ(TrimLeft("  a "), "a ");
  EXPECT_EQ(TrimRight("  a "), "  a");
  EXPECT_EQ(Trim(" \t "), "");
}

TEST(Integers, ConversionAndErrors) {
  EXPECT_EQ(StrToInt("42"), 42);
  EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
  EXPECT_EQ(StrToInt("  +7"), 7);
  EXPECT_EQ(StrToInt("$FF"), 255);
  EXPECT_EQ(StrToInt("0x1f"), 31);
  EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
  EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
  EXPECT_THROW(StrToInt("2147483648"), EConvertError);
  EXPECT_THROW(StrToInt("12a"), EConvertError);
  EXPECT_THROW(StrToInt(""), EConvertError);
  EXPECT_THROW(StrToInt("-"), EConvertError);
  EXPECT_THROW(StrToInt("$"), EConvertError);
  EXPECT_THROW(StrToInt("5 "), EConvertError);
  EXPECT_THROW(StrToInt64("99999999999999999999"), EConvertError);
  try {
    StrToInt("abc");
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'abc' is not a valid integer value");
  }
  EXPECT_EQ(StrToIntDef("x", -7), -7);
  EXPECT_EQ(IntToStr(-12), "-12");
  EXPECT_EQ(IntToHex(0xC66931, 8), "00C66931");
  EXPECT_EQ(IntToHex(255, 1), "FF");
  EXPECT_EQ(IntToHex(int32_t(0xFF00000F), 8), "FF00000F");
  EXPECT_EQ(IntToHex(-1, 16), "FFFFFFFFFFFFFFFF");
}

TEST(Texts, ReplaceQuoteAndPrefix) {
  EXPECT_EQ(StringReplaceAll("a.b.c", ".", "::"), "a::b::c");
  EXPECT_EQ(StringReplaceAll("abc", "", "x"), "abc");
  EXPECT_EQ(QuotedStr("it's"), "'it''s'");
  EXPECT_TRUE(StartsText("std", "STDCTRLS"));
  EXPECT_FALSE(StartsText("stdctrls", "std"));
}

} // namespace
} // namespace zel
