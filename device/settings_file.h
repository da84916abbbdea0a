// settings_file.h — reading \Windows\basic.ini into the process-wide settings.
#pragma once
#include <string>
#include <string_view>

#include "device/settings.h"

namespace device {

// The settings file's name on the device.
inline constexpr const char* settings_file_name = "\\Windows\\basic.ini";
// At most this many bytes of the settings file are read.
inline constexpr std::size_t settings_file_bytes = 4096;
// TempFile keeps at most this many UTF-16 units.
inline constexpr std::size_t temp_file_units = 255;

// Matches text against the one scan format of the sixteen keys; the keys
// before the first mismatch take their values, the rest keep theirs.
// Returns the number of keys set.
int scan_settings(std::u16string_view text, Settings& into);

// Reads the file at a host path (at most 4096 bytes, UTF-16 little-endian)
// into settings. A missing or unreadable file leaves the defaults.
void read_settings_file(const std::string& host_path);

}  // namespace device
