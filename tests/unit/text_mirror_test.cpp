// Tests of the console's text mirror: characters by cell, overwriting,
// scrolling, clearing, and the text the window copies.
#include <gtest/gtest.h>

#include <thread>

#include "device/console.h"
#include "device/screen.h"
#include "device/settings.h"
#include "device/text_mirror.h"

namespace {

std::u16string text(device::TextMirror& m) { return m.text(14, 7); }

TEST(TextMirror, RowsAndColumnsWithGapsAsBlanks) {
  device::TextMirror m;
  m.put(0, 0, 7, u'a');
  m.put(21, 0, 7, u'b');  // two columns skipped (locate)
  m.put(0, 28, 14, u'\u3042');
  m.put(14, 28, 7, u' ');  // trailing blanks are left out
  EXPECT_EQ(text(m), u"a  b\n\n\u3042\n");
}

TEST(TextMirror, ACharacterReplacesTheCellsItCovers) {
  device::TextMirror m;
  m.put(0, 0, 7, u'a');
  m.put(7, 0, 7, u'b');
  m.put(14, 0, 7, u'c');
  m.put(3, 0, 14, u'\u3042');  // over the end of a, all of b, the start of c
  EXPECT_EQ(text(m), u"\u3042\n");
}

TEST(TextMirror, ScrollMovesRowsUpAndDropsWhatLeaves) {
  device::TextMirror m;
  m.put(0, 0, 7, u'a');
  m.put(0, 14, 7, u'b');
  m.put(0, 196, 7, u'c');  // moves to 182, into the rows that scrolling clears
  m.scroll(14, 181);
  EXPECT_EQ(text(m), u"b\n");
  m.clear();
  EXPECT_EQ(text(m), u"");
}

TEST(TextMirror, TheConsoleKeepsItAsItWritesAndScrolls) {
  device::settings = device::Settings{};
  device::create_picture({}, false);
  device::console_print("first\n");
  device::console_write_wide(u"x\u3042y\tz\n");  // a tab neither draws nor moves
  EXPECT_EQ(device::text_mirror().text(14, 7), u"first\nx\u3042yz\n");
  for (int i = 0; i < 20; ++i) device::console_print("line\n");
  std::u16string all = device::text_mirror().text(14, 7);
  EXPECT_EQ(all.find(u"first"), std::u16string::npos);  // scrolled off
  EXPECT_EQ(all.substr(all.size() - 5), u"line\n");
  device::clear_screen();
  EXPECT_EQ(device::text_mirror().text(14, 7), u"");
}

// Run under ThreadSanitizer: the window reads while the interpreter writes.
TEST(WindowTextMirror, ReadWhileTheConsoleWrites) {
  device::TextMirror m;
  std::thread interpreter([&] {
    for (int i = 0; i < 2000; ++i) {
      m.put((i % 60) * 7, 14 * (i % 12), 7, u'a' + i % 26);
      if (i % 100 == 0) m.scroll(14, 181);
    }
  });
  std::size_t total = 0;
  for (int i = 0; i < 200; ++i) total += m.text(14, 7).size();
  interpreter.join();
  EXPECT_GT(total + m.text(14, 7).size(), 0u);
}

}  // namespace
