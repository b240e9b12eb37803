// Format, the exception classes and the operating-system errors.

#include <gtest/gtest.h>

#include <cerrno>

#include "framework/core/Consts.h"
#include "framework/core/Exceptions.h"
#include "platform/LastError.h"

namespace zel {
namespace {

TEST(Format, Conversions) {
  EXPECT_EQ(Format("Форма %d", 3), "Форма 3");
  EXPECT_EQ(Format("Версия \"%s\" не поддерживается", "1"), "Версия \"1\" не поддерживается");
  EXPECT_EQ(Format("%d%%", -5), "-5%");
  EXPECT_EQ(Format("%u", 7u), "7");
  EXPECT_EQ(Format("%x", 255), "ff");
  EXPECT_EQ(Format("%X", 0xC66931), "C66931");
  EXPECT_EQ(Format("%p", static_cast<const void*>(nullptr)), std::string(sizeof(void*) * 2, '0'));
  EXPECT_EQ(Format("%.2f", 3.14159), "3.14");
  EXPECT_EQ(Format("%n", 1234567.0), "1,234,567.00");
  // A negative 32-bit value shows its 32-bit pattern in hexadecimal.
  EXPECT_EQ(Format("%X", int32_t(0xFF00000F)), "FF00000F");
  EXPECT_EQ(Format("%u", -1), "4294967295");
  EXPECT_EQ(Format("%d", INT64_MIN), "-9223372036854775808");
  EXPECT_EQ(Format("no arguments"), "no arguments");
}

TEST(Format, WidthsPaddingAndPrecision) {
  EXPECT_EQ(Format("[%5d]", 42), "[   42]");
  EXPECT_EQ(Format("[%-5d]", 42), "[42   ]");
  EXPECT_EQ(Format("[%05d]", -42), "[-0042]");
  EXPECT_EQ(Format("$%.8X", 0xC66931), "$00C66931");
  EXPECT_EQ(Format("[%08X]", 255), "[000000FF]");
  EXPECT_EQ(Format("[%.3d]", 7), "[007]");
  EXPECT_EQ(Format("[%*d]", 4, 1), "[   1]");
  EXPECT_EQ(Format("[%-*s]", 3, "a"), "[a  ]");
  EXPECT_EQ(Format("[%1:s %0:s]", "a", "b"), "[b a]");
  // Widths and precisions count characters of UTF-8 texts.
  EXPECT_EQ(Format("[%6s]", "Цвет"), "[  Цвет]");
  EXPECT_EQ(Format("[%-6s]", "Цвет"), "[Цвет  ]");
  EXPECT_EQ(Format("[%.2s]", "Цвет"), "[Цв]");
  EXPECT_EQ(Format("[%2s]", "long"), "[long]");
}

TEST(Format, BadFormatsRaise) {
  EXPECT_THROW(Format("%d"), EConvertError);         // missing argument
  EXPECT_THROW(Format("%d", "text"), EConvertError); // wrong kind
  EXPECT_THROW(Format("%s", 5), EConvertError);
  EXPECT_THROW(Format("%q", 5), EConvertError); // unknown conversion
  EXPECT_THROW(Format("50%"), EConvertError);   // unfinished
  EXPECT_THROW(Format("%5:d", 1), EConvertError);
  try {
    Format("%d", "x");
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Format '%d' invalid or incompatible with argument");
  }
}

TEST(Exceptions, ClassesMessagesAndHierarchy) {
  try {
    throw EReadError::CreateFmt("Неправильная версия (%d) TFloatTreeZel", 4);
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Неправильная версия (4) TFloatTreeZel");
    EXPECT_STREQ(e.what(), e.Message().c_str());
    EXPECT_EQ(e.ClassName(), "EReadError");
    EXPECT_TRUE(e.Is<EFilerError>());
    EXPECT_TRUE(e.Is<EStreamError>());
    EXPECT_FALSE(e.Is<EWriteError>());
  }
  EXPECT_THROW(Abort(), EAbort);
  EXPECT_TRUE(EFOpenError("x").InheritsFrom(EFileStreamError::StaticClass()));
}

TEST(Exceptions, OperatingSystemErrors) {
  sys::SetLastError(sys::ERROR_FILE_NOT_FOUND);
  try {
    RaiseLastOSError();
    FAIL();
  } catch (const EOSError& e) {
    EXPECT_EQ(e.ErrorCode(), sys::ERROR_FILE_NOT_FOUND);
    EXPECT_NE(e.Message().find(sys::FormatSystemMessage(sys::ERROR_FILE_NOT_FOUND)),
              std::string::npos);
  }
  // Without a platform error, errno is reported.
  sys::SetLastError(0);
  errno = EACCES;
  try {
    RaiseLastOSError();
    FAIL();
  } catch (const EOSError& e) {
    EXPECT_EQ(e.ErrorCode(), uint32_t(EACCES));
  }
  // A message of the caller's own, as for a missing resource file.
  EOSError custom(Format("Неудалось найти файл \"%s\"", "a.dll"), 2);
  EXPECT_EQ(custom.Message(), "Неудалось найти файл \"a.dll\"");
  EXPECT_THROW(RaiseLastOSError(0u), EOSError);
}

} // namespace
} // namespace zel
