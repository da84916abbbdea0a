// format_text.cpp — the shared formatter.
#include "base/format_text.h"

#include <cstdio>

#include "base/limits.h"

namespace base {
namespace {

// Appends without passing the bound; returns false once the buffer is full.
bool append(std::string& out, std::string_view piece) {
  std::size_t room = limits::format_bytes - out.size();
  if (piece.size() > room) {
    out.append(piece.substr(0, room));
    return false;
  }
  out.append(piece);
  return true;
}

std::int32_t integer_of(const FormatArg* a) {
  if (!a) return 0;
  if (a->kind == FormatArg::Kind::number) return static_cast<std::int32_t>(a->number);
  return a->integer;
}

}  // namespace

std::string format_number(double value) {
  char buffer[limits::number_format_bytes + 1];
  std::snprintf(buffer, sizeof buffer, "%g", value);
  return buffer;
}

std::string format_text(std::string_view format, FormatArgs args) {
  std::string out;
  out.reserve(64);
  auto next_arg = args.begin();
  auto take = [&]() -> const FormatArg* { return next_arg == args.end() ? nullptr : &*next_arg++; };

  for (std::size_t i = 0; i < format.size(); ++i) {
    char c = format[i];
    if (c != '%') {
      if (!append(out, c == '\n' ? std::string_view("\r\n") : std::string_view(&format[i], 1))) break;
      continue;
    }
    if (++i >= format.size()) break;  // a lone '%' at the end writes nothing
    char conv = format[i];
    bool room = true;
    switch (conv) {
      case 'd':
      case 'D': {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(integer_of(take())));
        room = append(out, buffer);
        break;
      }
      case 'x':
      case 'X': {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%x", static_cast<unsigned>(integer_of(take())));
        room = append(out, buffer);
        break;
      }
      case 'g': {
        const FormatArg* a = take();
        double v = !a ? 0.0 : a->kind == FormatArg::Kind::number ? a->number : a->integer;
        room = append(out, format_number(v));
        break;
      }
      case 's': {
        const FormatArg* a = take();
        std::string_view s = (a && a->kind == FormatArg::Kind::text) ? a->text : std::string_view();
        s = s.substr(0, s.find('\0'));
        room = append(out, s.substr(0, limits::string_bytes));
        break;
      }
      case 'c': {
        char byte = static_cast<char>(integer_of(take()) & 0xFF);
        if (byte == '\0') return out;  // the C text ends here
        room = append(out, std::string_view(&byte, 1));
        break;
      }
      case '%':
        room = append(out, "%");
        break;
      default:
        // Unknown conversion: the '%' is dropped, the character stays.
        room = append(out, conv == '\n' ? std::string_view("\r\n") : std::string_view(&format[i], 1));
        break;
    }
    if (!room) break;
  }
  return out;
}

}  // namespace base
