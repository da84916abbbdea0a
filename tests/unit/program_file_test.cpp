// Program files as the host has them: Shift-JIS or UTF-8, a #! first line, a
// byte-order mark, line ends, the 255-byte line limit, and writing them back.
#include <gtest/gtest.h>

#include "statements/program_file.h"

using statements::decode_program;
using statements::encode_program;
using statements::FileForm;
using statements::ProgramEncoding;
using Lines = std::vector<std::string>;

namespace {

TEST(ProgramFile, ShiftJisIsReadAsTheDeviceReadsIt) {
  auto text = decode_program("print \"\x83\x65\"\r\n\r\n@l\rx\r\n", std::nullopt);
  EXPECT_EQ(text.form.encoding, ProgramEncoding::cp932);
  EXPECT_EQ(text.lines, (Lines{"print \"\x83\x65\"", "", "@lx"}));
  EXPECT_EQ(text.form.crlf, true);
  EXPECT_EQ(text.substituted, 0u);
  // A NUL ends a line's text; the line itself goes on to its LF.
  EXPECT_EQ(decode_program(std::string("ab\0cd\nef\n", 9), std::nullopt).lines, (Lines{"ab", "ef"}));
}

TEST(ProgramFile, TheLastLineCountsWithoutItsLineEnd) {
  EXPECT_EQ(decode_program("print 1\nprint 2", std::nullopt).lines, (Lines{"print 1", "print 2"}));
  EXPECT_EQ(decode_program("print 1\n", std::nullopt).lines, (Lines{"print 1"}));
  EXPECT_EQ(decode_program("", std::nullopt).lines, Lines{});
  EXPECT_EQ(decode_program("\xE3\x81\x82", std::nullopt).lines, (Lines{"\x82\xA0"}));
}

TEST(ProgramFile, Utf8IsDetectedAndConverted) {
  auto text = decode_program("a$=\"\xE3\x81\x82\"\nprint a$\n", std::nullopt);  // あ
  EXPECT_EQ(text.form.encoding, ProgramEncoding::utf8);
  EXPECT_EQ(text.form.crlf, false);
  EXPECT_EQ(text.lines, (Lines{"a$=\"\x82\xA0\"", "print a$"}));
}

TEST(ProgramFile, AByteOrderMarkMeansUtf8AndIsSkipped) {
  auto text = decode_program("\xEF\xBB\xBFprint 1\r\n", std::nullopt);
  EXPECT_EQ(text.form.encoding, ProgramEncoding::utf8);
  EXPECT_EQ(text.form.crlf, true);
  EXPECT_EQ(text.lines, (Lines{"print 1"}));
  // Forced Shift-JIS takes the mark as text.
  EXPECT_EQ(decode_program("\xEF\xBB\xBFx\n", ProgramEncoding::cp932).lines, (Lines{"\xEF\xBB\xBFx"}));
}

TEST(ProgramFile, CharactersShiftJisLacksAreCountedOnce) {
  auto text = decode_program("print \"caf\xC3\xA9 ?\"\n\xF0\x9F\x98\x80\xE2\x82\xAC\n", std::nullopt);
  EXPECT_EQ(text.lines, (Lines{"print \"caf? ?\"", "??"}));
  EXPECT_EQ(text.substituted, 3u);  // the '?' written in the file is not counted
  // Forced UTF-8 over Shift-JIS bytes: each bad byte becomes one '?'.
  auto forced = decode_program("\x82\xA0\n", ProgramEncoding::utf8);
  EXPECT_EQ(forced.lines, (Lines{"??"}));
  EXPECT_EQ(forced.substituted, 2u);
}

TEST(ProgramFile, AScriptLineIsKeptApart) {
  auto text = decode_program("#!/usr/bin/env -S vornbasic --tty\nprint 1\n", std::nullopt);
  EXPECT_EQ(text.form.script_line, "#!/usr/bin/env -S vornbasic --tty");
  EXPECT_EQ(text.lines, (Lines{"print 1"}));
  EXPECT_EQ(text.form.crlf, false);
  // After a byte-order mark, with CR LF, and alone without a line end.
  auto marked = decode_program("\xEF\xBB\xBF#!x\r\nprint \"\xE3\x81\x82\"\r\n", std::nullopt);
  EXPECT_EQ(marked.form.script_line, "#!x");
  EXPECT_EQ(marked.lines, (Lines{"print \"\x82\xA0\""}));
  auto alone = decode_program("#!x", std::nullopt);
  EXPECT_EQ(alone.form.script_line, "#!x");
  EXPECT_TRUE(alone.lines.empty());
  // Only the first line.
  EXPECT_EQ(decode_program("print 1\n#!x\n", std::nullopt).lines, (Lines{"print 1", "#!x"}));
  EXPECT_EQ(decode_program(" #!x\n", std::nullopt).form.script_line, "");
}

TEST(ProgramFile, LinesKeepAtMost255BytesOfShiftJis) {
  std::string sjis_long(300, 'a');
  EXPECT_EQ(decode_program(sjis_long + "\nb\n", std::nullopt).lines, (Lines{std::string(255, 'a'), "b"}));
  // UTF-8: cut after conversion, never inside a double-byte character.
  std::string utf8_long = "a";
  for (int i = 0; i < 200; ++i) utf8_long += "\xE3\x81\x82";  // あ: 3 bytes in UTF-8, 2 in Shift-JIS
  auto text = decode_program(utf8_long + "\n", std::nullopt);
  ASSERT_EQ(text.lines.size(), 1u);
  EXPECT_EQ(text.lines[0].size(), 255u);  // 'a' and 127 characters
  EXPECT_EQ(text.lines[0].substr(253), "\x82\xA0");
}

TEST(ProgramFile, WritingKeepsTheFormTheFileHad) {
  Lines lines{"print \"\x82\xA0\"", "@x"};
  FileForm device;
  EXPECT_EQ(encode_program(lines, device), "print \"\x82\xA0\"\r\n@x\r\n");
  FileForm utf8{ProgramEncoding::utf8, std::nullopt, ""};
  EXPECT_EQ(encode_program(lines, utf8), "print \"\xE3\x81\x82\"\n@x\n");
  FileForm script{ProgramEncoding::cp932, false, "#!/usr/bin/env vornbasic"};
  EXPECT_EQ(encode_program({"print 1"}, script), "#!/usr/bin/env vornbasic\nprint 1\n");
  FileForm utf8_crlf{ProgramEncoding::utf8, true, ""};
  EXPECT_EQ(encode_program({"x"}, utf8_crlf), "x\r\n");
}

TEST(ProgramFile, ReadingWhatWasWrittenGivesTheSameLines) {
  // Bytes Shift-JIS leaves unassigned survive a trip through UTF-8.
  Lines lines{"print \"\x83\x65\x83\x58\x83\x67\"", "a$=\"\x80\xA0\xFD\"", "\xB1\xB2"};
  FileForm utf8{ProgramEncoding::utf8, std::nullopt, "#!x"};
  auto text = decode_program(encode_program(lines, utf8), std::nullopt);
  EXPECT_EQ(text.lines, lines);
  EXPECT_EQ(text.form.encoding, ProgramEncoding::utf8);
  EXPECT_EQ(text.form.script_line, "#!x");
  EXPECT_EQ(text.substituted, 0u);
}

}  // namespace
