// settings.cpp — the process-wide settings and the reader of the settings
// file, which follows the formatted-input rules of one scan format.
#include <algorithm>
#include <cstdint>

#include "device/device.h"
#include "device/settings_file.h"
#include "platform/file.h"

namespace device {

Settings& settings = state.settings;

namespace {

// The scan format of the settings file. Each %d fills the next key of
// number_keys, %s fills TempFile.
constexpr std::u16string_view settings_format =
    u"XWidth=%d, XHeight=%d, FontSize=%d, PosYOrigin=%d, ZenkakuStep=%d, HankakuStep=%d, StepY=%d, "
    u"ControlY=%d, ControlHeight=%d, EditX=%d, EditWidth=%d, EnterX=%d, EnterWidth=%d, StopX=%d, "
    u"StopWidth=%d, TempFile=%s";

constexpr int Settings::*number_keys[] = {
    &Settings::XWidth,     &Settings::XHeight,       &Settings::FontSize,  &Settings::PosYOrigin,
    &Settings::ZenkakuStep, &Settings::HankakuStep,  &Settings::StepY,     &Settings::ControlY,
    &Settings::ControlHeight, &Settings::EditX,      &Settings::EditWidth, &Settings::EnterX,
    &Settings::EnterWidth, &Settings::StopX,         &Settings::StopWidth,
};

bool is_white(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

// The text still to be matched.
struct Scanner {
  std::u16string_view text;
  std::size_t at = 0;

  bool at_end() const { return at >= text.size(); }
  char16_t peek() const { return text[at]; }
  void skip_white() {
    while (!at_end() && is_white(peek())) ++at;
  }

  // %d: white space, an optional sign, at least one digit. Values beyond the
  // 32-bit range stay at its ends.
  bool read_int(int& out) {
    skip_white();
    bool negative = false;
    if (!at_end() && (peek() == u'+' || peek() == u'-')) negative = text[at++] == u'-';
    std::size_t digits = at;
    std::int64_t value = 0;
    for (; !at_end() && peek() >= u'0' && peek() <= u'9'; ++at)
      value = std::min<std::int64_t>(value * 10 + (peek() - u'0'), std::int64_t{1} << 32);
    if (at == digits) return false;
    value = negative ? -value : value;
    out = static_cast<int>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
    return true;
  }

  // %s: white space, then the run of non-white characters (kept to 255 units).
  bool read_word(std::u16string& out) {
    skip_white();
    std::size_t start = at;
    while (!at_end() && !is_white(peek())) ++at;
    if (at == start) return false;
    out.assign(text.substr(start, std::min(at - start, temp_file_units)));
    return true;
  }
};

}  // namespace

int scan_settings(std::u16string_view text, Settings& into) {
  text = text.substr(0, text.find(u'\0'));
  Scanner in{text};
  int set = 0;
  for (std::size_t f = 0; f < settings_format.size(); ++f) {
    char16_t c = settings_format[f];
    if (c == u' ') {
      in.skip_white();
    } else if (c == u'%' && settings_format[f + 1] == u'd') {
      ++f;
      if (!in.read_int(into.*number_keys[set])) return set;
      ++set;
    } else if (c == u'%' && settings_format[f + 1] == u's') {
      ++f;
      if (!in.read_word(into.TempFile)) return set;
      ++set;
    } else {
      if (in.at_end() || in.peek() != c) return set;
      ++in.at;
    }
  }
  return set;
}

void read_settings_file(const std::string& host_path) {
  std::string bytes;
  if (!platform::read_file(host_path, bytes, settings_file_bytes)) return;
  // The text is terminated right after the last byte read: an odd last byte
  // becomes a unit whose high half is the terminator's first byte.
  if (bytes.size() % 2 != 0) bytes.push_back('\0');
  std::u16string text(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                    static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  scan_settings(text, settings);
}

}  // namespace device
