// registry.h — the keys under the classes root (HKEY_CLASSES_ROOT), kept in a
// small store of our own under the device root.
//
// The store is one UTF-8 text file, ROOT/Registry/HKEY_CLASSES_ROOT.txt:
//
//   ; Vorn Basic registry: the keys under HKEY_CLASSES_ROOT
//   [.abc]
//   @="abcfile"
//   [abcfile]
//   @="abc"
//   [abcfile\Shell]
//   [abcfile\Shell\Open]
//   [abcfile\Shell\Open\Command]
//   @="\\Windows\\viewer.exe %1"
//
// A line "[path]" is a key, named by its path from the classes root with the
// key names joined by backslashes; "@=" and a quoted text on the following
// line is the key's default (unnamed) string value. Inside the quotes a
// backslash is written "\\" and a control character "\xHH"; the text ends at
// the last double quote of the line. Lines starting with ";" are comments.
//
// Key names compare without regard to ASCII case and keep the case they were
// created with. A key implies its parents. A key name is never empty and holds
// no control character (the file could not show it); such paths are refused.
//
// A damaged store never stops the system: lines that are not a key or a value
// of a key are skipped (a damaged key line with the values after it), and what
// does parse is kept. The store is rewritten
// whole on save (to a temporary file, then renamed over the old one), so a
// failed write leaves the old store as it was; a store that exists but cannot
// be read is never overwritten.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class ClassesRoot {
 public:
  // The store of the current device root; a missing one is empty.
  static ClassesRoot load();
  // The store held by a file of the host (tests).
  static ClassesRoot load_from(const std::string& path);

  // The default value of a key; false when the key or its value is missing.
  bool read_default(std::u16string_view key, std::u16string& value) const;
  // Creates a key and any missing parents (an existing key is kept).
  bool create_key(std::u16string_view key);
  // Sets the default value of an existing key.
  bool set_default(std::u16string_view key, std::u16string_view value);
  // Deletes a key with all its subkeys, as the device's registry does.
  bool delete_key(std::u16string_view key);

  // Writes the store back to where it was loaded from.
  bool save() const;
  // The store's text as save writes it.
  std::string text() const;

 private:
  struct Key {
    std::u16string path;  // names joined by backslashes, as created
    bool has_value = false;
    std::u16string value;
  };
  Key* find(std::u16string_view path);
  const Key* find(std::u16string_view path) const;
  void parse(std::string_view text);

  std::string file_;
  bool writable_ = true;  // false when an existing store could not be read whole
  std::vector<Key> keys_;  // in creation order, parents before children
};

}  // namespace platform
