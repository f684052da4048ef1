// Modules and their resources: GetModuleHandleW, GetModuleFileNameW,
// FindResourceW, LoadResource, LockResource, SizeofResource, LoadStringW.
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "gdi_objects.h"
#include "handle_table.h"
#include "kernel/res_image.h"
#include "menu_objects.h"
#include "module_table.h"
#include "resource_objects.h"
#include "service.h"
#include "winbase.h"

namespace platform {
namespace {

constexpr DWORD kErrorModNotFound = 126;  // ERROR_MOD_NOT_FOUND

struct Module {
  std::u16string fileName;
  std::span<const std::byte> image;
  std::vector<ResEntry> entries;
  std::vector<HRSRC> located;  // one handle per entry, made on first lookup
};

struct LocatedResource {
  HINSTANCE module;
  std::size_t entry;
};

struct ModuleState {
  HandleTable<Module> modules{HandleKind::Module};
  HandleTable<LocatedResource> located{HandleKind::Resource};
  HINSTANCE first = nullptr;
};

ModuleState& State() {
  static ModuleState state;
  return state;
}

// A null module means the process's own, as FindResourceW and LoadStringW take it.
HINSTANCE Resolve(HINSTANCE module) { return module ? module : State().first; }

Module* FindModule(HINSTANCE module) { return State().modules.Find(module); }

// Finds |name| of |type| in |module|; on failure sets the last error: no
// such module or no resources at all, no such type, no such name.
bool Locate(HINSTANCE module, LPCWSTR name, LPCWSTR type, std::size_t* index) {
  Module* found = FindModule(module);
  if (!found || found->entries.empty()) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return false;
  }
  ResId wantType = ResIdFromArgument(type);
  ResId wantName = ResIdFromArgument(name);
  bool typeSeen = false;
  for (std::size_t i = 0; i < found->entries.size(); ++i) {
    const ResEntry& entry = found->entries[i];
    if (!(entry.type == wantType)) continue;
    typeSeen = true;
    if (entry.name == wantName) {
      *index = i;
      return true;
    }
  }
  SetLastError(typeSeen ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
  return false;
}

std::span<const std::byte> EntryBytes(const Module& module, std::size_t index) {
  const ResEntry& entry = module.entries[index];
  return module.image.subspan(entry.offset, entry.size);
}

// The entry an HRSRC stands for, checked against |module| when one is given.
const LocatedResource* FindLocated(HINSTANCE module, HRSRC resource) {
  const LocatedResource* located = State().located.Find(resource);
  if (!located || !FindModule(located->module)) return nullptr;
  if (module && module != located->module) return nullptr;
  return located;
}

std::u16string_view FileNamePart(std::u16string_view path) {
  std::size_t slash = path.find_last_of(u"\\/");
  return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

std::u16string NormalizedPath(std::u16string_view path) {
  std::u16string result = FoldResName(path);
  std::replace(result.begin(), result.end(), u'/', u'\\');
  return result;
}

}  // namespace

HINSTANCE RegisterModule(std::u16string fileName, std::span<const std::byte> res) {
  auto module = std::make_unique<Module>();
  module->fileName = std::move(fileName);
  module->image = res;
  // A malformed image leaves the module without resources rather than half-read.
  ParseResImage(res, &module->entries);
  module->located.resize(module->entries.size());
  auto handle = State().modules.Add<HINSTANCE>(std::move(module));
  if (!State().first) State().first = handle;
  return handle;
}

bool FindResourceBytes(HINSTANCE module, LPCWSTR name, LPCWSTR type, ResourceView* out) {
  module = Resolve(module);
  std::size_t index;
  if (!Locate(module, name, type, &index)) return false;
  std::span<const std::byte> bytes = EntryBytes(*FindModule(module), index);
  out->data = bytes.data();
  out->size = bytes.size();
  return true;
}

void ResetResourceTables() {
  ModuleState& state = State();
  state.modules.Clear();
  state.located.Clear();
  state.first = nullptr;
  ClearSharedIcons();
  Icons().Clear();
  Bitmaps().Clear();
  Menus().Clear();
}

}  // namespace platform

using platform::FindModule;

HMODULE GetModuleHandleW(LPCWSTR moduleName) {
  platform::ServiceCall call("GetModuleHandleW");
  if (call.Fails(platform::kErrorModNotFound)) return nullptr;
  if (!moduleName) {
    if (platform::State().first) return platform::State().first;
    SetLastError(platform::kErrorModNotFound);
    return nullptr;
  }
  std::u16string_view query(moduleName);
  bool hasPath = query.find_first_of(u"\\/") != std::u16string_view::npos;
  std::u16string want = platform::NormalizedPath(query);
  // As documented: a name without an extension means a library.
  if (platform::FileNamePart(want).find(u'.') == std::u16string_view::npos) want += u".DLL";
  HMODULE match = nullptr;
  platform::State().modules.ForEach([&](std::uintptr_t handle, const platform::Module& module) {
    if (match) return;
    std::u16string have = platform::NormalizedPath(module.fileName);
    if (hasPath ? have == want : platform::FileNamePart(have) == want) match = reinterpret_cast<HMODULE>(handle);
  });
  if (!match) SetLastError(platform::kErrorModNotFound);
  return match;
}

DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size) {
  platform::ServiceCall call("GetModuleFileNameW");
  if (call.Fails(platform::kErrorModNotFound)) return 0;
  const platform::Module* found = FindModule(platform::Resolve(module));
  if (!found) {
    SetLastError(platform::kErrorModNotFound);
    return 0;
  }
  if (size == 0 || !fileName) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  const std::u16string& name = found->fileName;
  if (name.size() < size) {
    std::memcpy(fileName, name.data(), name.size() * sizeof(WCHAR));
    fileName[name.size()] = 0;
    return static_cast<DWORD>(name.size());
  }
  // Truncated to |size| characters including the terminator.
  std::memcpy(fileName, name.data(), (size - 1) * sizeof(WCHAR));
  fileName[size - 1] = 0;
  SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return size;
}

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type) {
  platform::ServiceCall call("FindResourceW");
  if (call.Fails(ERROR_RESOURCE_NAME_NOT_FOUND)) return nullptr;
  module = platform::Resolve(module);
  std::size_t index;
  if (!platform::Locate(module, name, type, &index)) return nullptr;
  HRSRC& handle = FindModule(module)->located[index];
  if (!platform::State().located.Find(handle))
    handle = platform::State().located.Add<HRSRC>(
        std::make_unique<platform::LocatedResource>(platform::LocatedResource{module, index}));
  return handle;
}

