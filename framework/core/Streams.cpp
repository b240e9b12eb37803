#include "framework/core/Streams.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "framework/core/Consts.h"
#include "framework/core/Exceptions.h"

namespace zel {

namespace {

constexpr const char* SInvalidPosition = "Invalid stream position";

// The new absolute position of a seek, or EStreamError when it would lie
// before the start or overflow.
int64_t SeekTarget(int64_t offset, TSeekOrigin origin, int64_t current, int64_t size) {
  int64_t base = origin == soFromBeginning ? 0 : origin == soFromCurrent ? current : size;
  int64_t target;
  if (__builtin_add_overflow(base, offset, &target) || target < 0)
    throw EStreamError(SInvalidPosition);
  return target;
}

} // namespace

// ---- TStream -------------------------------------------------------------------

int64_t TStream::Size() const {
  auto* self = const_cast<TStream*>(this);
  int64_t pos = self->Seek(0, soFromCurrent);
  int64_t size = self->Seek(0, soFromEnd);
  self->Seek(pos, soFromBeginning);
  return size;
}

void TStream::SetSize(int64_t) {
  throw EStreamError(SSeekNotImplemented);
}

int64_t TStream::Remaining() const {
  return std::max<int64_t>(0, Size() - Position());
}

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count <= 0) return;
  int64_t start = Position();
  if (Read(buffer, count) != count) {
    Seek(start, soFromBeginning);
    throw EReadError(SReadError);
  }
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count <= 0) return;
  if (Write(buffer, count) != count) throw EWriteError(SWriteError);
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  if (count < 0) return 0;
  std::vector<uint8_t> buffer(size_t(std::min<int64_t>(count, 64 * 1024)));
  int64_t left = count;
  while (left > 0) {
    int64_t n = std::min<int64_t>(left, int64_t(buffer.size()));
    source.ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    left -= n;
  }
  return count;
}

uint8_t TStream::ReadU8() {
  uint8_t b;
  ReadBuffer(&b, 1);
  return b;
}

uint16_t TStream::ReadU16() {
  uint8_t b[2];
  ReadBuffer(b, 2);
  return uint16_t(b[0] | (b[1] << 8));
}

uint32_t TStream::ReadU32() {
  uint8_t b[4];
  ReadBuffer(b, 4);
  return uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
}

int64_t TStream::ReadI64() {
  uint8_t b[8];
  ReadBuffer(b, 8);
  uint64_t v = 0;
  for (int i = 7; i >= 0; --i)
    v = (v << 8) | b[i];
  return int64_t(v);
}

void TStream::WriteU8(uint8_t v) {
  WriteBuffer(&v, 1);
}

void TStream::WriteU16(uint16_t v) {
  uint8_t b[2] = {uint8_t(v), uint8_t(v >> 8)};
  WriteBuffer(b, 2);
}

void TStream::WriteU32(uint32_t v) {
  uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
  WriteBuffer(b, 4);
}

void TStream::WriteI64(int64_t v) {
  uint8_t b[8];
  for (int i = 0; i < 8; ++i)
    b[i] = uint8_t(uint64_t(v) >> (8 * i));
  WriteBuffer(b, 8);
}

std::string TStream::ReadChars(int64_t count) {
  if (count <= 0) return {};
  // A count beyond the data cannot be satisfied; refuse it before allocating.
  if (count > Remaining()) throw EReadError(SReadError);
  std::string s(size_t(count), '\0');
  ReadBuffer(s.data(), count);
  return s;
}

void TStream::WriteChars(std::string_view s) {
  WriteBuffer(s.data(), int64_t(s.size()));
}

std::string TStream::ReadStr8() {
  TStreamRewindOnError rewind(*this);
  return ReadChars(ReadU8());
}

std::string TStream::ReadStr16() {
  TStreamRewindOnError rewind(*this);
  return ReadChars(ReadU16());
}

std::string TStream::ReadStr32() {
  TStreamRewindOnError rewind(*this);
  int32_t n = ReadI32();
  if (n < 0) throw EReadError(SReadError);
  return ReadChars(n);
}

void TStream::WriteStr8(std::string_view s) {
  if (s.size() > 0xFF) throw EWriteError(SWriteError);
  WriteU8(uint8_t(s.size()));
  WriteChars(s);
}

void TStream::WriteStr16(std::string_view s) {
  if (s.size() > 0xFFFF) throw EWriteError(SWriteError);
  WriteU16(uint16_t(s.size()));
  WriteChars(s);
}

