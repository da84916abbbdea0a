// Tests of whole-file replacement: the target holds the old content or the
// new, never a part; permission bits and symbolic links survive; devices are
// written in place and their failures reported.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/replacement_file.h"

namespace fs = std::filesystem;

namespace {

class ReplacementFileTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vorn-replace-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string path(const char* name) const { return (dir_ / name).string(); }
  static std::string contents(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::size_t entries() const { return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), {})); }

  fs::path dir_;
};

TEST_F(ReplacementFileTest, OnlyACommitReplacesTheTarget) {
  std::ofstream(path("t.txt")) << "old";
  {
    platform::ReplacementFile f(path("t.txt"));
    ASSERT_TRUE(f.is_open());
    EXPECT_TRUE(f.write("new"));
    EXPECT_EQ(contents(path("t.txt")), "old");  // nothing changes before the commit
    EXPECT_EQ(entries(), 2u);
  }  // dropped without commit
  EXPECT_EQ(contents(path("t.txt")), "old");
  EXPECT_EQ(entries(), 1u);
  EXPECT_TRUE(platform::replace_file(path("t.txt"), "new"));
  EXPECT_EQ(contents(path("t.txt")), "new");
  EXPECT_EQ(entries(), 1u);
  EXPECT_TRUE(platform::replace_file(path("fresh.txt"), ""));
  EXPECT_TRUE(fs::exists(path("fresh.txt")));
}

TEST_F(ReplacementFileTest, KeepsPermissionBitsAndFollowsLinks) {
  std::ofstream(path("t.txt")) << "old";
  ::chmod(path("t.txt").c_str(), 0640);
  fs::create_symlink("t.txt", path("link.txt"));
  EXPECT_TRUE(platform::replace_file(path("link.txt"), "new"));
  EXPECT_TRUE(fs::is_symlink(path("link.txt")));
  EXPECT_EQ(contents(path("t.txt")), "new");
  struct stat st;
  ASSERT_EQ(::stat(path("t.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(ReplacementFileTest, RefusalsLeaveNothingBehind) {
  EXPECT_FALSE(platform::replace_file(path("no/such/folder/t.txt"), "x"));
  fs::create_directories(path("folder"));
  EXPECT_FALSE(platform::replace_file(path("folder"), "x"));
  EXPECT_TRUE(fs::is_directory(path("folder")));
  // Devices are written where they are: /dev/null takes anything, /dev/full nothing.
  EXPECT_TRUE(platform::replace_file("/dev/null", "x"));
  EXPECT_FALSE(platform::replace_file("/dev/full", "x"));
  EXPECT_TRUE(fs::is_character_file("/dev/full"));
  // A FIFO without a reader is refused at once rather than waited for.
  ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0666), 0);
  EXPECT_FALSE(platform::replace_file(path("fifo"), "x"));
  EXPECT_EQ(entries(), 2u);
}

}  // namespace
