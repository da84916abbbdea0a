// Tests of the window's widgets on Qt's offscreen platform: history, pasted
// lines, keyboard Stop, zoom geometry, Return for inkey$, copying, the title,
// and the display check that runs before Qt starts.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QScreen>
#include <QTest>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>

#include "app/window.h"
#include "app/window_widgets.h"
#include "device/console.h"
#include "device/screen.h"
#include "device/settings.h"

using app::ConsoleWindow;
using device::LineStatus;

namespace {

class WindowQt : public testing::Test {
 protected:
  void SetUp() override {
    device::settings = device::Settings{};
    device::create_picture();
    device::break_flag = 0;
    folder_ = std::filesystem::temp_directory_path() / ("vorn_window_" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    history_ = (folder_ / "history").string();
  }
  void TearDown() override {
    std::filesystem::remove_all(folder_);
    device::break_flag = 0;
  }
  // The line the interpreter reads next; a read that would wait fails.
  std::u16string read_line() {
    std::u16string line;
    auto read = std::async(std::launch::async, [&] { return box_.wait_line(line); });
    if (read.wait_for(std::chrono::seconds(2)) != std::future_status::ready) {
      ADD_FAILURE() << "no line was submitted";
      box_.close();
    }
    read.get();
    return line;
  }
  static void key(QWidget* w, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(w, k, m); }

  device::WindowEditBox box_;
  std::filesystem::path folder_;
  std::string history_;
};

TEST_F(WindowQt, UpAndDownRecallLinesFromTheHistoryFile) {
  std::ofstream(history_) << "print 1\nprint 2\n";
  ConsoleWindow w(box_, 1, "", history_);
  key(w.edit(), Qt::Key_Up);
  EXPECT_EQ(w.edit()->text(), "print 2");
  key(w.edit(), Qt::Key_Up);
  EXPECT_EQ(w.edit()->text(), "print 1");
  key(w.edit(), Qt::Key_Down);
  key(w.edit(), Qt::Key_Down);
  EXPECT_EQ(w.edit()->text(), "");
  QTest::keyClicks(w.edit(), "list");
  key(w.edit(), Qt::Key_Return);
  EXPECT_EQ(read_line(), u"list");
  std::ifstream in(history_);
  std::string all((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(all, "print 1\nprint 2\nlist\n");
}

TEST_F(WindowQt, EscClearsTheBox) {
  ConsoleWindow w(box_, 1, "", history_);
  QTest::keyClicks(w.edit(), "abc");
  key(w.edit(), Qt::Key_Escape);
  EXPECT_EQ(w.edit()->text(), "");
  EXPECT_EQ(box_.peek_last_key(), u'\0');
}

TEST_F(WindowQt, ReturnGivesInkeyALineFeed) {
  ConsoleWindow w(box_, 1, "", history_);
  QTest::keyClicks(w.edit(), "ab");
  EXPECT_EQ(box_.peek_last_key(), u'b');
  key(w.edit(), Qt::Key_Return);
  EXPECT_EQ(box_.peek_last_key(), u'\n');
  EXPECT_EQ(read_line(), u"ab");
  EXPECT_EQ(w.edit()->text(), "");
}

TEST_F(WindowQt, APasteTypesEachLineInTurnAndKeepsTheRest) {
  ConsoleWindow w(box_, 1, "", history_);
  QTest::keyClicks(w.edit(), "x");
  w.edit()->setCursorPosition(0);
  QGuiApplication::clipboard()->setText("a=1\nb=2\r\nprint a+b\npart");
  key(w.edit(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(w.edit()->text(), "partx");  // after the last line end, with what followed the cursor
  EXPECT_EQ(read_line(), u"a=1");
  EXPECT_EQ(read_line(), u"b=2");
  EXPECT_EQ(read_line(), u"print a+b");
  EXPECT_EQ(box_.queued_lines(), 0u);
  key(w.edit(), Qt::Key_Up);
  EXPECT_EQ(w.edit()->text(), "print a+b");  // pasted lines are in the history too
}

TEST_F(WindowQt, ALongPastedListingArrivesWhole) {
  ConsoleWindow w(box_, 1, "", history_);
  QString listing;
  for (int i = 0; i < 3000; ++i) listing += QString("print %1 ' a comment\n").arg(i, 6);
  QGuiApplication::clipboard()->setText(listing);
  key(w.edit(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(box_.queued_lines(), 2999u);
  EXPECT_EQ(read_line(), u"print      0 ' a comment");
  while (box_.queued_lines() > 1) read_line();
  EXPECT_EQ(read_line(), u"print   2998 ' a comment");
  EXPECT_EQ(read_line(), u"print   2999 ' a comment");
}

TEST_F(WindowQt, CtrlCWithoutSelectionCtrlBreakAndPauseStop) {
  ConsoleWindow w(box_, 1, "", history_);
  EXPECT_TRUE(w.stop_button()->toolTip().contains("Ctrl+Break"));
  key(w.edit(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(device::break_flag.load(), 1);
  EXPECT_EQ(read_line(), u"");
  device::break_flag = 0;

  key(w.edit(), Qt::Key_Pause);
  EXPECT_EQ(device::break_flag.load(), 1);
  read_line();
  device::break_flag = 0;

  // Ctrl+Break: the keysym Break, which Qt gives no key of its own.
  QKeyEvent ctrl_break(QEvent::KeyPress, 0, Qt::ControlModifier, 0x7f, 0xff6b, 0);
  QApplication::sendEvent(w.edit(), &ctrl_break);
  EXPECT_EQ(device::break_flag.load(), 1);
  read_line();
  device::break_flag = 0;
}

TEST_F(WindowQt, CtrlCWithSelectedTextCopiesInstead) {
  ConsoleWindow w(box_, 1, "", history_);
  QTest::keyClicks(w.edit(), "abc");
  w.edit()->selectAll();
  key(w.edit(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(device::break_flag.load(), 0);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "abc");
}

TEST_F(WindowQt, ZoomScalesEverythingAndTheWindowPicksTheLargestThatFits) {
  ConsoleWindow w(box_, 2, "", history_);
  w.show();
  QApplication::processEvents();
  EXPECT_EQ(w.size(), QSize(960, 428));
  EXPECT_EQ(w.view()->geometry(), QRect(0, 0, 960, 392));
  EXPECT_EQ(w.edit()->geometry(), QRect(0, 388, 700, 40));
  EXPECT_EQ(w.stop_button()->geometry(), QRect(832, 388, 120, 40));

  w.resize(1500, 700);
  QApplication::processEvents();
  EXPECT_EQ(w.zoom(), 3);
  EXPECT_EQ(w.face()->geometry(), QRect(30, 29, 1440, 642));  // centred

  w.set_zoom(1);
  QApplication::processEvents();
  EXPECT_EQ(w.size(), QSize(480, 214));
  for (QAction* a : w.picture_actions())
    if (a->text() == "Zoom in") a->trigger();
  QApplication::processEvents();
  EXPECT_EQ(w.zoom(), 2);
  EXPECT_EQ(w.size(), QSize(960, 428));
  for (QAction* a : w.picture_actions())
    if (a->text() == "Normal zoom") a->trigger();
  EXPECT_EQ(w.zoom(), 2);  // the zoom it started with

  w.toggle_full_screen();  // centred on black, at the largest zoom that fits
  QApplication::processEvents();
  ASSERT_TRUE(w.isFullScreen());
  QSize screen = w.screen()->geometry().size();
  int zoom = app::fit_zoom(screen, QSize(480, 214));
  EXPECT_EQ(w.zoom(), zoom);
  EXPECT_EQ(w.face()->geometry(), QRect((screen.width() - 480 * zoom) / 2, (screen.height() - 214 * zoom) / 2,
                                        480 * zoom, 214 * zoom));
  EXPECT_EQ(w.palette().color(QPalette::Window), QColor(Qt::black));
  w.toggle_full_screen();
  QApplication::processEvents();
  EXPECT_EQ(w.palette().color(QPalette::Window), QColor(Qt::white));

  EXPECT_EQ(app::fit_zoom(QSize(959, 5000), QSize(480, 214)), 1);
  EXPECT_EQ(app::fit_zoom(QSize(100, 100), QSize(480, 214)), 1);
  EXPECT_EQ(app::fit_zoom(QSize(1920, 1080), QSize(480, 214)), 4);
}

TEST_F(WindowQt, ThePictureIsDrawnWithCrispWholePixels) {
  device::console_print("crisp\n");
  ConsoleWindow w(box_, 3, "", history_);
  w.show();
  QApplication::processEvents();
  QImage shown = w.view()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  QImage expected = w.picture_image().scaled(480 * 3, 196 * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  EXPECT_EQ(shown, expected.convertToFormat(QImage::Format_RGB32));
}

TEST_F(WindowQt, TheGapsBetweenTheControlsAreWhite) {
  ConsoleWindow w(box_, 1, "", history_);
  w.show();
  QApplication::processEvents();
  QImage image = w.grab().toImage();
  EXPECT_EQ(image.pixelColor(351, 205), QColor(Qt::white));  // between the edit box and Enter
  EXPECT_EQ(image.pixelColor(478, 205), QColor(Qt::white));  // right of Stop
}

TEST_F(WindowQt, CopyTextCopyPictureAndSave) {
  device::console_print("hello\n  world\n");
  ConsoleWindow w(box_, 1, "", history_);
  EXPECT_EQ(w.console_text(), "hello\n  world\n");
  for (QAction* a : w.picture_actions())
    if (a->text() == "Copy text") a->trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "hello\n  world\n");
  for (QAction* a : w.picture_actions())
    if (a->text() == "Copy picture") a->trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(480, 196));
  QString png = QString::fromStdString((folder_ / "shot.png").string());
  ASSERT_TRUE(w.save_picture(png));
  EXPECT_EQ(QImage(png).convertToFormat(QImage::Format_RGB32), w.picture_image());
}

TEST_F(WindowQt, TitleNamesTheFileAndMarksARunningProgram) {
  ConsoleWindow w(box_, 1, "draw.bas", history_);
  EXPECT_EQ(w.windowTitle(), QString::fromUtf8("\u25B6 VornBasic \u2014 draw.bas"));
  w.interpreter_ended();
  EXPECT_EQ(w.windowTitle(), QString::fromUtf8("VornBasic \u2014 draw.bas"));
  EXPECT_FALSE(w.edit()->isEnabled());
  ConsoleWindow interactive(box_, 1, "", history_);
  EXPECT_EQ(interactive.windowTitle(), "VornBasic");
  interactive.set_running(true);
  QTest::qWait(300);
  EXPECT_EQ(interactive.windowTitle(), QString::fromUtf8("\u25B6 VornBasic"));
  interactive.set_running(false);
  QApplication::processEvents();
  EXPECT_EQ(interactive.windowTitle(), "VornBasic");
}

// The display check: an unreachable display means the terminal.
TEST(WindowDisplay, AnUnreachableDisplayIsRefusedWithTheReason) {
  struct Saved {
    const char* name;
    std::string value;
    bool set;
  } saved[] = {{"DISPLAY", "", false}, {"WAYLAND_DISPLAY", "", false}, {"QT_QPA_PLATFORM", "", false}};
  for (Saved& s : saved)
    if (const char* v = std::getenv(s.name)) s.value = v, s.set = true;
  for (Saved& s : saved) ::unsetenv(s.name);

  std::string why;
  EXPECT_FALSE(app::window_available(why));
  EXPECT_EQ(why, "no display");
  ::setenv("DISPLAY", ":97", 1);
  why.clear();
  EXPECT_FALSE(app::window_available(why));
  EXPECT_EQ(why, "cannot reach display :97");
  ::unsetenv("DISPLAY");
  ::setenv("WAYLAND_DISPLAY", "/nonexistent/wayland-7", 1);
  why.clear();
  EXPECT_FALSE(app::window_available(why));
  EXPECT_EQ(why, "cannot reach the Wayland compositor /nonexistent/wayland-7");
  ::unsetenv("WAYLAND_DISPLAY");
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  EXPECT_TRUE(app::window_available(why));

  for (Saved& s : saved) {
    if (s.set) ::setenv(s.name, s.value.c_str(), 1);
    else ::unsetenv(s.name);
  }
}

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
