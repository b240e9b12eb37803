#include "shell/LayoutFile.h"

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "framework/core/Consts.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Streams.h"
#include "platform/resource/Resource.h"

namespace zel {

namespace {

// The system's reason in the program's language, so that the one line on
// standard error reads in one language; the rarer ones by their number.
std::string SystemErrorText(int error) {
  switch (error) {
  case EACCES:
  case EPERM:
    return "нет прав доступа";
  case EROFS:
    return "файловая система только для чтения";
  case ENOSPC:
  case EDQUOT:
    return "нет места на диске";
  case ENOENT:
    return "папка не найдена";
  case ENOTDIR:
    return "путь проходит через файл, а не папку";
  case EISDIR:
    return "это папка";
  case ENAMETOOLONG:
    return "слишком длинное имя";
  case EIO:
    return "ошибка ввода-вывода";
  case EMFILE:
  case ENFILE:
    return "открыто слишком много файлов";
  default:
    return "системная ошибка " + std::to_string(error);
  }
}

// A descriptor closed when it goes out of scope.
class TDescriptor {
public:
  explicit TDescriptor(int fd) : FFd(fd) {}
  ~TDescriptor() { ::close(FFd); }
  TDescriptor(const TDescriptor&) = delete;
  TDescriptor& operator=(const TDescriptor&) = delete;

private:
  int FFd;
};

// The temporary file lives in the same folder as the file it replaces, so
// that the rename never crosses file systems and is one step.
class TTemporaryFile {
public:
  explicit TTemporaryFile(const std::string& fileName) : FName(fileName + ".XXXXXX") {
    FHandle = ::mkstemp(FName.data());
    if (FHandle < 0)
      throw EFCreateError::CreateFmt(SLayoutCannotCreate, fileName, SystemErrorText(errno));
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
    throw EWriteError::CreateFmt(SLayoutCannotWrite, FName, SystemErrorText(error));
  }

  std::string FName;
  int FHandle = -1;
  bool FKept = false;
};

} // namespace

std::string LayoutFilePlace(const std::string& executable, bool keepBeside, const char* configHome,
                            const char* home) {
  std::filesystem::path path(executable);
  path.replace_extension(".sav");
  if (keepBeside) return path.string();
  std::filesystem::path folder;
  if (configHome && std::filesystem::path(configHome).is_absolute())
    folder = configHome;
  else if (home && std::filesystem::path(home).is_absolute())
    folder = std::filesystem::path(home) / ".config";
  else
    return "";
  return (folder / "zel" / path.filename()).string();
}

bool IsInstalledProgram(const std::string& executable) {
  const std::filesystem::path bin = std::filesystem::path(executable).parent_path();
  std::error_code error;
  return bin.filename() == "bin" &&
         std::filesystem::is_regular_file(
             bin.parent_path() / "share" / "applications" / kDesktopEntryName, error);
}

std::string LayoutFileNameForProgram(const std::string& executable) {
  const std::string folder = std::filesystem::path(executable).parent_path().string();
  const bool beside =
      !folder.empty() && ::access(folder.c_str(), W_OK) == 0 && !IsInstalledProgram(executable);
  return LayoutFilePlace(executable, beside, std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

void MakeFolderFor(const std::string& fileName) {
  std::filesystem::path folder;
  for (const auto& part : std::filesystem::path(fileName).parent_path()) {
    folder /= part;
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
      throw EFCreateError::CreateFmt(SFCreateError, fileName, std::strerror(errno));
  }
}

void WriteFileReplacing(const std::string& fileName, const TMemoryStream& data) {
  // A FIFO, a device or a folder someone put at the layout's path is theirs.
  struct stat st;
  if (::stat(fileName.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
    throw EFCreateError::CreateFmt(SLayoutCannotCreate, fileName, SLayoutNotRegular);
  TTemporaryFile file(fileName);
  file.Write(data.Memory(), size_t(data.Size()));
  file.RenameTo(fileName);
}

bool ReadLayoutFile(const std::string& fileName, TMemoryStream& data) {
  // Without O_NONBLOCK, opening a FIFO waits for a writer that never comes.
  const int fd = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR || errno == ENXIO) return false;
    throw EFOpenError::CreateFmt(SLayoutCannotOpen, fileName, SystemErrorText(errno));
  }
  TDescriptor file(fd);
  struct stat st;
  if (::fstat(fd, &st) != 0)
    throw EFOpenError::CreateFmt(SLayoutCannotOpen, fileName, SystemErrorText(errno));
  if (!S_ISREG(st.st_mode)) return false;
  if (st.st_size > kLayoutFileLimit)
    throw EReadError::CreateFmt(SLayoutTooLarge, fileName, int64_t(st.st_size));
  std::string bytes(size_t(st.st_size), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw EReadError::CreateFmt(SLayoutCannotRead, fileName, SystemErrorText(errno));
    if (n == 0) break; // shorter than it was a moment ago: what is there is read
    done += size_t(n);
  }
  bytes.resize(done);
  data.Clear();
  data.WriteChars(bytes);
  data.SetPosition(0);
  return true;
}

void DeleteFileQuietly(const std::string& fileName) {
  sys::DeleteFile(fileName);
}

// ---- The mark of a load in progress --------------------------------------------------

TLayoutLoadMark::TLayoutLoadMark(std::string layoutFileName)
    : FFileName(MarkFileName(layoutFileName)) {}

void TLayoutLoadMark::Set() {
  const int fd = ::open(FFileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return;
  TDescriptor file(fd);
  FSet = true;
  const std::string pid = std::to_string(::getpid()) + "\n";
  // A short write leaves a mark without a whole id, which counts as left
  // behind; the load it guards is then this one, which finishes normally.
  [[maybe_unused]] const ssize_t n = ::write(fd, pid.data(), pid.size());
}

void TLayoutLoadMark::Clear() {
  if (!FSet) return;
  FSet = false;
  ::unlink(FFileName.c_str());
}

bool TLayoutLoadMark::LeftBehind(const std::string& layoutFileName) {
  const int fd =
      ::open(MarkFileName(layoutFileName).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return false;
  TDescriptor file(fd);
  char text[24] = {};
  const ssize_t n = ::read(fd, text, sizeof text - 1);
  char* end = nullptr;
  const long pid = n > 0 ? std::strtol(text, &end, 10) : 0;
  if (pid <= 0 || end == text || *end != '\n') return true;
  // This process's own mark (a second load in one run), or another run of
  // the program loading the same file at this moment: no start died.
  if (pid == ::getpid()) return false;
  return !(::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

std::string SetLayoutFileAside(const std::string& layoutFileName) {
  ::unlink(TLayoutLoadMark::MarkFileName(layoutFileName).c_str());
  struct stat st;
  if (::stat(layoutFileName.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return "";
  const std::string bad = layoutFileName + ".bad";
  if (::rename(layoutFileName.c_str(), bad.c_str()) == 0) return bad;
  // A file that cannot be moved must not be read again either.
  DeleteFileQuietly(layoutFileName);
  return "";
}

} // namespace zel
