// The message catalogue: the device's Japanese by default, byte for byte; an
// English gloss for every message on request, in plain ASCII so that it
// passes the Shift-JIS console unchanged.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/host_options.h"
#include "base/messages.h"

namespace {

using base::Message;

constexpr Message all_messages[] = {
#define VORN_MESSAGE_ID(id, text, english) Message::id,
    VORN_MESSAGES(VORN_MESSAGE_ID)
#undef VORN_MESSAGE_ID
};

TEST(Messages, JapaneseIsTheDefaultAndEnglishIsOnlyAGloss) {
  ::unsetenv("VORNBASIC_MESSAGES");
  app::set_message_language("");
  EXPECT_EQ(base::shown_text(Message::syntax), "\x95\xB6\x96\x40\x83\x47\x83\x89\x81\x5B\x82\xC5\x82\xB7");
  for (Message m : all_messages) EXPECT_EQ(base::shown_text(m), base::message_text(m));

  app::set_message_language("en");
  EXPECT_EQ(base::shown_text(Message::syntax), "Syntax error");
  EXPECT_EQ(base::shown_text(Message::break_), "Break");
  for (Message m : all_messages) {
    std::string_view text = base::shown_text(m);
    EXPECT_FALSE(text.empty());
    for (char c : text) EXPECT_TRUE(c >= 0x20 && c < 0x7F) << text;
  }
  // What the translator writes into its output stays the device's.
  EXPECT_NE(base::message_text(Message::division_by_zero), "Division by zero");
  app::set_message_language("ja");
  EXPECT_EQ(base::shown_text(Message::load_failed), base::message_text(Message::load_failed));
}

TEST(Messages, TheEnvironmentAsksWhenTheOptionDoesNot) {
  ::setenv("VORNBASIC_MESSAGES", "en", 1);
  app::set_message_language("");
  EXPECT_EQ(base::shown_text(Message::label_not_found), "Label not found");
  app::set_message_language("ja");  // the option wins
  EXPECT_EQ(base::shown_text(Message::label_not_found), base::message_text(Message::label_not_found));
  ::setenv("VORNBASIC_MESSAGES", "fr", 1);
  app::set_message_language("");
  EXPECT_EQ(base::shown_text(Message::label_not_found), base::message_text(Message::label_not_found));
  ::unsetenv("VORNBASIC_MESSAGES");
  app::set_message_language("");
}

}  // namespace
