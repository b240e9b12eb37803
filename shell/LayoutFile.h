#pragma once
// The layout file on disk: written whole through a temporary file beside it
// and renamed into place, so that a save that fails half-way (a full disk,
// a folder without write permission, a crash) leaves the previous file as
// it was; read only when it is a regular file, opened without blocking;
// deleted without complaint when a load rejects it; and guarded by a mark
// beside it while it is being applied, so that a start that dies there
// does not take the next start with it.

#include <cstdint>
#include <string>

namespace zel {

class TMemoryStream;

// Where the layout of the program at executable (a full path) is kept.
// Beside the executable, its path with ".sav" as extension, when keepBeside:
// the build folder, or a copy in the user's own folder.  An installed
// program keeps it in the user's configuration folder instead:
// configHome/zel/<name>.sav, with home/.config in place of configHome when
// that is unset, empty or not an absolute path (a relative one would depend
// on where the program was started).  "" when neither place is known: the
// layout is then not kept.
std::string LayoutFilePlace(const std::string& executable, bool keepBeside, const char* configHome,
                            const char* home);
// The same for this process: beside the executable while its folder can be
// written and holds no installed program; $XDG_CONFIG_HOME and $HOME.
std::string LayoutFileNameForProgram(const std::string& executable);

// An installed program has its menu entry in share/applications beside its
// bin folder (the name cmake/ZelInstall.cmake gives it).  Its folder may be
// writable (the super-user's /usr/bin, a prefix in the user's own folder),
// but a layout there would lie among programs.
inline constexpr const char* kDesktopEntryName = "org.zel.zeldemo.desktop";
bool IsInstalledProgram(const std::string& executable);

// Makes the folder fileName goes into, with each missing parent, readable
// by the user alone (0700), as the configuration folder's rules ask; a
// folder that is there is left as it is.  Raises EFCreateError with the
// system's reason when one cannot be made.
void MakeFolderFor(const std::string& fileName);

// Writes the whole content of data to fileName, replacing the file in one
// step.  A failure raises EFCreateError (the temporary file could not be
// made, or fileName is something other than a regular file, which is never
// replaced) or EWriteError (it could not be written or renamed), with the
// system's reason; the temporary file is then removed and fileName is
// untouched.
void WriteFileReplacing(const std::string& fileName, const TMemoryStream& data);

// The layout file read whole into data.  False, with data untouched, when
// there is no regular file at fileName: nothing there, or a FIFO, a device,
// a socket or a folder, which are opened without blocking and left alone.
// A file that cannot be read, or one larger than kLayoutFileLimit (no
// arrangement comes near it), raises EFOpenError or EReadError.
bool ReadLayoutFile(const std::string& fileName, TMemoryStream& data);
inline constexpr int64_t kLayoutFileLimit = 16 << 20;

// Deletes the file; a file that is missing or cannot be deleted is left
// alone without an error.
void DeleteFileQuietly(const std::string& fileName);

// The mark of a layout being applied: a small file beside the layout
// (its name + ".loading") holding the id of the process that applies it,
// made by Set and removed by Clear or the destructor.  A mark whose
// process is gone was left by a start that crashed or was killed there.
class TLayoutLoadMark {
public:
  explicit TLayoutLoadMark(std::string layoutFileName);
  ~TLayoutLoadMark() { Clear(); }
  TLayoutLoadMark(const TLayoutLoadMark&) = delete;
  TLayoutLoadMark& operator=(const TLayoutLoadMark&) = delete;

  // A folder that cannot be written gets no mark; the load goes on unguarded.
  void Set();
  void Clear();
  // A mark beside the layout whose process no longer runs (or which holds
  // no process id at all: its start died while making it).
  static bool LeftBehind(const std::string& layoutFileName);
  static std::string MarkFileName(const std::string& layoutFileName) {
    return layoutFileName + ".loading";
  }

private:
  std::string FFileName;
  bool FSet = false;
};

// Moves the layout file to its name + ".bad", replacing an earlier one, and
// removes the mark left beside it.  Returns the new name, or "" when there
// was no regular file to move (or it could not be moved; it is then deleted).
std::string SetLayoutFileAside(const std::string& layoutFileName);

// The one line on standard error that tells why the layout was not kept.
inline constexpr const char* SLayoutNotSaved = "Расположение окон не сохранено: %s";
// Why a layout file is refused or not replaced.
inline constexpr const char* SLayoutNotRegular = "не обычный файл";
inline constexpr const char* SLayoutCannotCreate = "не удалось создать файл \"%s\": %s";
inline constexpr const char* SLayoutCannotWrite = "не удалось записать файл \"%s\": %s";
inline constexpr const char* SLayoutCannotOpen = "не удалось открыть файл \"%s\": %s";
inline constexpr const char* SLayoutCannotRead = "не удалось прочитать файл \"%s\": %s";
inline constexpr const char* SLayoutTooLarge = "Файл расположения \"%s\" слишком велик (%d байт)";

// The one line on standard error when a start finds the mark of a start
// that died while it applied the layout.
inline constexpr const char* SLayoutSetAside =
    "Прошлый запуск прервался при чтении расположения окон: файл отложен как %s, окна "
    "расположены по умолчанию";

} // namespace zel
