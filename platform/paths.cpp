// paths.cpp — device root and name mapping.
#include "platform/paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/text_codec.h"

namespace platform {
namespace {
std::string root;
}

void set_device_root(std::string r) { root = std::move(r); }

const std::string& device_root() {
  if (root.empty()) root = default_device_root();
  return root;
}

std::string default_device_root() {
  if (const char* v = std::getenv("VORNBASIC_ROOT"); v && *v) return v;
  if (const char* x = std::getenv("XDG_DATA_HOME"); x && *x) return std::string(x) + "/vornbasic";
  if (const char* h = std::getenv("HOME"); h && *h) return std::string(h) + "/.local/share/vornbasic";
  return ".vornbasic";
}

std::string host_path_utf8(std::string_view name) {
  if (name.empty() || name[0] != '\\') return std::string(name);
  std::string path = device_root();
  for (char c : name) path.push_back(c == '\\' ? '/' : c);
  return path;
}

std::string host_path(std::string_view sjis_name) {
  // Convert first: a Shift-JIS trail byte may be 0x5C without being a backslash.
  return host_path_utf8(cp932_to_utf8(sjis_name));
}

void prepare_for_writing(const std::string& path) {
  const std::string& r = device_root();
  if (path.compare(0, r.size(), r) != 0) return;
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
}

}  // namespace platform
