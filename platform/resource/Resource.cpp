#include "platform/resource/Resource.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <memory>
#include <mutex>
#include <unistd.h>
#include <vector>

#include "platform/resource/Bmp.h"
#include "platform/resource/BuiltinModule.h"
#include "platform/resource/ModuleFile.h"

namespace zel::sys {

struct ResourceInfo {
  ResourceType type = 0;
  std::string name;
  std::span<const uint8_t> data;
};

struct Module {
  std::string path;           // as given to LoadLibraryEx; empty for the program's own
  std::string canonicalPath;  // identifies a file loaded twice
  std::vector<uint8_t> owned; // the file's bytes; the program's own module has none
  std::vector<ResourceInfo> resources;
  int references = 1;
};

namespace {

namespace fs = std::filesystem;

// The modules loaded from files.  Handles are checked against this list
// before use, so a freed or made-up handle is refused instead of followed.
struct Registry {
  std::mutex mutex;
  std::vector<std::unique_ptr<Module>> files;
};

Registry& Modules() {
  static Registry registry;
  return registry;
}

bool Index(Module& module, std::span<const uint8_t> bytes, std::string& error) {
  std::vector<resfile::Entry> entries;
  if (!resfile::ParseModule(bytes, entries, error)) return false;
  module.resources.clear();
  for (resfile::Entry& e : entries)
    module.resources.push_back(
        ResourceInfo{e.type, std::move(e.name), bytes.subspan(e.offset, e.size)});
  return true;
}

Module* OwnModule() {
  static Module* own = [] {
    static Module module;
    std::string error;
    // The packer made this image in the same build, so it parses; a module
    // without resources is the harmless answer should it ever not.
    if (!Index(module, BuiltinModuleImage(), error)) module.resources.clear();
    return &module;
  }();
  return own;
}

// Must be called with the registry locked.
bool IsLoadedFile(Registry& registry, const Module* module) {
  return std::any_of(registry.files.begin(), registry.files.end(),
                     [module](const auto& m) { return m.get() == module; });
}

// The program's own module for nullptr; a loaded file's module; otherwise
// nullptr with ERROR_INVALID_HANDLE.
Module* Resolve(HMODULE module) {
  if (module == nullptr || module == OwnModule()) return OwnModule();
  Registry& registry = Modules();
  std::lock_guard lock(registry.mutex);
  if (IsLoadedFile(registry, module)) return module;
  SetLastError(ERROR_INVALID_HANDLE);
  return nullptr;
}

std::string Canonical(const std::string& path) {
  std::error_code ec;
  fs::path p = fs::weakly_canonical(fs::absolute(path, ec), ec);
  return ec ? path : p.string();
}

DWORD ErrorFromErrno(int err) {
  switch (err) {
  case ENOENT:
    return ERROR_FILE_NOT_FOUND;
  case ENOTDIR:
    return ERROR_PATH_NOT_FOUND;
  case ENOMEM:
    return ERROR_NOT_ENOUGH_MEMORY;
  default:
    return ERROR_ACCESS_DENIED;
  }
}

} // namespace

HMODULE GetModuleHandle(const char* name) {
  if (name == nullptr) return OwnModule();
  const std::string wanted = name;
  const std::string canonical = Canonical(wanted);
  // The executable, by path or by file name, is the program's own module.
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (!ec && (exe.string() == canonical || exe.filename().string() == wanted)) return OwnModule();
  Registry& registry = Modules();
  std::lock_guard lock(registry.mutex);
  for (const auto& m : registry.files)
    if (m->canonicalPath == canonical ||
        resfile::NamesEqual(fs::path(m->path).filename().string(), wanted))
      return m.get();
  SetLastError(ERROR_FILE_NOT_FOUND);
  return nullptr;
}

HMODULE LoadLibraryEx(const std::string& path, void* reserved, DWORD flags) {
  if (path.empty() || reserved != nullptr ||
      (flags & (LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) == 0) {
    SetLastErrorDetail(ERROR_INVALID_PARAMETER,
                       "only resource module files can be loaded, as data files");
    return nullptr;
  }
  std::error_code ec;
  if (!fs::exists(path, ec)) {
    SetLastErrorDetail(ERROR_FILE_NOT_FOUND, "the file \"" + path + "\" does not exist");
    return nullptr;
  }
  const std::string canonical = Canonical(path);
  Registry& registry = Modules();
  {
    std::lock_guard lock(registry.mutex);
    for (const auto& m : registry.files)
      if (m->canonicalPath == canonical) {
        ++m->references;
        return m.get();
      }
  }
  auto module = std::make_unique<Module>();
  module->path = path;
  module->canonicalPath = canonical;
  std::string error;
  if (!resfile::ReadFile(path, module->owned, error)) {
    SetLastErrorDetail(ERROR_ACCESS_DENIED, error);
    return nullptr;
  }
  if (!Index(*module, module->owned, error)) {
    SetLastErrorDetail(ERROR_BAD_FORMAT, "\"" + path + "\": " + error);
    return nullptr;
  }
  std::lock_guard lock(registry.mutex);
  registry.files.push_back(std::move(module));
  return registry.files.back().get();
}

BOOL FreeLibrary(HMODULE module) {
  Registry& registry = Modules();
  std::lock_guard lock(registry.mutex);
  auto it = std::find_if(registry.files.begin(), registry.files.end(),
                         [module](const auto& m) { return m.get() == module; });
  if (it == registry.files.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (--(*it)->references == 0) registry.files.erase(it);
  return TRUE;
}

HRSRC FindResource(HMODULE module, std::string_view name, ResourceType type) {
  Module* m = Resolve(module);
  if (!m) return nullptr;
  bool typeSeen = false;
  for (const ResourceInfo& r : m->resources) {
    if (r.type != type) continue;
    typeSeen = true;
    if (resfile::NamesEqual(r.name, name)) return &r;
  }
  SetLastErrorDetail(typeSeen ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND,
                     "the resource \"" + std::string(name) + "\" was not found");
  return nullptr;
}

// A resource handle is trusted only if it belongs to the module given.
static bool Owns(const Module* m, HRSRC resource) {
  return resource != nullptr && !m->resources.empty() && resource >= m->resources.data() &&
         resource < m->resources.data() + m->resources.size();
}

std::span<const uint8_t> ResourceBytes(HMODULE module, HRSRC resource) {
  Module* m = Resolve(module);
  if (!m) return {};
  if (!Owns(m, resource)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return {};
  }
  return resource->data;
}

DWORD SizeofResource(HMODULE module, HRSRC resource) {
  return DWORD(ResourceBytes(module, resource).size());
}

HGLOBAL LoadResource(HMODULE module, HRSRC resource) {
  Module* m = Resolve(module);
  if (!m) return nullptr;
  if (!Owns(m, resource)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  // An empty resource still gets a handle that is not null.
  static const uint8_t kEmpty = 0;
  return resource->data.empty() ? &kEmpty : resource->data.data();
}

const void* LockResource(HGLOBAL data) {
  return data;
}

HBITMAP LoadBitmap(HMODULE module, std::string_view name) {
  HRSRC found = FindResource(module, name, RT_BITMAP);
  if (!found) {
    if (GetLastError() == ERROR_RESOURCE_TYPE_NOT_FOUND)
      SetLastErrorDetail(ERROR_RESOURCE_NAME_NOT_FOUND,
                         "the bitmap \"" + std::string(name) + "\" was not found");
    return nullptr;
  }
  DecodedBmp decoded;
  std::string error;
  if (!DecodeBmp(found->data, decoded, error)) {
    SetLastErrorDetail(ERROR_BAD_FORMAT, "the bitmap \"" + found->name + "\": " + error);
    return nullptr;
  }
  HBITMAP bitmap =
      CreateBitmap(decoded.pixels.Width(), decoded.pixels.Height(), decoded.bitsPerPixel);
  if (!bitmap) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  bitmap->surface = std::move(decoded.pixels);
  return bitmap;
}

BOOL EnumResourceNames(HMODULE module, ResourceType type, ENUMRESNAMEPROC proc, LPARAM param) {
  Module* m = Resolve(module);
  if (!m) return FALSE;
  if (!proc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return EnumResourceNames(m, type,
                           [&](const char* name) { return proc(m, type, name, param) != FALSE; });
}

BOOL EnumResourceNames(HMODULE module, ResourceType type,
                       const std::function<bool(const char* name)>& proc) {
  Module* m = Resolve(module);
  if (!m) return FALSE;
  // The names are copied first: the callback may load or free modules, and
  // even free this one, without pulling the list from under the loop.
  std::vector<std::string> names;
  for (const ResourceInfo& r : m->resources)
    if (r.type == type) names.push_back(r.name);
  if (names.empty()) {
    SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return FALSE;
  }
  for (const std::string& name : names)
    if (!proc(name.c_str())) {
      SetLastError(ERROR_RESOURCE_ENUM_USER_STOP);
      return FALSE;
    }
  return TRUE;
}

std::string GetModuleFileName(HMODULE module) {
  Module* m = Resolve(module);
  if (!m) return {};
  if (m != OwnModule()) return m->canonicalPath;
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) {
    SetLastErrorDetail(ERROR_FILE_NOT_FOUND, "the executable's path is unknown: " + ec.message());
    return {};
  }
  return ExecutablePathFromLink(exe.string());
}

std::string ExecutablePathFromLink(std::string link) {
  constexpr std::string_view kDeleted = " (deleted)";
  std::error_code ec;
  if (link.ends_with(kDeleted) && !fs::exists(fs::symlink_status(link, ec)))
    link.resize(link.size() - kDeleted.size());
  return link;
}

BOOL DeleteFile(const std::string& path) {
  std::error_code ec;
  if (fs::is_directory(fs::symlink_status(path, ec))) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (::unlink(path.c_str()) != 0) {
    SetLastError(ErrorFromErrno(errno));
    return FALSE;
  }
  return TRUE;
}

} // namespace zel::sys
