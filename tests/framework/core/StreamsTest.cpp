// Streams: exact reads, positions after failures, little-endian values,
// memory and file streams.

#include <gtest/gtest.h>

#include <filesystem>

#include "framework/core/Exceptions.h"
#include "framework/core/Streams.h"

namespace zel {
namespace {

std::string TempPath(const std::string& name) {
  auto dir = std::filesystem::path(ZEL_BINARY_DIR) / "test-output" / "core";
  std::filesystem::create_directories(dir);
  return (dir / name).string();
}

TEST(Streams, LittleEndianValuesByteByByte) {
  TMemoryStream s;
  s.WriteI32(-2);
  s.WriteU16(0x1234);
  s.WriteU8(0xAB);
  s.WriteBool(true);
  s.WriteI32(0x00080000);
  s.WriteI64(-3);
  ASSERT_EQ(s.Size(), 4 + 2 + 1 + 1 + 4 + 8);
  const uint8_t* m = s.Memory();
  EXPECT_EQ(m[0], 0xFE);
  EXPECT_EQ(m[3], 0xFF);
  EXPECT_EQ(m[4], 0x34);
  EXPECT_EQ(m[5], 0x12);
  EXPECT_EQ(m[10], 0x08);
  s.SetPosition(0);
  EXPECT_EQ(s.ReadI32(), -2);
  EXPECT_EQ(s.ReadU16(), 0x1234);
  EXPECT_EQ(s.ReadU8(), 0xAB);
  EXPECT_TRUE(s.ReadBool());
  EXPECT_EQ(s.ReadI32(), 524288);
  EXPECT_EQ(s.ReadI64(), -3);
  EXPECT_EQ(s.Remaining(), 0);
}

TEST(Streams, ShortReadsRaiseAndKeepThePosition) {
  TMemoryStream s;
  s.WriteU16(7);
  s.SetPosition(0);
  try {
    s.ReadI32();
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), "Stream read error");
  }
  EXPECT_EQ(s.Position(), 0);
  char buf[4];
  // Read (unlike ReadBuffer) returns what there is.
  EXPECT_EQ(s.Read(buf, 4), 2);
  EXPECT_EQ(s.Read(buf, 4), 0);
  // Past the end: reads give nothing, a write fills the gap with zeros.
  s.Seek(2, soFromEnd);
  EXPECT_EQ(s.Position(), 4);
  EXPECT_EQ(s.Read(buf, 1), 0);
  s.WriteU8(9);
  EXPECT_EQ(s.Size(), 5);
  EXPECT_EQ(s.Memory()[2], 0);
  EXPECT_THROW(s.Seek(-1, soFromBeginning), EStreamError);
  EXPECT_EQ(s.Position(), 5);
}

TEST(Streams, LengthPrefixedTexts) {
  TMemoryStream s;
  s.WriteStr8("Demo.exe");
  s.WriteStr16("ControlBar1");
  s.WriteStr32(".FORM1.PANEL1;TAPPLICATION.TMYFORM.TMYPANEL");
  s.WriteStr32("");
  s.WriteStr8("Настройка"); // bytes, not characters
  EXPECT_THROW(s.WriteStr8(std::string(256, 'x')), EWriteError);
  s.SetPosition(0);
  EXPECT_EQ(s.ReadStr8(), "Demo.exe");
  EXPECT_EQ(s.ReadStr16(), "ControlBar1");
  EXPECT_EQ(s.ReadStr32(), ".FORM1.PANEL1;TAPPLICATION.TMYFORM.TMYPANEL");
  EXPECT_EQ(s.ReadStr32(), "");
  EXPECT_EQ(s.ReadStr8(), "Настройка");

  // A length beyond the data raises and leaves the stream at the prefix.
  TMemoryStream bad;
  bad.WriteI32(1000000);
  bad.WriteChars("abc");
  bad.SetPosition(0);
  EXPECT_THROW(bad.ReadStr32(), EReadError);
  EXPECT_EQ(bad.Position(), 0);
  bad.SetPosition(0);
  bad.WriteI32(-1);
  bad.SetPosition(0);
  EXPECT_THROW(bad.ReadStr32(), EReadError);
  EXPECT_EQ(bad.Position(), 0);
}

TEST(Streams, RewindGuardRestoresOnlyOnError) {
  TMemoryStream s;
  s.WriteChars("Zel0rest");
  s.SetPosition(0);
  auto readSignature = [&](bool fail) {
    TStreamRewindOnError rewind(s);
    std::string sig = s.ReadChars(3);
    if (fail) throw EReadError("bad");
    return sig;
  };
  EXPECT_THROW(readSignature(true), EReadError);
  EXPECT_EQ(s.Position(), 0);
  EXPECT_EQ(readSignature(false), "Zel");
  EXPECT_EQ(s.Position(), 3);
}

