#pragma once
// Streams: TStream with position, size, exact reads and writes that raise,
// copying, and little-endian helpers that read and write values byte by byte;
// the memory stream and the file stream.

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/FileUtils.h"
#include "framework/core/Object.h"

namespace zel {

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };
inline constexpr TSeekOrigin soFromBeginning = TSeekOrigin::soBeginning;
inline constexpr TSeekOrigin soFromCurrent = TSeekOrigin::soCurrent;
inline constexpr TSeekOrigin soFromEnd = TSeekOrigin::soEnd;

class TStream : public TObject {
  ZEL_CLASS(TStream, TObject)
public:
  // Reads or writes up to count bytes at the position and advances it; the
  // result is the number of bytes moved (0 for a count of 0 or less).
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  // Moves the position and returns the new one.  A position before the start
  // raises EStreamError; a position past the end is allowed (a write there
  // fills the gap with zeros).
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

  int64_t Position() const { return const_cast<TStream*>(this)->Seek(0, soFromCurrent); }
  void SetPosition(int64_t pos) { Seek(pos, soFromBeginning); }
  virtual int64_t Size() const;
  virtual void SetSize(int64_t size);
  // The bytes from the position to the end (0 when past the end).
  int64_t Remaining() const;

  // Exactly count bytes, or EReadError "Stream read error" / EWriteError
  // "Stream write error".  A failed ReadBuffer sets the position back to
  // where it began.
  void ReadBuffer(void* buffer, int64_t count);
  void WriteBuffer(const void* buffer, int64_t count);
  // Copies count bytes from source's position; a count of 0 copies the whole
  // of source from its start.  Returns the number of bytes copied; a source
  // that ends early raises EReadError.
  int64_t CopyFrom(TStream& source, int64_t count);

  // Little-endian values, read and written byte by byte.  Reads that run
  // past the end raise EReadError and leave the position where it was.
  uint8_t ReadU8();
  int8_t ReadI8() { return int8_t(ReadU8()); }
  uint16_t ReadU16();
  int16_t ReadI16() { return int16_t(ReadU16()); }
  uint32_t ReadU32();
  int32_t ReadI32() { return int32_t(ReadU32()); }
  int64_t ReadI64();
  // A Boolean is one byte: 0 false, anything else true.
  bool ReadBool() { return ReadU8() != 0; }
  void WriteU8(uint8_t v);
  void WriteI8(int8_t v) { WriteU8(uint8_t(v)); }
  void WriteU16(uint16_t v);
  void WriteI16(int16_t v) { WriteU16(uint16_t(v)); }
  void WriteU32(uint32_t v);
  void WriteI32(int32_t v) { WriteU32(uint32_t(v)); }
  void WriteI64(int64_t v);
  void WriteBool(bool v) { WriteU8(v ? 1 : 0); }

  // count raw bytes as a text (no terminator, no length).
  std::string ReadChars(int64_t count);
  void WriteChars(std::string_view s);
  // Length-prefixed texts.  The prefix is a u8 (Str8), u16 (Str16) or i32
  // (Str32) byte count.  A text longer than the prefix allows raises
  // EWriteError; a negative i32 length raises EReadError.
  std::string ReadStr8();
  std::string ReadStr16();
  std::string ReadStr32();
  void WriteStr8(std::string_view s);
  void WriteStr16(std::string_view s);
  void WriteStr32(std::string_view s);
};

// Sets a stream back to where it stood when the guard was made if the scope
// is left by an exception: readers that reject their data leave the stream
// at the start of what they read.
class TStreamRewindOnError {
public:
  explicit TStreamRewindOnError(TStream& stream)
      : FStream(stream), FPosition(stream.Position()), FExceptions(std::uncaught_exceptions()) {}
  ~TStreamRewindOnError();
  TStreamRewindOnError(const TStreamRewindOnError&) = delete;
  TStreamRewindOnError& operator=(const TStreamRewindOnError&) = delete;
  int64_t StartPosition() const { return FPosition; }

private:
  TStream& FStream;
  int64_t FPosition;
  int FExceptions;
};

// A stream over a block of memory that it owns and grows as needed.
class TMemoryStream : public TStream {
  ZEL_CLASS(TMemoryStream, TStream)
public:
  // The most a memory stream holds; a larger size raises EStreamError.
  static constexpr int64_t kMaxSize = int64_t(1) << 31;

  TMemoryStream() = default;
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() const override { return int64_t(FData.size()); }
  void SetSize(int64_t size) override;

  uint8_t* Memory() { return FData.data(); }
  const uint8_t* Memory() const { return FData.data(); }
  const std::vector<uint8_t>& Bytes() const { return FData; }
  void Clear();

  // Replaces the content with the whole of stream (from its start) or of the
  // file, and sets the position to 0.
  void LoadFromStream(TStream& stream);
  void LoadFromFile(const std::string& fileName);
  // Writes the whole content; the file is created or replaced.
  void SaveToStream(TStream& stream) const;
  void SaveToFile(const std::string& fileName) const;

private:
  std::vector<uint8_t> FData;
  int64_t FPosition = 0;
};

// A memory stream whose content is a text.
class TStringStream : public TMemoryStream {
  ZEL_CLASS(TStringStream, TMemoryStream)
public:
  explicit TStringStream(std::string_view data = {});
  std::string DataString() const;
};

// File modes: fmCreate creates or truncates; the fmOpen modes open an
// existing file.  The share flags are accepted and have no effect.
inline constexpr uint16_t fmOpenRead = 0x0000;
inline constexpr uint16_t fmOpenWrite = 0x0001;
inline constexpr uint16_t fmOpenReadWrite = 0x0002;
inline constexpr uint16_t fmShareCompat = 0x0000;
inline constexpr uint16_t fmShareExclusive = 0x0010;
inline constexpr uint16_t fmShareDenyWrite = 0x0020;
inline constexpr uint16_t fmShareDenyRead = 0x0030;
inline constexpr uint16_t fmShareDenyNone = 0x0040;
inline constexpr uint16_t fmCreate = 0xFF00;

class TFileStream : public TStream {
  ZEL_CLASS(TFileStream, TStream)
public:
  // Raises EFCreateError or EFOpenError with the system's reason.
  TFileStream(const std::string& fileName, uint16_t mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() const override;
  void SetSize(int64_t size) override;
  const std::string& FileName() const { return FFileName; }

private:
  std::string FFileName;
  int FHandle = -1;
};

} // namespace zel
