// Tests of the hand-over of typed lines between the window thread and the
// interpreter thread (run under ThreadSanitizer in CI).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

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
  std::thread window([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    box.text_edited(u"ab");
  });
  EXPECT_EQ(box.take_last_key(), u'b');
  window.join();
  EXPECT_EQ(cleared.load(), 1);
  EXPECT_EQ(box.take_last_key(), u'\0');  // nothing typed this time
}
