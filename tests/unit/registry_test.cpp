// The classes root store: keys compare without regard to ASCII case, deleting
// a key takes its subkeys, values survive the file whatever they hold, and a
// damaged or unreadable store never stops the system nor gets overwritten.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "platform/registry.h"

namespace fs = std::filesystem;
using platform::ClassesRoot;

namespace {

class Registry : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("vorn-registry-" + std::to_string(::getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    store_ = (folder_ / "Registry" / "HKEY_CLASSES_ROOT.txt").string();
  }
  void TearDown() override { fs::remove_all(folder_); }

  void write_store(const std::string& bytes) {
    fs::create_directories(fs::path(store_).parent_path());
    std::ofstream(store_, std::ios::binary) << bytes;
  }
  std::string read_store() {
    std::ifstream in(store_, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::u16string value_of(const ClassesRoot& root, std::u16string_view key) {
    std::u16string value;
    return root.read_default(key, value) ? value : u"<none>";
  }

  fs::path folder_;
  std::string store_;
};

TEST_F(Registry, KeysCompareWithoutRegardToAsciiCaseAndKeepTheirOwn) {
  ClassesRoot root = ClassesRoot::load_from(store_);
  ASSERT_TRUE(root.create_key(u".Abc"));
  EXPECT_TRUE(root.set_default(u".ABC", u"abcfile"));
  EXPECT_EQ(value_of(root, u".abc"), u"abcfile");
  ASSERT_TRUE(root.create_key(u"ABCFILE\\Shell"));
  ASSERT_TRUE(root.create_key(u"abcfile\\shell\\Open"));
  // Only ASCII letters fold: full-width A is not a.
  EXPECT_TRUE(root.create_key(u".\uFF21"));
  EXPECT_FALSE(root.set_default(u".\uFF41", u"x"));
  EXPECT_EQ(root.text(),
            "; Vorn Basic registry: the keys under HKEY_CLASSES_ROOT\n"
            "[.Abc]\n@=\"abcfile\"\n[ABCFILE]\n[ABCFILE\\Shell]\n[ABCFILE\\Shell\\Open]\n[.\xEF\xBC\xA1]\n");
}

TEST_F(Registry, DeletingAKeyTakesItsSubkeysAndNothingElse) {
  ClassesRoot root = ClassesRoot::load_from(store_);
  root.create_key(u"abc");
  root.create_key(u"abcfile\\Shell\\Open\\Command");
  root.set_default(u"abcfile\\Shell\\Open\\Command", u"viewer %1");
  root.create_key(u"abcfile2\\Shell");
  EXPECT_TRUE(root.delete_key(u"ABCfile"));
  EXPECT_FALSE(root.delete_key(u"abcfile"));
  EXPECT_EQ(value_of(root, u"abcfile\\Shell\\Open\\Command"), u"<none>");
  EXPECT_EQ(root.text(),
            "; Vorn Basic registry: the keys under HKEY_CLASSES_ROOT\n[abc]\n[abcfile2]\n[abcfile2\\Shell]\n");
  // A subkey alone.
  EXPECT_TRUE(root.delete_key(u"abcfile2\\shell"));
  EXPECT_EQ(root.text(), "; Vorn Basic registry: the keys under HKEY_CLASSES_ROOT\n[abc]\n[abcfile2]\n");
}

TEST_F(Registry, PathsWithEmptyNamesOrControlCharactersAreRefused) {
  ClassesRoot root = ClassesRoot::load_from(store_);
  for (std::u16string_view bad : {u"", u"\\a", u"a\\", u"a\\\\b", u"a\nb", u"a\x7F"}) {
    EXPECT_FALSE(root.create_key(bad));
    EXPECT_FALSE(root.set_default(bad, u"x"));
    EXPECT_FALSE(root.delete_key(bad));
  }
  EXPECT_EQ(root.text(), "; Vorn Basic registry: the keys under HKEY_CLASSES_ROOT\n");
}

TEST_F(Registry, ValuesSurviveTheFile) {
  const std::u16string odd = u"\\Windows\\\"a b\".exe\t%1\r\n\\x41 \u3042\\";
  {
    ClassesRoot root = ClassesRoot::load_from(store_);
    root.create_key(u"odd");
    root.set_default(u"odd", odd);
    root.create_key(u"empty");
    root.set_default(u"empty", u"");
    root.create_key(u"none");
    ASSERT_TRUE(root.save());  // the Registry folder is made on the way
  }
  ClassesRoot back = ClassesRoot::load_from(store_);
  EXPECT_EQ(value_of(back, u"odd"), odd);
  EXPECT_EQ(value_of(back, u"EMPTY"), u"");
  EXPECT_EQ(value_of(back, u"none"), u"<none>");
  EXPECT_EQ(value_of(back, u"missing"), u"<none>");
  EXPECT_EQ(back.text(), read_store());
}

TEST_F(Registry, DamagedStoreKeepsWhatParses) {
  write_store(
      "@=\"before any key\"\r\n"
      "\xFF\xFE garbage\n"
      "[.abc]\r\n"
      "@=\"abcfile\"\r\n"
      "[]\n@=\"no key\"\n"
      "[a\\\\b]\n@=\"bad path\"\n"
      "[.mno]\n@=\"first\"\n[.def\n@=\"unclosed header\"\n"
      "[.ghi]\n@=\"unclosed value\n@=\n"
      "[x\\y]\n"
      "[X]\n@=\"parent given later\"\n"
      "[.abc]\n@=\"last value wins\"\n"
      "[.jkl]\n@=\"no line end\"");
  ClassesRoot root = ClassesRoot::load_from(store_);
  EXPECT_EQ(value_of(root, u".abc"), u"last value wins");
  EXPECT_EQ(value_of(root, u".mno"), u"first");
  EXPECT_EQ(value_of(root, u".ghi"), u"<none>");
  EXPECT_EQ(value_of(root, u"x"), u"parent given later");
  EXPECT_EQ(value_of(root, u".jkl"), u"no line end");
  ASSERT_TRUE(root.save());
  EXPECT_EQ(read_store(),
            "; Vorn Basic registry: the keys under HKEY_CLASSES_ROOT\n"
            "[.abc]\n@=\"last value wins\"\n[.mno]\n@=\"first\"\n[.ghi]\n[x]\n@=\"parent given later\"\n[x\\y]\n"
            "[.jkl]\n@=\"no line end\"\n");
}

TEST_F(Registry, UnreadableStoreIsNeverOverwritten) {
  fs::create_directories(store_);  // a folder where the file should be
  ClassesRoot root = ClassesRoot::load_from(store_);
  EXPECT_TRUE(root.create_key(u".abc"));
  EXPECT_FALSE(root.save());
  EXPECT_TRUE(fs::is_directory(store_));
  EXPECT_EQ(fs::directory_iterator(fs::path(store_).parent_path())->path(), fs::path(store_));
}

TEST_F(Registry, OversizedStoreIsReadAsFarAsItGoesButNotRewritten) {
  std::string big = "[.abc]\n@=\"abcfile\"\n";
  big += std::string(std::size_t{1} << 20, ';');
  write_store(big);
  ClassesRoot root = ClassesRoot::load_from(store_);
  EXPECT_EQ(value_of(root, u".abc"), u"abcfile");
  root.create_key(u".def");
  EXPECT_FALSE(root.save());
  EXPECT_EQ(fs::file_size(store_), big.size());
}

}  // namespace