HGLOBAL LoadResource(HMODULE module, HRSRC resource) {
  platform::ServiceCall call("LoadResource");
  if (call.Fails(ERROR_INVALID_HANDLE)) return nullptr;
  const platform::LocatedResource* located = platform::FindLocated(module, resource);
  if (!located) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  auto bytes = platform::EntryBytes(*FindModule(located->module), located->entry);
  // Resources are read-only; the const is dropped only because HGLOBAL has none.
  return const_cast<std::byte*>(bytes.data());
}

LPVOID LockResource(HGLOBAL data) {
  platform::ServiceCall call("LockResource");
  if (call.Fails(ERROR_INVALID_HANDLE)) return nullptr;
  return data;
}

DWORD SizeofResource(HMODULE module, HRSRC resource) {
  platform::ServiceCall call("SizeofResource");
  if (call.Fails(ERROR_INVALID_HANDLE)) return 0;
  const platform::LocatedResource* located = platform::FindLocated(module, resource);
  if (!located) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return static_cast<DWORD>(FindModule(located->module)->entries[located->entry].size);
}

int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int bufferMax) {
  platform::ServiceCall call("LoadStringW");
  if (call.Fails(ERROR_RESOURCE_NAME_NOT_FOUND)) return 0;
  if (!buffer || bufferMax < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (id > 0xFFFF) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return 0;
  }
  // Strings live sixteen to a block: block id/16 + 1, each a count and its characters.
  platform::ResourceView block;
  if (!platform::FindResourceBytes(instance, MAKEINTRESOURCEW(id / 16 + 1), RT_STRING, &block)) return 0;
  std::size_t pos = 0;
  WORD length = 0;
  for (UINT i = 0; i <= id % 16; ++i) {
    pos += length * sizeof(WCHAR);
    if (pos > block.size || block.size - pos < sizeof(WORD)) {
      length = 0;
      break;
    }
    std::memcpy(&length, block.data + pos, sizeof(WORD));
    pos += sizeof(WORD);
  }
  if (length == 0 || (block.size - pos) / sizeof(WCHAR) < length) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return 0;
  }
  const std::byte* text = block.data + pos;
  if (bufferMax == 0) {
    // The documented zero-size form: a read-only pointer to the string in
    // place, which is not terminated.
    auto in_place = reinterpret_cast<LPCWSTR>(text);
    std::memcpy(buffer, &in_place, sizeof in_place);
    return length;
  }
  int copied = std::min<int>(length, bufferMax - 1);
  std::memcpy(buffer, text, copied * sizeof(WCHAR));
  buffer[copied] = 0;
  return copied;
}
