// fuzz_settings.cpp — the settings reader: the file (UTF-16 little-endian, at
// most 4096 bytes read) and the scan of its text into the sixteen keys.
#include <cstddef>
#include <cstdint>
#include <string>

#include "device/settings.h"
#include "device/settings_file.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  device::settings = device::Settings{};
  device::read_settings_file(fuzz::bytes_as_file(data, size));
  // The scan alone, over text that need not come from a file.
  std::u16string text(size / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
  device::Settings into;
  device::scan_settings(text, into);
  return 0;
}
