#include <shlwapi.h>
#include <windows.h>

#include "platform/module_path.h"

namespace pelo {

std::string GetModulePath() {
  HMODULE module = nullptr;
  if (!::GetModuleHandleExA(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCSTR>(&GetModulePath), &module))
    return {};
  char path[MAX_PATH] = {};
  const DWORD n = ::GetModuleFileNameA(module, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  return path;
}

std::string RenameExtension(const std::string& path, const char* ext) {
  char buffer[MAX_PATH] = {};
  if (path.size() >= MAX_PATH) return path;
  path.copy(buffer, path.size());
  if (!::PathRenameExtensionA(buffer, ext)) return path;
  return buffer;
}

}  // namespace pelo
