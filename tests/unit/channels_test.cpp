// Tests of the channel functions where files and the translation flag meet:
// eof never consuming data across the file's read-ahead, line reading limits,
// and input$ / eof doing no I/O while make's first pass runs.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "device/device.h"
#include "device/line_input.h"
#include "machine/channel_table.h"
#include "machine/errors.h"
#include "machine/evaluator.h"
#include "machine/lexer.h"
#include "machine/machine.h"
#include "machine/program_store.h"
#include "machine/value_stack.h"

namespace fs = std::filesystem;

namespace {

// A file with the given bytes in a private temporary folder.
class TempFile {
 public:
  explicit TempFile(const std::string& bytes) {
    path_ = fs::temp_directory_path() / ("vorn-channels-" + std::to_string(::getpid()) + "-" +
                                         std::to_string(counter_++));
    std::ofstream(path_, std::ios::binary) << bytes;
  }
  ~TempFile() { fs::remove(path_); }
  std::string path() const { return path_.string(); }

 private:
  fs::path path_;
  static inline int counter_ = 0;
};

void evaluate_text(const char* text) {
  machine::start_reading(text);
  machine::clear_value();
  machine::evaluate();
}

std::string string_of(const char* text) {
  evaluate_text(text);
  return machine::get_string();
}

double number_of(const char* text) {
  evaluate_text(text);
  return machine::get_number();
}

// An edit box that must never be asked for a line.
class NoTypingBox : public device::EditBox {
 public:
  device::LineStatus wait_line(std::u16string&) override {
    ADD_FAILURE() << "waited for a typed line";
    return device::LineStatus::closed;
  }
  char16_t take_last_key() override { return 0; }
};

class ChannelsTest : public testing::Test {
 protected:
  void SetUp() override { machine::state = machine::Machine{}; }
  void TearDown() override {
    machine::state = machine::Machine{};
    device::state = device::Device{};
  }
};

TEST_F(ChannelsTest, EofConsumesNothingAcrossReadAhead) {
  // Longer than the file's read-ahead, so eof's one-byte read refills it.
  std::string bytes;
  for (int i = 0; i < 9000; ++i) bytes.push_back(static_cast<char>('a' + i % 23));
  TempFile file(bytes);
  machine::channel_table[4].file_handle = platform::File::open_read(file.path());
  std::string read;
  while (number_of("eof(4)") == 0) {
    EXPECT_EQ(number_of("eof(4)"), 0);
    read += string_of(read.size() % 2 ? "input$(1, #4)" : "input$(7, 4)");
  }
  EXPECT_EQ(read, bytes);
  EXPECT_EQ(string_of("input$(5, 4)"), "");
}

TEST_F(ChannelsTest, ReadLineLimitsAndEnds) {
  TempFile file(std::string(300, 'x') + std::string("\r\nshort\r\na\rb\nno\0nul\nlast", 24));
  platform::File f = platform::File::open_read(file.path());
  std::string line;
  EXPECT_EQ(machine::channel_read_line(f, line, 255), 1);
  EXPECT_EQ(line, std::string(255, 'x'));  // cut, and the rest of the line skipped
  EXPECT_EQ(machine::channel_read_line(f, line, 255), 1);
  EXPECT_EQ(line, "short");
  EXPECT_EQ(machine::channel_read_line(f, line, 255), 1);
  EXPECT_EQ(line, "ab");
  EXPECT_EQ(machine::channel_read_line(f, line, 255), 1);
  EXPECT_EQ(line, "no");
  EXPECT_EQ(machine::channel_read_line(f, line, 255), 0);
  EXPECT_EQ(line, "last");
  EXPECT_EQ(machine::channel_read_line(f, line, 255), 0);
  EXPECT_EQ(line, "");
}

TEST_F(ChannelsTest, TranslationFlagMeansNoInputOutput) {
  NoTypingBox box;
  device::set_edit_box(&box);
  TempFile file("abc");
  machine::channel_table[2].file_handle = platform::File::open_read(file.path());
  machine::execution.translation_flag = true;
  EXPECT_EQ(string_of("input$(5)"), "");
  EXPECT_EQ(string_of("input$(2, #2)"), "");
  EXPECT_EQ(string_of("input$(2, 7)"), "");  // a free channel is not looked at
  EXPECT_EQ(number_of("eof(7)"), 1);
  EXPECT_EQ(number_of("eof(2)"), 1);
  // The arguments are still checked (an error also ends the pass's flag).
  EXPECT_THROW(evaluate_text("eof(\"a\")"), machine::BasicError);
  machine::execution.translation_flag = true;
  EXPECT_THROW(evaluate_text("input$(1, 10)"), machine::BasicError);
  machine::execution.translation_flag = false;
  // Nothing was read meanwhile.
  EXPECT_EQ(string_of("input$(3, 2)"), "abc");
}

}  // namespace
