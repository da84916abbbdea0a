// registry.cpp — the classes root as a text file under the device root; the
// layout is described in registry.h.
#include "platform/registry.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <system_error>
#include <unistd.h>

#include "platform/paths.h"
#include "platform/replacement_file.h"
#include "platform/text_codec.h"

namespace platform {
namespace {

constexpr const char* store_name = "/Registry/HKEY_CLASSES_ROOT.txt";
constexpr const char* banner = "; Vorn Basic registry: the keys under HKEY_CLASSES_ROOT\n";
// A store this large is not one the system wrote: what fits is read, and the
// file is left alone.
constexpr std::size_t store_max_bytes = std::size_t{1} << 20;

char16_t ascii_lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

bool same_name(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
  return true;
}

bool is_control(char16_t c) { return c < 0x20 || c == 0x7F; }

// Every name of the path is non-empty and free of control characters.
bool valid_path(std::u16string_view path) {
  if (path.empty() || path.front() == u'\\' || path.back() == u'\\') return false;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (is_control(path[i])) return false;
    if (path[i] == u'\\' && path[i + 1] == u'\\') return false;
  }
  return true;
}

// True when key lies under (or is) parent.
bool within(std::u16string_view key, std::u16string_view parent) {
  if (key.size() < parent.size() || !same_name(key.substr(0, parent.size()), parent)) return false;
  return key.size() == parent.size() || key[parent.size()] == u'\\';
}

std::u16string escaped(std::u16string_view value) {
  static const char16_t hex[] = u"0123456789ABCDEF";
  std::u16string out;
  for (char16_t c : value) {
    if (c == u'\\') {
      out += u"\\\\";
    } else if (is_control(c)) {
      out += u"\\x";
      out.push_back(hex[c >> 4]);
      out.push_back(hex[c & 15]);
    } else {
      out.push_back(c);
    }
  }
  return out;
}

int hex_digit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

// The reverse of escaped; a backslash that starts no escape stays as it is.
std::u16string unescaped(std::u16string_view text) {
  std::u16string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\\' && i + 1 < text.size() && text[i + 1] == u'\\') {
      out.push_back(u'\\');
      ++i;
    } else if (text[i] == u'\\' && i + 3 < text.size() && text[i + 1] == u'x' &&
               hex_digit(text[i + 2]) >= 0 && hex_digit(text[i + 3]) >= 0) {
      out.push_back(static_cast<char16_t>(hex_digit(text[i + 2]) * 16 + hex_digit(text[i + 3])));
      i += 3;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

// Reads a whole file. False when it exists but cannot be read whole; a
// missing file reads as empty.
bool read_store(const std::string& path, std::string& bytes) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT;
  bool whole = true;
  char chunk[4096];
  for (;;) {
    ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      whole = false;
      break;
    }
    if (n == 0) break;
    bytes.append(chunk, static_cast<std::size_t>(n));
    if (bytes.size() > store_max_bytes) {
      bytes.resize(store_max_bytes);
      whole = false;
      break;
    }
  }
  ::close(fd);
  return whole;
}

}  // namespace

ClassesRoot ClassesRoot::load() { return load_from(device_root() + store_name); }

ClassesRoot ClassesRoot::load_from(const std::string& path) {
  ClassesRoot root;
  root.file_ = path;
  std::string bytes;
  root.writable_ = read_store(path, bytes);
  root.parse(bytes);
  return root;
}

// [path] lines open a key; @="value" lines give the key above them its value.
void ClassesRoot::parse(std::string_view text) {
  Key* current = nullptr;
  while (!text.empty()) {
    std::size_t lf = text.find('\n');
    std::u16string line = utf8_to_utf16(text.substr(0, lf));
    text = lf == std::string_view::npos ? std::string_view() : text.substr(lf + 1);
    if (!line.empty() && line.back() == u'\r') line.pop_back();
    if (!line.empty() && line.front() == u'[') {
      // A damaged key line takes the value lines after it along with it.
      std::u16string path = line.size() >= 2 && line.back() == u']' ? line.substr(1, line.size() - 2) : u"";
      current = create_key(path) ? find(path) : nullptr;
    } else if (current && line.size() >= 4 && line.starts_with(u"@=\"") && line.back() == u'"') {
      current->has_value = true;
      current->value = unescaped(std::u16string_view(line).substr(3, line.size() - 4));
    }
  }
}

ClassesRoot::Key* ClassesRoot::find(std::u16string_view path) {
  for (Key& k : keys_)
    if (same_name(k.path, path)) return &k;
  return nullptr;
}

const ClassesRoot::Key* ClassesRoot::find(std::u16string_view path) const {
  for (const Key& k : keys_)
    if (same_name(k.path, path)) return &k;
  return nullptr;
}

bool ClassesRoot::read_default(std::u16string_view key, std::u16string& value) const {
  const Key* k = valid_path(key) ? find(key) : nullptr;
  if (!k || !k->has_value) return false;
  value = k->value;
  return true;
}

bool ClassesRoot::create_key(std::u16string_view key) {
  if (!valid_path(key)) return false;
  // Parents first; a new key goes under the names its parents already have.
  std::u16string stored;
  for (std::size_t start = 0, end = key.find(u'\\');; start = end + 1, end = key.find(u'\\', start)) {
    std::u16string_view name = key.substr(start, end == std::u16string_view::npos ? end : end - start);
    if (!stored.empty()) stored.push_back(u'\\');
    stored += name;
    if (const Key* existing = find(stored))
      stored = existing->path;
    else
      keys_.push_back({stored, false, {}});
    if (end == std::u16string_view::npos) return true;
  }
}

bool ClassesRoot::set_default(std::u16string_view key, std::u16string_view value) {
  Key* k = valid_path(key) ? find(key) : nullptr;
  if (!k) return false;
  k->has_value = true;
  k->value = value;
  return true;
}

bool ClassesRoot::delete_key(std::u16string_view key) {
  if (!valid_path(key) || !find(key)) return false;
  std::erase_if(keys_, [&](const Key& k) { return within(k.path, key); });
  return true;
}

std::string ClassesRoot::text() const {
  std::string out = banner;
  for (const Key& k : keys_) {
    out += "[" + utf16_to_utf8(k.path) + "]\n";
    if (k.has_value) out += "@=\"" + utf16_to_utf8(escaped(k.value)) + "\"\n";
  }
  return out;
}

bool ClassesRoot::save() const {
  if (!writable_ || file_.empty()) return false;
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(file_).parent_path(), ec);
  return replace_file(file_, text());
}

}  // namespace platform
