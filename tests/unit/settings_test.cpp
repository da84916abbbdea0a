// Tests of the settings file: the one scan format and its stopping rules,
// and reading the UTF-16 file.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "device/settings_file.h"

using device::Settings;

namespace {

const std::u16string all_keys =
    u"XWidth=320, XHeight=200, FontSize=16, PosYOrigin=2, ZenkakuStep=16, HankakuStep=8, StepY=18,\r\n"
    u"ControlY=210, ControlHeight=24, EditX=1, EditWidth=200, EnterX=205, EnterWidth=50, StopX=260,\r\n"
    u"StopWidth=-50, TempFile=\\Temp\\edit.txt\r\n";

TEST(Settings, TwoKeysSetTwoValues) {
  Settings s;
  EXPECT_EQ(device::scan_settings(u"XWidth=320, XHeight=200", s), 2);
  EXPECT_EQ(s.XWidth, 320);
  EXPECT_EQ(s.XHeight, 200);
  Settings defaults;
  EXPECT_EQ(s.FontSize, defaults.FontSize);
  EXPECT_EQ(s.StopWidth, defaults.StopWidth);
  EXPECT_EQ(s.TempFile, defaults.TempFile);
}

TEST(Settings, MisspelledThirdKeyStopsTheScan) {
  Settings s;
  EXPECT_EQ(device::scan_settings(u"XWidth=320, XHeight=200, FontSise=16, PosYOrigin=3", s), 2);
  EXPECT_EQ(s.XHeight, 200);
  EXPECT_EQ(s.FontSize, 12);
  EXPECT_EQ(s.PosYOrigin, 0);
}

TEST(Settings, ByteOrderMarkOrEightBitTextChangesNothing) {
  Settings s;
  EXPECT_EQ(device::scan_settings(u"\uFEFFXWidth=320, XHeight=200", s), 0);
  EXPECT_EQ(s.XWidth, 480);
  EXPECT_EQ(device::scan_settings(u"\u5758\u6469", s), 0);  // "XWidth" read as UTF-16
}

TEST(Settings, AllSixteenKeysWithLineEndsBetween) {
  Settings s;
  EXPECT_EQ(device::scan_settings(all_keys, s), 16);
  EXPECT_EQ(s.StepY, 18);
  EXPECT_EQ(s.ControlY, 210);
  EXPECT_EQ(s.StopWidth, -50);
  EXPECT_EQ(s.TempFile, u"\\Temp\\edit.txt");
}

TEST(Settings, BlanksMatchAnyWhiteSpaceButLiteralsMatchExactly) {
  Settings s;
  EXPECT_EQ(device::scan_settings(u"XWidth= +320,XHeight=\t-7", s), 2);  // %d skips blanks; a blank matches none
  EXPECT_EQ(s.XWidth, 320);
  EXPECT_EQ(s.XHeight, -7);
  Settings t;
  EXPECT_EQ(device::scan_settings(u"XWidth =320", t), 0);
  EXPECT_EQ(device::scan_settings(u"XWidth=320\r\nXHeight=200", t), 1);
  EXPECT_EQ(device::scan_settings(u"XWidth=x", t), 0);
  EXPECT_EQ(device::scan_settings(u"XWidth=99999999999", t), 1);
  EXPECT_EQ(t.XWidth, 2147483647);
}

TEST(Settings, TempFileKeepsThePartBeforeABlank) {
  std::u16string text = all_keys.substr(0, all_keys.find(u"TempFile")) + u"TempFile=\\My Documents\\basic.txt";
  Settings s;
  EXPECT_EQ(device::scan_settings(text, s), 16);
  EXPECT_EQ(s.TempFile, u"\\My");
  Settings t;
  text = all_keys.substr(0, all_keys.find(u"TempFile")) + u"TempFile=" + std::u16string(300, u'a');
  device::scan_settings(text, t);
  EXPECT_EQ(t.TempFile.size(), device::temp_file_units);
  // An empty name, or only blanks after "=", is no name: the scan stops before it.
  Settings u;
  EXPECT_EQ(device::scan_settings(all_keys.substr(0, all_keys.find(u"TempFile")) + u"TempFile=", u), 15);
  EXPECT_EQ(device::scan_settings(all_keys.substr(0, all_keys.find(u"TempFile")) + u"TempFile= \r\n", u), 15);
  EXPECT_EQ(u.TempFile, Settings{}.TempFile);
}

TEST(Settings, FileIsUtf16LittleEndianAndReadUpTo4096Bytes) {
  std::string path = (std::filesystem::temp_directory_path() / ("vorn-ini-" + std::to_string(getpid()))).string();
  auto write_utf16 = [&](const std::u16string& text) {
    std::string bytes;
    for (char16_t c : text) {
      bytes.push_back(static_cast<char>(c & 0xFF));
      bytes.push_back(static_cast<char>(c >> 8));
    }
    std::ofstream(path, std::ios::binary) << bytes;
  };
  device::settings = Settings{};
  write_utf16(u"XWidth=320, XHeight=200");
  device::read_settings_file(path);
  EXPECT_EQ(device::settings.XWidth, 320);
  EXPECT_EQ(device::settings.XHeight, 200);

  // The text ends right after the last byte read: an odd last byte is the
  // low half of a unit whose high half is the terminator's.
  write_utf16(u"XWidth=320, XHeight=201");
  std::filesystem::resize_file(path, std::filesystem::file_size(path) - 1);
  device::settings = Settings{};
  device::read_settings_file(path);
  EXPECT_EQ(device::settings.XHeight, 201);

  // Both halves of every unit count: a Japanese file name read from the file.
  device::settings = Settings{};
  write_utf16(all_keys.substr(0, all_keys.find(u"TempFile")) + u"TempFile=\\\u4E00\u30A2.txt");
  device::read_settings_file(path);
  EXPECT_EQ(device::settings.TempFile, u"\\\u4E00\u30A2.txt");

  // TempFile beyond the first 4096 bytes is never seen.
  device::settings = Settings{};
  std::u16string padded = all_keys.substr(0, all_keys.find(u"TempFile"));
  padded += std::u16string(2048 - padded.size(), u' ') + u"TempFile=\\x.txt";
  write_utf16(padded);
  device::read_settings_file(path);
  EXPECT_EQ(device::settings.StopWidth, -50);
  EXPECT_EQ(device::settings.TempFile, Settings{}.TempFile);

  device::settings = Settings{};
  std::filesystem::remove(path);
  device::read_settings_file(path);  // missing: defaults
  EXPECT_EQ(device::settings.XWidth, 480);
}

}  // namespace
