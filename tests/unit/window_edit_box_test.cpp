// Tests of the hand-over of typed lines between the window thread and the
// interpreter thread (run under ThreadSanitizer in CI).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "device/window_edit_box.h"

using device::LineStatus;
using device::WindowEditBox;

TEST(WindowEditBox, ALineSubmittedBeforeTheReadIsKept) {
  WindowEditBox box;
  box.submit(u"print 1");
  std::u16string line;
  EXPECT_EQ(box.wait_line(line), LineStatus::typed);
  EXPECT_EQ(line, u"print 1");
}

TEST(WindowEditBox, OnlyOneLineIsHeldAndTwoSignalsCountAsOne) {
  WindowEditBox box;
  box.submit(u"first");
  box.submit(u"second");
  std::u16string line;
  box.wait_line(line);
  EXPECT_EQ(line, u"second");
  std::thread later([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    box.submit(u"third");
  });
  box.wait_line(line);  // waits: the event was reset by the first read
  EXPECT_EQ(line, u"third");
  later.join();
}

TEST(WindowEditBox, LinesAreCutAt255Units) {
  WindowEditBox box;
  box.submit(std::u16string(300, u'x'));
  std::u16string line;
  box.wait_line(line);
  EXPECT_EQ(line.size(), 255u);
}

TEST(WindowEditBox, StopGivesAnEmptyLineAndSetsTheBreakFlag) {
  WindowEditBox box;
  device::break_flag = 0;
  std::u16string line = u"old";
  std::thread window([&] { box.stop(); });
  EXPECT_EQ(box.wait_line(line), LineStatus::typed);
  window.join();
  EXPECT_EQ(line, u"");
  EXPECT_EQ(device::break_flag.load(), 1);
  device::break_flag = 0;
}

TEST(WindowEditBox, ClosingWakesAWaitingRead) {
  WindowEditBox box;
  std::thread window([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    box.close();
  });
  std::u16string line;
  EXPECT_EQ(box.wait_line(line), LineStatus::closed);
  window.join();
}

TEST(WindowEditBox, TakeLastKeySeesWhatIsTypedDuringItsWait) {
  WindowEditBox box;
  std::atomic<int> cleared{0};
  box.clear_box = [&] { ++cleared; };
  box.text_edited(u"typed before");
  std::atomic<bool> taken{false};
  std::thread window([&] {  // keeps typing until the key is taken: no timing to lose under load
    while (!taken) {
      box.text_edited(u"ab");
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });
  EXPECT_EQ(box.take_last_key(), u'b');
  taken = true;
  window.join();
  EXPECT_EQ(cleared.load(), 1);
  EXPECT_EQ(box.take_last_key(), u'\0');  // nothing typed this time
}

TEST(WindowEditBox, ReturnMakesTheLastKeyALineFeedAndSubmits) {
  WindowEditBox box;
  box.text_edited(u"ab");
  box.submit_return(u"ab");
  EXPECT_EQ(box.peek_last_key(), u'\n');
  std::u16string line;
  box.wait_line(line);
  EXPECT_EQ(line, u"ab");
}

TEST(WindowEditBox, PastedLinesComeOneReadAtATimeInOrder) {
  WindowEditBox box;
  box.submit_lines({u"a=1", u"b=2", u"print a+b"});
  EXPECT_EQ(box.queued_lines(), 2u);
  std::u16string line;
  box.wait_line(line);
  EXPECT_EQ(line, u"a=1");
  box.wait_line(line);
  EXPECT_EQ(line, u"b=2");
  box.wait_line(line);
  EXPECT_EQ(line, u"print a+b");
  EXPECT_EQ(box.queued_lines(), 0u);
  std::thread later([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    box.submit(u"typed");
  });
  box.wait_line(line);  // the paste is used up: this read waits
  EXPECT_EQ(line, u"typed");
  later.join();
}

TEST(WindowEditBox, NeitherAPasteNorALineTypedDuringItIsLost) {
  WindowEditBox box;
  box.submit(u"typed first");  // not yet read: the paste follows it
  box.submit_lines({u"p1", u"p2"});
  box.submit(u"typed last");  // follows the paste instead of replacing a line
  std::u16string line;
  for (const char16_t* expected : {u"typed first", u"p1", u"p2", u"typed last"}) {
    box.wait_line(line);
    EXPECT_EQ(line, expected);
  }
}

TEST(WindowEditBox, TheLastPastedLineIsNotReplacedByATypedOne) {
  WindowEditBox box;
  box.submit_lines({u"only"});
  box.submit(u"typed");
  std::u16string line;
  box.wait_line(line);
  EXPECT_EQ(line, u"only");
  box.wait_line(line);
  EXPECT_EQ(line, u"typed");
}

TEST(WindowEditBox, StopDropsThePastedLinesNotYetRead) {
  WindowEditBox box;
  device::break_flag = 0;
  box.submit_lines({u"p1", u"p2", u"p3"});
  std::u16string line;
  box.wait_line(line);
  box.stop();
  EXPECT_EQ(box.queued_lines(), 0u);
  box.wait_line(line);
  EXPECT_EQ(line, u"");
  EXPECT_EQ(device::break_flag.load(), 1);
  device::break_flag = 0;
}

TEST(WindowEditBox, APasteWhileTheReaderRunsArrivesWhole) {
  WindowEditBox box;
  std::vector<std::u16string> read;
  std::thread interpreter([&] {
    std::u16string line;
    for (int i = 0; i < 200; ++i) {
      box.wait_line(line);
      read.push_back(line);
    }
  });
  for (int round = 0; round < 20; ++round) {
    std::vector<std::u16string> lines;
    for (int i = 0; i < 10; ++i) lines.push_back(std::u16string(1, char16_t(u'A' + round)) + char16_t(u'0' + i));
    box.submit_lines(std::move(lines));
  }
  interpreter.join();
  ASSERT_EQ(read.size(), 200u);
  for (int i = 0; i < 200; ++i)
    EXPECT_EQ(read[i], std::u16string(1, char16_t(u'A' + i / 10)) + char16_t(u'0' + i % 10));
}

TEST(WindowEditBox, PastedTextSplitsAtEveryKindOfLineEnd) {
  std::vector<std::u16string> lines;
  std::u16string rest = device::split_pasted_text(u"a\r\nb\rc\n\nd", lines);
  EXPECT_EQ(lines, (std::vector<std::u16string>{u"a", u"b", u"c", u""}));
  EXPECT_EQ(rest, u"d");
  lines.clear();
  EXPECT_EQ(device::split_pasted_text(u"10 print 1\r\n", lines), u"");
  EXPECT_EQ(lines, (std::vector<std::u16string>{u"10 print 1"}));
}

TEST(WindowEditBox, ThePromptStateReachesTheWindow) {
  WindowEditBox box;
  std::vector<bool> states;
  box.on_prompt = [&](bool waiting) { states.push_back(waiting); };
  device::set_edit_box(&box);
  box.submit(u"");
  std::u16string line;
  device::wait_typed_line(line, true);
  box.submit(u"x");
  device::wait_typed_line(line, false);  // input inside a program: still running
  device::set_edit_box(nullptr);
  EXPECT_EQ(states, (std::vector<bool>{true, false}));
}
