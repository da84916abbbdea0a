// window.cpp — the Qt window: it paints the screen picture, passes typed
// lines and Stop to the interpreter thread, and closes when the command loop
// ends. The interpreter never calls Qt: it reaches the window only through
// the repaint callback and the edit box's hand-over.
#include "app/window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QImage>
#include <QLineEdit>
#include <QMetaObject>
#include <QPainter>
#include <QPushButton>
#include <QWidget>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <future>
#include <thread>

#include "device/line_input.h"
#include "device/screen.h"
#include "device/settings.h"
#include "device/window_edit_box.h"

namespace app {
namespace {

// The area the screen picture takes in the window.
class PictureView : public QWidget {
 public:
  explicit PictureView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
  }
  std::atomic<bool> repaint_pending{false};

 protected:
  void paintEvent(QPaintEvent*) override {
    repaint_pending = false;
    platform::Raster& raster = device::picture();
    std::vector<platform::Colour> pixels = raster.snapshot();
    QImage image(reinterpret_cast<const uchar*>(pixels.data()), raster.width(), raster.height(),
                 raster.width() * 4, QImage::Format_RGB32);
    QPainter painter(this);
    painter.drawImage(0, 0, image);
  }
};

class ConsoleWindow : public QWidget {
 public:
  explicit ConsoleWindow(device::WindowEditBox& box) : box_(box) {
    setWindowTitle("VornBasic");
    const device::Settings& s = device::settings;
    view_ = new PictureView(this);
    view_->setGeometry(0, 0, device::picture().width(), device::picture().height());
    edit_ = new QLineEdit(this);
    edit_->setGeometry(s.EditX, s.ControlY, s.EditWidth, s.ControlHeight);
    auto* enter = new QPushButton("Enter", this);
    enter->setGeometry(s.EnterX, s.ControlY, s.EnterWidth, s.ControlHeight);
    auto* stop = new QPushButton("Stop", this);
    stop->setGeometry(s.StopX, s.ControlY, s.StopWidth, s.ControlHeight);
    enter->setFocusPolicy(Qt::NoFocus);
    stop->setFocusPolicy(Qt::NoFocus);
    int width = std::max({device::picture().width(), s.EditX + s.EditWidth, s.EnterX + s.EnterWidth, s.StopX + s.StopWidth});
    int height = std::max(device::picture().height(), s.ControlY + s.ControlHeight);
    setFixedSize(std::max(width, 1), std::max(height, 1));

    connect(edit_, &QLineEdit::textEdited, this, [this](const QString& text) { box_.text_edited(text.toStdU16String()); });
    connect(edit_, &QLineEdit::returnPressed, this, [this] { submit(); });
    connect(enter, &QPushButton::clicked, this, [this] { submit(); });
    connect(stop, &QPushButton::clicked, this, [this] {
      box_.stop();
      edit_->setFocus();
    });
    edit_->setFocus();
  }

  // From any thread: ask for one paint; requests pile up into one.
  void request_paint() {
    if (view_->repaint_pending.exchange(true)) return;
    QMetaObject::invokeMethod(view_, [v = view_] { v->update(); }, Qt::QueuedConnection);
  }

  // From any thread: empty the edit box (not an edit of the user's).
  void clear_edit() {
    QMetaObject::invokeMethod(edit_, [e = edit_] { e->clear(); }, Qt::QueuedConnection);
  }

 protected:
  void closeEvent(QCloseEvent* event) override {
    box_.close();
    device::break_flag = 1;
    event->accept();
  }

 private:
  void submit() {
    box_.submit(edit_->text().toStdU16String());
    edit_->clear();
    edit_->setFocus();
  }

  device::WindowEditBox& box_;
  PictureView* view_;
  QLineEdit* edit_;
};

ConsoleWindow* the_window = nullptr;

void repaint_window() {
  if (the_window) the_window->request_paint();
}

}  // namespace

int run_window(const LoopOptions& options, int argc, char** argv) {
  QApplication app(argc, argv);
  device::WindowEditBox box;
  device::set_edit_box(&box);
  ConsoleWindow window(box);
  the_window = &window;
  box.clear_box = [&window] { window.clear_edit(); };
  device::set_repaint_callback(repaint_window);
  window.show();

  // The interpreter thread; when its command loop ends, the window closes.
  std::promise<int> status_promise;
  std::future<int> status = status_promise.get_future();
  std::thread interpreter([&] {
    status_promise.set_value(interpreter_thread(options));
    QMetaObject::invokeMethod(&app, [] { QApplication::quit(); }, Qt::QueuedConnection);
  });
  QApplication::exec();

  // The window has gone (closed by the user, or by the command loop's end).
  // The interpreter gets a moment to reach a statement boundary; a program
  // that blocks longer (wait, exec) ends with the process.
  box.close();
  device::break_flag = 1;
  if (status.wait_for(std::chrono::seconds(2)) != std::future_status::ready) std::_Exit(0);
  interpreter.join();
  device::set_repaint_callback(nullptr);
  device::set_edit_box(nullptr);
  the_window = nullptr;
  return status.get();
}

}  // namespace app

// The library's entry point, looked up by name when the window is loaded.
extern "C" __attribute__((visibility("default"))) int vornbasic_run_window(const app::LoopOptions* options, int argc,
                                                                           char** argv) {
  return app::run_window(*options, argc, argv);
}
