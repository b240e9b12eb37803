#pragma once
// The layout file on disk: written whole through a temporary file beside it
// and renamed into place, so that a save that fails half-way (a full disk,
// a folder without write permission, a crash) leaves the previous file as
// it was; and deleted without complaint when a load rejects it.

#include <string>

namespace zel {

class TMemoryStream;

// Writes the whole content of data to fileName, replacing the file in one
// step.  A failure raises EFCreateError (the temporary file could not be
// made) or EWriteError (it could not be written or renamed), with the
// system's reason; the temporary file is then removed and fileName is
// untouched.
void WriteFileReplacing(const std::string& fileName, const TMemoryStream& data);

// Deletes the file; a file that is missing or cannot be deleted is left
// alone without an error.
void DeleteFileQuietly(const std::string& fileName);

// The one line on standard error that tells why the layout was not kept.
inline constexpr const char* SLayoutNotSaved = "Расположение окон не сохранено: %s";

} // namespace zel
