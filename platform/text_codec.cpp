// text_codec.cpp — code-page conversions through glibc's iconv.
#include "platform/text_codec.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <iconv.h>

static_assert(std::endian::native == std::endian::little, "UTF-16LE is the in-memory form");

namespace platform {
namespace {

// One iconv descriptor per direction and thread, opened on first use.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts as much of [in, in+in_left) as iconv can; returns false on a
  // sequence it cannot convert (the caller substitutes and steps over it).
  bool run(const char*& in, std::size_t& in_left, std::string& out) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char buffer[1024];
    while (in_left > 0) {
      char* dst = buffer;
      std::size_t dst_left = sizeof buffer;
      char* src = const_cast<char*>(in);
      std::size_t r = iconv(cd_, &src, &in_left, &dst, &dst_left);
      int err = errno;
      in = src;
      out.append(buffer, static_cast<std::size_t>(dst - buffer));
      if (r != static_cast<std::size_t>(-1)) continue;
      if (err == E2BIG) continue;
      return false;  // EILSEQ or EINVAL
    }
    return true;
  }

 private:
  iconv_t cd_;
};

Converter& cp932_decoder() {
  thread_local Converter c("UTF-16LE", "CP932");
  return c;
}
Converter& cp932_encoder() {
  thread_local Converter c("CP932", "UTF-16LE");
  return c;
}
Converter& utf8_decoder() {
  thread_local Converter c("UTF-16LE", "UTF-8");
  return c;
}
Converter& utf8_encoder() {
  thread_local Converter c("UTF-8", "UTF-16LE");
  return c;
}

void append_unit(std::string& out, char16_t u) {
  out.push_back(static_cast<char>(u & 0xFF));
  out.push_back(static_cast<char>(u >> 8));
}

std::u16string units_of(const std::string& bytes) {
  std::u16string s(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < s.size(); ++i)
    s[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                 (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  return s;
}

std::string bytes_of(std::u16string_view text) {
  std::string s;
  s.reserve(text.size() * 2);
  for (char16_t u : text) append_unit(s, u);
  return s;
}

bool is_high_surrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool is_low_surrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Units taken by the character starting at text[i] (1, or 2 for a surrogate pair).
std::size_t char_units(std::u16string_view text, std::size_t i) {
  return (is_high_surrogate(text[i]) && i + 1 < text.size() && is_low_surrogate(text[i + 1])) ? 2 : 1;
}

// Plain ASCII reads the same in every code page here: it needs no converter
// (which also spares a run that never meets anything else loading one).
bool is_ascii(std::string_view bytes) {
  for (char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}
bool is_ascii(std::u16string_view text) {
  for (char16_t u : text)
    if (u >= 0x80) return false;
  return true;
}
std::u16string widened(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }
std::string narrowed(std::u16string_view ascii) {
  std::string out(ascii.size(), '\0');
  for (std::size_t i = 0; i < ascii.size(); ++i) out[i] = static_cast<char>(ascii[i]);
  return out;
}

}  // namespace

std::u16string cp932_to_utf16(std::string_view bytes) {
  if (is_ascii(bytes)) return widened(bytes);
  std::string out;
  out.reserve(bytes.size() * 2);
  const char* in = bytes.data();
  std::size_t left = bytes.size();
  while (!cp932_decoder().run(in, left, out)) {
    auto b = static_cast<unsigned char>(*in);
    char16_t sub = 0x30FB;
    if (b == 0x80) sub = 0x0080;
    else if (b == 0xA0) sub = 0xF8F0;
    else if (b >= 0xFD) sub = static_cast<char16_t>(0xF8F1 + (b - 0xFD));
    append_unit(out, sub);
    ++in;
    --left;
  }
  return units_of(out);
}

std::string utf16_to_cp932(std::u16string_view text, std::size_t max_bytes) {
  if (is_ascii(text)) return narrowed(text.substr(0, std::min(max_bytes, text.size())));
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t n = char_units(text, i);
    char16_t u = text[i];
    std::string piece;
    if (u == 0x0080) piece = "\x80";
    else if (u == 0xF8F0) piece = "\xA0";
    else if (u >= 0xF8F1 && u <= 0xF8F3) piece = std::string(1, static_cast<char>(0xFD + (u - 0xF8F1)));
    else if (u < 0x80) piece = std::string(1, static_cast<char>(u));
    else {
      std::string in = bytes_of(text.substr(i, n));
      const char* p = in.data();
      std::size_t left = in.size();
      if (!cp932_encoder().run(p, left, piece)) piece = "?";
    }
    if (max_bytes != std::string::npos && out.size() + piece.size() > max_bytes) break;
    out += piece;
    i += n;
  }
  return out;
}

std::u16string utf8_to_utf16(std::string_view text) {
  if (is_ascii(text)) return widened(text);
  std::string out;
  const char* in = text.data();
  std::size_t left = text.size();
  while (!utf8_decoder().run(in, left, out)) {
    append_unit(out, 0xFFFD);
    ++in;
    --left;
  }
  return units_of(out);
}

std::string utf16_to_utf8(std::u16string_view text) {
  if (is_ascii(text)) return narrowed(text);
  std::string out;
  std::size_t start = 0;
  // Convert runs of well-formed text; a lone surrogate becomes U+FFFD.
  for (std::size_t i = 0; i <= text.size();) {
    bool lone = false;
    if (i < text.size()) {
      char16_t u = text[i];
      if (is_high_surrogate(u)) {
        if (i + 1 < text.size() && is_low_surrogate(text[i + 1])) {
          i += 2;
          continue;
        }
        lone = true;
      } else if (is_low_surrogate(u)) {
        lone = true;
      } else {
        ++i;
        continue;
      }
    }
    std::string in = bytes_of(text.substr(start, i - start));
    const char* p = in.data();
    std::size_t left = in.size();
    utf8_encoder().run(p, left, out);
    if (!lone) break;
    out += "\xEF\xBF\xBD";
    ++i;
    start = i;
  }
  return out;
}

std::string cp932_to_utf8(std::string_view bytes) { return utf16_to_utf8(cp932_to_utf16(bytes)); }

std::string utf8_to_cp932(std::string_view text, std::size_t max_bytes) {
  return utf16_to_cp932(utf8_to_utf16(text), max_bytes);
}

bool is_utf8_text(std::string_view bytes) {
  bool multibyte = false;
  for (std::size_t i = 0; i < bytes.size();) {
    auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    std::size_t n = b >= 0xC2 && b <= 0xDF ? 2 : b >= 0xE0 && b <= 0xEF ? 3 : b >= 0xF0 && b <= 0xF4 ? 4 : 0;
    if (n == 0 || i + n > bytes.size()) return false;
    char32_t c = b & (0xFF >> (n + 1));
    for (std::size_t k = 1; k < n; ++k) {
      auto t = static_cast<unsigned char>(bytes[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      c = (c << 6) | (t & 0x3F);
    }
    constexpr char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < least[n] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return false;
    multibyte = true;
    i += n;
  }
  return multibyte;
}

int cp932_width(char16_t unit) {
  if (unit < 0x80) return 1;
  if (unit >= 0xFF61 && unit <= 0xFF9F) return 1;  // half-width katakana
  return 2;
}

}  // namespace platform
