// messages.cpp — the catalogue in Shift-JIS, converted once.
#include "base/messages.h"

#include <array>
#include <string>

#include "platform/text_codec.h"

namespace base {
namespace {

constexpr std::string_view utf8_texts[] = {
#define VORN_MESSAGE_TEXT(id, text, english) text,
    VORN_MESSAGES(VORN_MESSAGE_TEXT)
#undef VORN_MESSAGE_TEXT
};
constexpr std::size_t message_count = std::size(utf8_texts);

// ASCII, so the same bytes in Shift-JIS.
constexpr std::string_view english_texts[] = {
#define VORN_MESSAGE_ENGLISH(id, text, english) english,
    VORN_MESSAGES(VORN_MESSAGE_ENGLISH)
#undef VORN_MESSAGE_ENGLISH
};
static_assert(std::size(english_texts) == message_count);

bool english = false;

const std::array<std::string, message_count>& sjis_texts() {
  static const auto table = [] {
    std::array<std::string, message_count> t;
    for (std::size_t i = 0; i < message_count; ++i) t[i] = platform::utf8_to_cp932(utf8_texts[i]);
    return t;
  }();
  return table;
}

}  // namespace

std::string_view message_text(Message m) { return sjis_texts()[static_cast<std::size_t>(m)]; }

std::string_view shown_text(Message m) {
  return english ? english_texts[static_cast<std::size_t>(m)] : message_text(m);
}

void use_english_messages(bool on) { english = on; }

}  // namespace base