TEST(Streams, CopyFromAndSize) {
  TMemoryStream a, b;
  a.WriteChars("0123456789");
  a.SetPosition(4);
  EXPECT_EQ(b.CopyFrom(a, 3), 3);
  EXPECT_EQ(a.Position(), 7);
  EXPECT_EQ(b.CopyFrom(a, 0), 10); // 0: the whole source
  EXPECT_EQ(b.Size(), 13);
  a.SetPosition(8);
  EXPECT_THROW(b.CopyFrom(a, 5), EReadError);
  b.SetSize(2);
  EXPECT_EQ(b.Position(), 2);
  b.SetPosition(0);
  EXPECT_EQ(b.ReadChars(2), "45");
  EXPECT_THROW(b.SetSize(-1), EStreamError);
  b.Clear();
  EXPECT_EQ(b.Size(), 0);
  TStringStream text("abc");
  EXPECT_EQ(text.ReadChars(3), "abc");
  EXPECT_EQ(text.DataString(), "abc");
}

TEST(Streams, FilesRoundTripAndOpenErrors) {
  std::string path = TempPath("stream.bin");
  {
    TMemoryStream m;
    m.WriteI32(3);
    m.WriteI32(-1);
    m.SaveToFile(path);
  }
  EXPECT_TRUE(FileExists(path));
  TMemoryStream back;
  back.LoadFromFile(path);
  EXPECT_EQ(back.Position(), 0);
  EXPECT_EQ(back.ReadI32(), 3);
  EXPECT_EQ(back.ReadI32(), -1);
  {
    TFileStream f(path, fmOpenReadWrite);
    EXPECT_EQ(f.Size(), 8);
    f.Seek(0, soFromEnd);
    f.WriteU8(1);
    f.SetPosition(4);
    EXPECT_EQ(f.ReadI32(), -1);
    EXPECT_THROW(f.ReadI32(), EReadError);
    EXPECT_EQ(f.Position(), 8);
  }
  EXPECT_TRUE(DeleteFile(path));
  EXPECT_FALSE(FileExists(path));
  try {
    TFileStream missing(path, fmOpenRead);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_NE(e.Message().find(path), std::string::npos);
  }
  EXPECT_THROW(TFileStream(TempPath("no/such/dir/x.bin"), fmCreate), EFCreateError);
  EXPECT_THROW(TFileStream(TempPath(""), fmOpenRead), EFOpenError); // a directory
  TMemoryStream m;
  EXPECT_THROW(m.LoadFromFile(path), EFOpenError);
}

} // namespace
} // namespace zel

namespace zel {
namespace {

TEST(FileNames, PartsOfAPath) {
  EXPECT_EQ(ExtractFileName("/opt/zel/Demo.exe"), "Demo.exe");
  EXPECT_EQ(ExtractFileName("Demo.exe"), "Demo.exe");
  EXPECT_EQ(ExtractFilePath("/opt/zel/Demo.exe"), "/opt/zel/");
  EXPECT_EQ(ExtractFileDir("/opt/zel/Demo.exe"), "/opt/zel");
  EXPECT_EQ(ExtractFileDir("/Demo"), "/");
  EXPECT_EQ(ExtractFileExt("/opt/zel/Demo.exe"), ".exe");
  EXPECT_EQ(ExtractFileExt("/opt/z.el/Demo"), "");
  EXPECT_EQ(ExtractFileExt("/home/.profile"), "");
  // The layout file lives beside the executable.
  EXPECT_EQ(ChangeFileExt("/opt/zel/Demo.exe", ".sav"), "/opt/zel/Demo.sav");
  EXPECT_EQ(ChangeFileExt("/opt/z.el/zeldemo", ".sav"), "/opt/z.el/zeldemo.sav");
  EXPECT_EQ(ChangeFileExt("a.tar.gz", ""), "a.tar");
  EXPECT_EQ(IncludeTrailingPathDelimiter("/opt"), "/opt/");
  EXPECT_EQ(IncludeTrailingPathDelimiter("/opt/"), "/opt/");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/opt//"), "/opt");
  EXPECT_TRUE(DirectoryExists(ZEL_SOURCE_DIR));
  EXPECT_FALSE(FileExists(ZEL_SOURCE_DIR));
}

} // namespace
} // namespace zel
