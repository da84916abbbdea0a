// plugin.cpp — dlopen of a library beside /proc/self/exe or in its ../lib/vornbasic/.
#include "platform/plugin.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

namespace platform {

void* plugin_symbol(const std::string& file_name, const char* symbol, std::string& error) {
  std::error_code failed;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", failed);
  if (failed) {
    error = "cannot find the program's folder";
    return nullptr;
  }
  // Beside the program (the build folder), else in the installed library folder.
  std::filesystem::path folder = self.parent_path();
  std::string path = (folder / file_name).string();
  if (!std::filesystem::exists(path, failed)) path = (folder / ".." / "lib" / "vornbasic" / file_name).string();
  void* library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    const char* reason = ::dlerror();
    error = reason ? reason : path;
    return nullptr;
  }
  void* address = ::dlsym(library, symbol);
  if (!address) error = path + " has no " + symbol;
  return address;
}

}  // namespace platform
