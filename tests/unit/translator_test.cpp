// Tests of the translator's pieces with sharp edges: the bounded output
// writer, the subroutine list, and the state make leaves behind.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "machine/channel_table.h"
#include "machine/errors.h"
#include "machine/executor.h"
#include "machine/keywords.h"
#include "machine/lexer.h"
#include "machine/machine.h"
#include "machine/program_store.h"
#include "machine/variables.h"
#include "platform/file.h"
#include "statements/program_commands.h"
#include "translator/make.h"
#include "translator/translation.h"
#include "translator/translator_state.h"

namespace fs = std::filesystem;
using namespace translator;

namespace {

class TranslatorTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vorn-translator-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    statements::new_program();
  }
  void TearDown() override {
    close_output();
    machine::state = machine::Machine{};
    fs::remove_all(dir_);
  }
  std::string path(const char* name) const { return (dir_ / name).string(); }
  static std::string contents(const std::string& p) {
    std::string bytes;
    platform::read_file(p, bytes);
    return bytes;
  }
  // Runs `make "file"` as a typed line would, letting an error through.
  static int make_into(const std::string& file) {
    static std::string line;
    line = "\"" + file + "\"";
    machine::start_reading(line.c_str());
    return make_statement();
  }

  fs::path dir_;
};

TEST_F(TranslatorTest, TemplatesEndLinesWithCrLfAndStayWithinTheBuffer) {
  translation.output = platform::File::create_write(path("out.txt"));
  output_print(" %s:\n", {"loop"});
  output_print(" goto %s\n", {std::string(600, 'x')});
  close_output();
  std::string text = contents(path("out.txt"));
  ASSERT_EQ(text.substr(0, 8), " loop:\r\n");
  // The second template is cut at the 511 bytes of the format buffer.
  EXPECT_EQ(text.size(), 8u + 511u);
  EXPECT_EQ(text.substr(8, 6), " goto ");
}

TEST_F(TranslatorTest, NothingIsWrittenWithoutAnOpenFile) {
  output_print(" end\n");  // must not fail or write anywhere
  EXPECT_FALSE(translation.output.is_open());
}

TEST_F(TranslatorTest, SubroutineListKeepsFirstMetOrderWithoutRepeats) {
  clear_subroutines();
  add_subroutine("b");
  add_subroutine("a");
  add_subroutine("b");
  add_subroutine("B");
  ASSERT_EQ(translation.subroutines.size(), 3u);
  EXPECT_EQ(translation.subroutines[0], "b");
  EXPECT_EQ(translation.subroutines[1], "a");
  EXPECT_EQ(translation.subroutines[2], "B");
  EXPECT_TRUE(contains_subroutine("a"));
  EXPECT_FALSE(contains_subroutine("A"));
  clear_subroutines();
  EXPECT_TRUE(translation.subroutines.empty());
}

TEST_F(TranslatorTest, CompleteMakeLeavesNothingBehind) {
  machine::append_line("x = 1");
  machine::append_line("gosub @a");
  EXPECT_EQ(make_into(path("c.txt")), machine::stop_quietly);
  EXPECT_FALSE(machine::execution.translation_flag);
  EXPECT_FALSE(translation.output.is_open());
  EXPECT_FALSE(machine::execution.current_line);
  EXPECT_TRUE(machine::all_variables().empty());
  EXPECT_TRUE(translation.subroutines.empty());
  std::string text = contents(path("c.txt"));
  EXPECT_NE(text.find("/* a: */\r\n"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 6), " end\r\n");
}

TEST_F(TranslatorTest, ErrorInPassTwoClosesThePartialFileAndClearsTheFlag) {
  machine::append_line("if 0 then y = 1");
  EXPECT_THROW(make_into(path("p.txt")), machine::BasicError);
  EXPECT_FALSE(machine::execution.translation_flag);
  EXPECT_FALSE(translation.output.is_open());
  std::string text = contents(path("p.txt"));
  EXPECT_EQ(text.substr(text.size() - 29), "  if __tmp1!=0 goto __else0\r\n");
}

TEST_F(TranslatorTest, TranslationFlagIsSetOnlyDuringPassOne) {
  // eof answers 1 without touching a channel while pass 1 runs, so the
  // assignment stores 1; pass 2 writes the call.
  machine::append_line("e = eof(5)");
  machine::append_line("if e = 1 then ok = 1");
  make_into(path("f.txt"));
  EXPECT_FALSE(machine::execution.translation_flag);
  std::string text = contents(path("f.txt"));
  EXPECT_NE(text.find(" int ok!\r\n"), std::string::npos);
  EXPECT_NE(text.find("  bas_eof put_number\r\n"), std::string::npos);
}

TEST_F(TranslatorTest, OutputFileHeldByAChannelIsRefusedAndKeepsItsBytes) {
  machine::append_line("x = 1");
  machine::Channel& ch = machine::channel_table[3];
  ch.file_handle = platform::File::create_write(path("held.txt"));
  ASSERT_TRUE(ch.file_handle.write(std::string("data\r\n")));
  machine::get_variable("kept", false).number = 7;
  EXPECT_THROW(make_into(path("held.txt")), machine::BasicError);
  EXPECT_FALSE(translation.output.is_open());
  EXPECT_FALSE(machine::execution.translation_flag);
  // Nothing of make ran: the variables before it are still there.
  ASSERT_NE(machine::find_variable("kept"), nullptr);
  ch.file_handle.close();
  EXPECT_EQ(contents(path("held.txt")), "data\r\n");
  // Once the channel lets it go, the same name can be written.
  EXPECT_EQ(make_into(path("held.txt")), machine::stop_quietly);
  EXPECT_EQ(contents(path("held.txt")).substr(0, 19), "/* Subroutines */\r\n");
}

}  // namespace
