#include "shell/LayoutFile.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "framework/core/Consts.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Streams.h"
#include "platform/resource/Resource.h"

namespace zel {

namespace {

// The temporary file lives in the same folder as the file it replaces, so
// that the rename never crosses file systems and is one step.
class TTemporaryFile {
public:
  explicit TTemporaryFile(const std::string& fileName) : FName(fileName + ".XXXXXX") {
    FHandle = ::mkstemp(FName.data());
    if (FHandle < 0) throw EFCreateError::CreateFmt(SFCreateError, fileName, std::strerror(errno));
  }
  ~TTemporaryFile() {
    if (FHandle >= 0) ::close(FHandle);
    if (!FKept) ::unlink(FName.c_str());
  }
  TTemporaryFile(const TTemporaryFile&) = delete;
  TTemporaryFile& operator=(const TTemporaryFile&) = delete;

  void Write(const uint8_t* data, size_t size) {
    // mkstemp makes the file private; the layout is an ordinary file.
    if (::fchmod(FHandle, 0644) != 0) Fail();
    while (size > 0) {
      const ssize_t n = ::write(FHandle, data, size);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) Fail();
      data += n;
      size -= size_t(n);
    }
    // The bytes are on the disk before the name points at them.
    if (::fsync(FHandle) != 0) Fail();
    const int handle = FHandle;
    FHandle = -1;
    if (::close(handle) != 0) Fail();
  }

  void RenameTo(const std::string& fileName) {
    if (::rename(FName.c_str(), fileName.c_str()) != 0) Fail();
    FKept = true;
  }

private:
  [[noreturn]] void Fail() {
    const int error = errno ? errno : EIO;
    throw EWriteError(std::string(SWriteError) + " \"" + FName + "\". " + std::strerror(error));
  }

  std::string FName;
  int FHandle = -1;
  bool FKept = false;
};

} // namespace

void WriteFileReplacing(const std::string& fileName, const TMemoryStream& data) {
  TTemporaryFile file(fileName);
  file.Write(data.Memory(), size_t(data.Size()));
  file.RenameTo(fileName);
}

void DeleteFileQuietly(const std::string& fileName) {
  sys::DeleteFile(fileName);
}

} // namespace zel