void TStream::WriteStr32(std::string_view s) {
  if (s.size() > 0x7FFFFFFF) throw EWriteError(SWriteError);
  WriteI32(int32_t(s.size()));
  WriteChars(s);
}

TStreamRewindOnError::~TStreamRewindOnError() {
  if (std::uncaught_exceptions() > FExceptions) {
    try {
      FStream.SetPosition(FPosition);
    } catch (...) {
      // The original exception matters more than a failed rewind.
    }
  }
}

// ---- TMemoryStream -------------------------------------------------------------

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  int64_t available = int64_t(FData.size()) - FPosition;
  if (count <= 0 || available <= 0) return 0;
  int64_t n = std::min(count, available);
  std::memcpy(buffer, FData.data() + FPosition, size_t(n));
  FPosition += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  int64_t end = FPosition + count;
  if (count > kMaxSize || end > kMaxSize) throw EStreamError(SMemoryStreamError);
  if (end > int64_t(FData.size())) FData.resize(size_t(end));
  std::memcpy(FData.data() + FPosition, buffer, size_t(count));
  FPosition = end;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t target = SeekTarget(offset, origin, FPosition, int64_t(FData.size()));
  if (target > kMaxSize) throw EStreamError(SInvalidPosition);
  FPosition = target;
  return FPosition;
}

void TMemoryStream::SetSize(int64_t size) {
  if (size < 0 || size > kMaxSize) throw EStreamError(SMemoryStreamError);
  FData.resize(size_t(size));
  FPosition = std::min(FPosition, size);
}

void TMemoryStream::Clear() {
  FData.clear();
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
  stream.SetPosition(0);
  int64_t size = stream.Size();
  if (size > kMaxSize) throw EStreamError(SMemoryStreamError);
  std::vector<uint8_t> data(static_cast<size_t>(size));
  stream.ReadBuffer(data.data(), size);
  FData = std::move(data);
  FPosition = 0;
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(file);
}

void TMemoryStream::SaveToStream(TStream& stream) const {
  stream.WriteBuffer(FData.data(), int64_t(FData.size()));
}

void TMemoryStream::SaveToFile(const std::string& fileName) const {
  TFileStream file(fileName, fmCreate);
  SaveToStream(file);
}

TStringStream::TStringStream(std::string_view data) {
  WriteChars(data);
  SetPosition(0);
}

std::string TStringStream::DataString() const {
  return std::string(reinterpret_cast<const char*>(Memory()), size_t(Size()));
}

// ---- TFileStream ---------------------------------------------------------------

TFileStream::TFileStream(const std::string& fileName, uint16_t mode) : FFileName(fileName) {
  if (mode == fmCreate || (mode & 0xFF00) == fmCreate) {
    FHandle = ::open(fileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (FHandle < 0) throw EFCreateError::CreateFmt(SFCreateError, fileName, std::strerror(errno));
    return;
  }
  int access = mode & 0x3;
  int flags = access == fmOpenWrite ? O_WRONLY : access == fmOpenReadWrite ? O_RDWR : O_RDONLY;
  FHandle = ::open(fileName.c_str(), flags | O_CLOEXEC);
  if (FHandle < 0) throw EFOpenError::CreateFmt(SFOpenError, fileName, std::strerror(errno));
  struct stat st;
  if (::fstat(FHandle, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(FHandle);
    FHandle = -1;
    throw EFOpenError::CreateFmt(SFOpenError, fileName, std::strerror(EISDIR));
  }
}

TFileStream::~TFileStream() {
  if (FHandle >= 0) ::close(FHandle);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
  int64_t done = 0;
  auto* p = static_cast<uint8_t*>(buffer);
  while (done < count) {
    ssize_t n = ::read(FHandle, p + done, size_t(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
  int64_t done = 0;
  auto* p = static_cast<const uint8_t*>(buffer);
  while (done < count) {
    ssize_t n = ::write(FHandle, p + done, size_t(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t current = ::lseek(FHandle, 0, SEEK_CUR);
  if (origin == soFromCurrent && offset == 0) return current;
  int64_t target = SeekTarget(offset, origin, current, Size());
  int64_t r = ::lseek(FHandle, off_t(target), SEEK_SET);
  if (r < 0) throw EStreamError(SInvalidPosition);
  return r;
}

int64_t TFileStream::Size() const {
  struct stat st;
  if (::fstat(FHandle, &st) != 0) return 0;
  return int64_t(st.st_size);
}

void TFileStream::SetSize(int64_t size) {
  if (size < 0 || ::ftruncate(FHandle, off_t(size)) != 0) throw EStreamError(SWriteError);
  if (Position() > size) SetPosition(size);
}

} // namespace zel
