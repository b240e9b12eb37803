#pragma once
// Resource modules, in the platform's manner.  The program's own module
// (GetModuleHandle(nullptr)) is built into the executable from the files
// under resources/; other modules are resource module files (ModuleFile.h)
// opened with LoadLibraryEx(path, nullptr, LOAD_LIBRARY_AS_DATAFILE) and
// released with FreeLibrary.  Resources are found by type and name; names
// compare ignoring ASCII case.  A failing call returns a null or FALSE
// result and sets the last error (platform/LastError.h):
// ERROR_FILE_NOT_FOUND for a missing file, ERROR_BAD_FORMAT for a damaged
// module or bitmap (the detail text says what is wrong),
// ERROR_RESOURCE_NAME_NOT_FOUND for a missing name,
// ERROR_RESOURCE_TYPE_NOT_FOUND when a module has nothing of a type,
// ERROR_INVALID_HANDLE for a handle that is not (or no longer) a module.

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "platform/LastError.h"
#include "platform/Types.h"
#include "platform/gdi/Gdi.h"

namespace zel::sys {

struct Module;
using HMODULE = Module*;
using HINSTANCE = HMODULE;

// A resource type, given as the platform's small integer identifiers.
using ResourceType = WORD;
constexpr ResourceType RT_BITMAP = 2;
constexpr ResourceType RT_RCDATA = 10;

constexpr DWORD LOAD_LIBRARY_AS_DATAFILE = 0x00000002;
constexpr DWORD LOAD_LIBRARY_AS_IMAGE_RESOURCE = 0x00000020;

// A found resource: valid while its module stays loaded.
struct ResourceInfo;
using HRSRC = const ResourceInfo*;
using HGLOBAL = const void*;

// nullptr, the executable's path or its file name names the program's own
// module, which is always there; any other name is looked up among the
// loaded module files by path (as given to LoadLibraryEx, or just the file
// name).
HMODULE GetModuleHandle(const char* name);

// Opens a resource module file.  Loading the same file twice gives the same
// handle with a second reference; each load needs its FreeLibrary.  Flags
// must ask for a data file: code is never loaded.
HMODULE LoadLibraryEx(const std::string& path, void* reserved, DWORD flags);
inline HMODULE LoadLibraryEx(const std::string& path, DWORD flags) {
  return LoadLibraryEx(path, nullptr, flags);
}
// FALSE with ERROR_INVALID_HANDLE for the program's module, nullptr or a
// handle already freed.
BOOL FreeLibrary(HMODULE module);

HRSRC FindResource(HMODULE module, std::string_view name, ResourceType type);
DWORD SizeofResource(HMODULE module, HRSRC resource);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
const void* LockResource(HGLOBAL data);
// The bytes of a found resource in one call; empty on failure.
std::span<const uint8_t> ResourceBytes(HMODULE module, HRSRC resource);

// Decodes the named RT_BITMAP resource (a 24- or 32-bit uncompressed
// bitmap file) into a new bitmap of the same depth, which the caller frees
// with DeleteObject.  nullptr with the last error set on failure.
HBITMAP LoadBitmap(HMODULE module, std::string_view name);

// Calls proc for every resource of the type, in the module's order, until
// it returns FALSE.  Returns FALSE with ERROR_RESOURCE_ENUM_USER_STOP when
// proc stopped it and with ERROR_RESOURCE_TYPE_NOT_FOUND when there was
// nothing of the type.
using ENUMRESNAMEPROC = BOOL (*)(HMODULE module, ResourceType type, const char* name, LPARAM param);
BOOL EnumResourceNames(HMODULE module, ResourceType type, ENUMRESNAMEPROC proc, LPARAM param);
// The same with a callable; returning false stops.
BOOL EnumResourceNames(HMODULE module, ResourceType type,
                       const std::function<bool(const char* name)>& proc);

// The file a module came from; for nullptr or the program's own module, the
// executable's path.  Empty with the last error set on failure.
std::string GetModuleFileName(HMODULE module);
// The executable's path from the text of the process's link to it.  A
// program whose file was replaced or removed while it runs (an update) reads
// " (deleted)" after the path; its path is still the one it was started
// from, so that files named after it (its layout) keep their names.
std::string ExecutablePathFromLink(std::string link);

// Removes a file.  FALSE with ERROR_FILE_NOT_FOUND when there is none and
// ERROR_ACCESS_DENIED when it may not be removed (or is a folder).
BOOL DeleteFile(const std::string& path);

} // namespace zel::sys
