// plugin.h — a shared library of ours loaded when it is first needed, found
// beside the running program or, installed, in ../lib/vornbasic/ from it.
#pragma once
#include <string>

namespace platform {

// The address of symbol in the library file_name beside the program's own
// file, else in ../lib/vornbasic/ from there (loaded once, never unloaded);
// null when it cannot be loaded, with the reason in error.
void* plugin_symbol(const std::string& file_name, const char* symbol, std::string& error);

}  // namespace platform

namespace platform {

// An entry point of one of our libraries: linked, when the program holds it
// (a weak declaration that is not null), else looked up in file_name.
template <typename Function>
Function* plugin_entry(Function* linked, const std::string& file_name, const char* symbol, std::string& error) {
  if (linked) return linked;
  return reinterpret_cast<Function*>(plugin_symbol(file_name, symbol, error));
}

}  // namespace platform
