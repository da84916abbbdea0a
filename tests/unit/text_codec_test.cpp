// Tests of the code-page conversions at the system's edges.
#include <gtest/gtest.h>

#include "platform/text_codec.h"

using namespace platform;

TEST(TextCodec, Cp932RoundTrip) {
  std::string sjis = "\x83\x65\x83\x58\x83\x67 abc \\ ~";  // テスト abc \ ~
  std::u16string wide = cp932_to_utf16(sjis);
  EXPECT_EQ(wide, u"テスト abc \\ ~");
  EXPECT_EQ(utf16_to_cp932(wide), sjis);
}

TEST(TextCodec, BackslashAndWaveDashMapAsOnTheDevice) {
  EXPECT_EQ(cp932_to_utf16("\x5C"), u"\\");
  EXPECT_EQ(cp932_to_utf16("\x81\x60"), u"\uFF5E");
}

TEST(TextCodec, UnassignedBytesAreSubstitutedNotDropped) {
  std::u16string wide = cp932_to_utf16("a\x80" "b\xA0" "c\xFD\xFE\xFF" "d");
  EXPECT_EQ(wide, u"a\u0080b\uF8F0c\uF8F1\uF8F2\uF8F3d");
  EXPECT_EQ(utf16_to_cp932(wide), "a\x80" "b\xA0" "c\xFD\xFE\xFF" "d");
  // A lead byte at the very end does not swallow the text before it.
  EXPECT_EQ(cp932_to_utf16("xy\x82"), u"xy\u30FB");
}

TEST(TextCodec, UnencodableCharactersBecomeQuestionMarks) {
  EXPECT_EQ(utf16_to_cp932(u"a\u00E9b"), "a?b");
  EXPECT_EQ(utf16_to_cp932(u"a\U0001F600b"), "a?b");
}

TEST(TextCodec, BoundedConversionNeverSplitsACharacter) {
  std::u16string wide = u"abあい";  // 2 + 2 + 2 bytes
  EXPECT_EQ(utf16_to_cp932(wide, 3), "ab");
  EXPECT_EQ(utf16_to_cp932(wide, 4), "ab\x82\xA0");
  EXPECT_EQ(utf16_to_cp932(wide, 0), "");
}

TEST(TextCodec, Utf8EdgesSubstituteMalformedInput) {
  EXPECT_EQ(utf8_to_utf16("a\xFF" "b"), u"a\uFFFDb");
  EXPECT_EQ(utf16_to_utf8(u"x\xD800y"), "x\xEF\xBF\xBDy");
  EXPECT_EQ(utf16_to_utf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
}

TEST(TextCodec, Widths) {
  EXPECT_EQ(cp932_width(u'A'), 1);
  EXPECT_EQ(cp932_width(u'\uFF71'), 1);  // half-width katakana
  EXPECT_EQ(cp932_width(u'ア'), 2);
  EXPECT_EQ(cp932_width(u'漢'), 2);
}

// What tells a UTF-8 program file from a Shift-JIS one.
TEST(TextCodec, Utf8TextNeedsAMultibyteCharacterAndWellFormedBytes) {
  EXPECT_TRUE(is_utf8_text("print \"\xE3\x81\x82\""));      // あ
  EXPECT_TRUE(is_utf8_text("\xC3\xA9"));                     // é, two bytes
  EXPECT_TRUE(is_utf8_text("\xF0\x9F\x98\x80 x"));           // four bytes
  EXPECT_FALSE(is_utf8_text("print 1\r\n"));                 // ASCII: Shift-JIS as on the device
  EXPECT_FALSE(is_utf8_text(""));
  EXPECT_FALSE(is_utf8_text("\x82\xA0"));                    // あ in Shift-JIS
  EXPECT_FALSE(is_utf8_text("\x83\x65\x83\x58\x83\x67"));    // テスト in Shift-JIS
  EXPECT_FALSE(is_utf8_text("\xE3\x81\x82\x82\xA0"));        // UTF-8 then Shift-JIS
  EXPECT_FALSE(is_utf8_text("\xE3\x81"));                    // cut short at the end
  EXPECT_FALSE(is_utf8_text("\xC0\xAF"));                    // overlong '/'
  EXPECT_FALSE(is_utf8_text("\xE0\x80\xAF"));                // overlong, three bytes
  EXPECT_FALSE(is_utf8_text("\xED\xA0\x80"));                // a surrogate
  EXPECT_FALSE(is_utf8_text("\xF4\x90\x80\x80"));            // beyond U+10FFFF
  EXPECT_FALSE(is_utf8_text("\xB1\xB2"));                    // half-width katakana ｱｲ in Shift-JIS
}
