// Tests of the edit box's history: the shared file (plain lines or the line
// editor's own form), adding, and browsing with a draft.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "device/line_history.h"

namespace {

class LineHistory : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() / ("vorn_history_" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder_);
    path_ = (folder_ / "vornbasic" / "history").string();
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  void write(const std::string& bytes) {
    std::filesystem::create_directories(folder_ / "vornbasic");
    std::ofstream(path_, std::ios::binary) << bytes;
  }
  std::string read() {
    std::ifstream in(path_, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::filesystem::path folder_;
  std::string path_;
};

TEST_F(LineHistory, PathFollowsXdgStateHomeElseHome) {
  std::string saved_state = std::getenv("XDG_STATE_HOME") ? std::getenv("XDG_STATE_HOME") : "";
  std::string saved_home = std::getenv("HOME") ? std::getenv("HOME") : "";
  ::setenv("XDG_STATE_HOME", "/s", 1);
  EXPECT_EQ(device::history_file_path(), "/s/vornbasic/history");
  ::unsetenv("XDG_STATE_HOME");
  ::setenv("HOME", "/h", 1);
  EXPECT_EQ(device::history_file_path(), "/h/.local/state/vornbasic/history");
  if (!saved_state.empty()) ::setenv("XDG_STATE_HOME", saved_state.c_str(), 1);
  ::setenv("HOME", saved_home.c_str(), 1);
}

TEST_F(LineHistory, ReadsPlainUtf8LinesAndAppendsNewOnes) {
  write("print 1\r\n\nprint \"\xE3\x81\x82\"\n");
  device::LineHistory h;
  h.load(path_);
  EXPECT_EQ(h.entries(), (std::vector<std::u16string>{u"print 1", u"print \"\u3042\""}));
  h.add(u"bye");
  h.add(u"bye");  // a repeat of the newest entry is not kept
  h.add(u"");     // nor an empty line
  EXPECT_EQ(read(), "print 1\r\n\nprint \"\xE3\x81\x82\"\nbye\n");
}

TEST_F(LineHistory, CreatesTheFolderAndFileOnFirstAdd) {
  device::LineHistory h;
  h.load(path_);
  EXPECT_TRUE(h.entries().empty());
  h.add(u"list");
  EXPECT_EQ(read(), "list\n");
}

TEST_F(LineHistory, ReadsTheLineEditorsOwnForm) {
  // Escapes at the very start and end of a line; a cut-off one and one with
  // a digit past 7 are kept as they are.
  write("_HiStOrY_V2_\nprint\\0401\nload\\040\"\\\\Windows\\\\a.bas\"\n\\040a\\040\nb\\04\nc\\081\n");
  device::LineHistory h;
  h.load(path_);
  std::vector<std::u16string> expected{u"print 1", u"load \"\\Windows\\a.bas\"", u" a ", u"b\\04", u"c\\081"};
  EXPECT_EQ(h.entries(), expected);
  h.load(path_);  // loading again replaces what was there
  EXPECT_EQ(h.entries(), expected);
}

TEST_F(LineHistory, UpAndDownWalkTheEntriesAndComeBackToTheDraft) {
  device::LineHistory h;
  h.add(u"one");
  h.add(u"two");
  std::u16string shown;
  EXPECT_FALSE(h.newer(shown));  // not browsing: Down does nothing
  EXPECT_TRUE(h.older(u"draft", shown));
  EXPECT_EQ(shown, u"two");
  EXPECT_TRUE(h.older(u"two", shown));
  EXPECT_EQ(shown, u"one");
  EXPECT_FALSE(h.older(u"one", shown));  // nothing older
  EXPECT_TRUE(h.newer(shown));
  EXPECT_EQ(shown, u"two");
  EXPECT_TRUE(h.newer(shown));
  EXPECT_EQ(shown, u"draft");
  EXPECT_FALSE(h.newer(shown));
}

TEST_F(LineHistory, KeepsTheNewestEntriesOnly) {
  std::string many;
  for (std::size_t i = 0; i < device::LineHistory::max_entries + 5; ++i) many += "l" + std::to_string(i) + "\n";
  write(many);
  device::LineHistory h;
  h.load(path_);
  ASSERT_EQ(h.entries().size(), device::LineHistory::max_entries);
  EXPECT_EQ(h.entries().front(), u"l5");
}

}  // namespace
