// paths.h — where the system's file names live on the host.
// A name that starts with a backslash is a device path and maps under the
// device root (\Windows\basic.txt -> ROOT/Windows/basic.txt); any other name
// is a host path relative to the current directory.
#pragma once
#include <string>
#include <string_view>

namespace platform {

// Sets the device root (from --root, $VORNBASIC_ROOT or the XDG data folder).
void set_device_root(std::string root);
const std::string& device_root();
// The default device root: $VORNBASIC_ROOT, else $XDG_DATA_HOME/vornbasic,
// else ~/.local/share/vornbasic.
std::string default_device_root();

// Host path (UTF-8) of a UTF-8 name.
std::string host_path_utf8(std::string_view name);
// Host path (UTF-8) of a Shift-JIS name.
std::string host_path(std::string_view sjis_name);

// Creates the missing folders above a device path's file so that it can be
// written; host paths are left as they are.
void prepare_for_writing(const std::string& path);

}  // namespace platform
