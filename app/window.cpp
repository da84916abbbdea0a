// window.cpp — the Qt window's life: it starts the interpreter thread behind
// the console window and closes when the command loop ends (or stays, with
// --stay, after a start-up file). The interpreter never calls Qt: it reaches
// the window only through the repaint callback and the edit box's hand-over.
#include "app/window.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QMetaObject>

#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <future>
#include <thread>

#include "app/window_widgets.h"
#include "device/line_history.h"
#include "device/line_input.h"
#include "device/screen.h"
#include "device/window_edit_box.h"

namespace app {
namespace {

ConsoleWindow* the_window = nullptr;

void repaint_window() {
  if (the_window) the_window->request_paint();
}

// A window destroyed from outside (not closed through the window manager)
// ends the process as closing does: X tells only through DestroyNotify.
class DestroyWatch : public QAbstractNativeEventFilter {
 public:
  DestroyWatch(ConsoleWindow& window, device::WindowEditBox& box) : window_(window), box_(box) {}
  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    if (type != "xcb_generic_event_t") return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_DESTROY_NOTIFY) return false;
    auto* destroyed = reinterpret_cast<xcb_destroy_notify_event_t*>(event);
    if (destroyed->window != static_cast<xcb_window_t>(window_.winId())) return false;
    box_.close();
    device::break_flag = 1;
    QMetaObject::invokeMethod(qApp, [] { QApplication::quit(); }, Qt::QueuedConnection);
    return true;
  }

 private:
  ConsoleWindow& window_;
  device::WindowEditBox& box_;
};

QString title_file(const std::u16string& startup_file) {
  return QFileInfo(QString::fromStdU16String(startup_file)).fileName();
}

}  // namespace

int run_window(LoopOptions options, const WindowOptions& window_options, int argc, char** argv) {
  // The zoom is ours, in whole pixels: Qt's own scaling would blur the picture.
  if (!std::getenv("QT_ENABLE_HIGHDPI_SCALING") && !std::getenv("QT_SCALE_FACTOR"))
    ::setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
  QApplication app(argc, argv);
  QApplication::setWindowIcon(QIcon(":/icons/vornbasic.svg"));
  device::WindowEditBox box;
  device::set_edit_box(&box);
  ConsoleWindow window(box, window_options.zoom, title_file(options.startup_file), device::history_file_path());
  the_window = &window;
  box.clear_box = [&window] { window.clear_edit(); };
  box.on_prompt = [&window](bool waiting) { window.set_running(!waiting); };
  device::set_repaint_callback(repaint_window);
  DestroyWatch destroy_watch(window, box);
  app.installNativeEventFilter(&destroy_watch);
  window.show();

  // The interpreter thread; when its command loop ends, the window closes,
  // or stays after a start-up file with --stay.
  bool stay = window_options.stay && !options.startup_file.empty();
  if (stay) options.pause_at_end = false;
  std::promise<int> status_promise;
  std::future<int> status = status_promise.get_future();
  std::thread interpreter([&] {
    status_promise.set_value(interpreter_thread(options));
    if (stay)
      QMetaObject::invokeMethod(&window, [&window] { window.interpreter_ended(); }, Qt::QueuedConnection);
    else
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
  app.removeNativeEventFilter(&destroy_watch);
  device::set_repaint_callback(nullptr);
  device::set_edit_box(nullptr);
  the_window = nullptr;
  return status.get();
}

}  // namespace app

// The library's entry points, looked up by name when the window is loaded.
extern "C" __attribute__((visibility("default"))) bool vornbasic_window_available(std::string* why) {
  return app::window_available(*why);
}

extern "C" __attribute__((visibility("default"))) int vornbasic_run_window(const app::LoopOptions* options,
                                                                           const app::WindowOptions* window_options,
                                                                           int argc, char** argv) {
  return app::run_window(*options, *window_options, argc, argv);
}
