// text_codec.h — conversions between code page 932 (Shift-JIS), UTF-16 and UTF-8.
// The interpreter keeps text as Shift-JIS bytes; the window, typed lines and file
// names on the host are Unicode. Invalid input is substituted, never dropped.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Shift-JIS bytes to UTF-16. Bytes CP932 leaves unassigned keep a private code
// point (0x80 -> U+0080, 0xA0 -> U+F8F0, 0xFD..0xFF -> U+F8F1..U+F8F3) so that they
// round-trip; any other undecodable byte becomes U+30FB.
std::u16string cp932_to_utf16(std::string_view bytes);

// UTF-16 to Shift-JIS, at most max_bytes bytes, never splitting a character.
// Characters CP932 cannot encode become '?'.
std::string utf16_to_cp932(std::u16string_view text, std::size_t max_bytes = std::string::npos);

// UTF-8 to UTF-16; malformed sequences become U+FFFD.
std::u16string utf8_to_utf16(std::string_view text);

// UTF-16 to UTF-8; lone surrogates become U+FFFD.
std::string utf16_to_utf8(std::u16string_view text);

// Convenience for the host edges.
std::string cp932_to_utf8(std::string_view bytes);
std::string utf8_to_cp932(std::string_view text, std::size_t max_bytes = std::string::npos);

// Number of bytes CP932 uses for one UTF-16 unit: 1 for ASCII and half-width
// katakana, 2 for everything else (also for characters it cannot encode).
int cp932_width(char16_t unit);

// True when bytes are well-formed UTF-8 (no overlong forms, surrogates or code
// points above U+10FFFF) holding at least one character outside ASCII: the
// sign of a UTF-8 text file rather than a Shift-JIS one.
bool is_utf8_text(std::string_view bytes);

// True when byte b starts a double-byte Shift-JIS character.
constexpr bool is_sjis_lead(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

}  // namespace platform
