// limits.h — every fixed bound of the interpreter, in one place.
// Each comes from a fixed buffer or stack of the device build; programs and
// files written for it rely on them, so they are kept exactly.
#pragma once
#include <cstddef>

namespace limits {

// A program line or typed line holds at most this many bytes (256-byte buffers).
inline constexpr std::size_t line_bytes = 255;
// A typed line in the edit box holds at most this many UTF-16 units.
inline constexpr std::size_t typed_units = 255;
// A typed line converted to Shift-JIS keeps at most this many bytes (255 with the NUL).
inline constexpr std::size_t typed_line_bytes = 254;
// The lexer's token text buffer is 260 bytes: 259 characters and the NUL.
inline constexpr std::size_t token_chars = 259;
// The longest string value: concatenation works in 1024-byte areas and the
// translated program reserves 512 bytes per string.
inline constexpr std::size_t string_bytes = 511;
// One formatted output (console, channel, translator) goes through a 512-byte buffer.
inline constexpr std::size_t format_bytes = 511;
// console_write converts into 512 UTF-16 units.
inline constexpr std::size_t console_units = 511;
// The value stack is a fixed array.
inline constexpr std::size_t value_stack_entries = 64;
// Nesting of for and gosub.
inline constexpr std::size_t for_entries = 64;
inline constexpr std::size_t gosub_entries = 64;
// Dimensions of one array.
inline constexpr int array_dimensions = 16;
// Channels are numbered 0 to 9.
inline constexpr int channel_count = 10;
// A file name converted to wide text: 512 units with the terminator.
inline constexpr std::size_t file_name_chars = 511;
// parse_number converts at most this many characters.
inline constexpr std::size_t number_text_chars = 251;
// The longest number text "%g" may produce.
inline constexpr std::size_t number_format_bytes = 64;
// Arrays larger than this many elements are refused as an allocation failure:
// zero-filling more would only end in the kernel's out-of-memory killer.
inline constexpr std::size_t array_elements = std::size_t{1} << 27;

// A program file larger than this is refused by load (a program of lines of at
// most 255 bytes this long already takes the better part of the memory budget).
inline constexpr std::size_t program_file_bytes = std::size_t{16} << 20;

}  // namespace limits
