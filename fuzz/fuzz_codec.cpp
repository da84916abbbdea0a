// fuzz_codec.cpp — CP932 <-> UTF-16 <-> UTF-8, with and without a byte bound:
// no crash, bounds kept, and CP932 -> UTF-16 -> CP932 keeps what it can map.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/text_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  std::size_t bound = data[0];
  std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

  std::u16string wide = platform::cp932_to_utf16(bytes);
  std::string back = platform::utf16_to_cp932(wide);
  std::string cut = platform::utf16_to_cp932(wide, bound);
  if (cut.size() > bound) std::abort();
  if (cut != back.substr(0, cut.size())) std::abort();
  platform::cp932_to_utf8(bytes);

  // The same bytes as UTF-8 and as UTF-16 little-endian.
  std::u16string from_utf8 = platform::utf8_to_utf16(bytes);
  platform::utf16_to_utf8(from_utf8);
  std::string sjis = platform::utf8_to_cp932(bytes, bound);
  if (sjis.size() > bound) std::abort();
  std::u16string units(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                      static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  platform::utf16_to_utf8(units);
  platform::utf16_to_cp932(units, bound);
  for (char16_t u : units) platform::cp932_width(u);
  return 0;
}
