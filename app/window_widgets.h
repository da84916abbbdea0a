// window_widgets.h — the window's Qt widgets: the picture view, the edit
// line, and the console window that holds them with "Enter" and "Stop" and
// zooms them together. Only app/window*.cpp and the window's tests see this.
#pragma once
#include <QAction>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSize>
#include <QString>
#include <QWidget>

#include <atomic>
#include <string>

#include "device/line_history.h"
#include "device/window_edit_box.h"

namespace app {

// The largest integer zoom at which base fits into available (at least 1).
int fit_zoom(QSize available, QSize base);

// The screen picture, drawn zoom times larger with crisp pixels.
class PictureView : public QWidget {
 public:
  explicit PictureView(QWidget* parent);
  std::atomic<bool> repaint_pending{false};
  int zoom = 1;

 protected:
  void paintEvent(QPaintEvent*) override;
};

// The edit box: Up and Down recall earlier lines, Esc clears, Return submits.
class EditLine : public QLineEdit {
 public:
  EditLine(QWidget* parent, device::LineHistory& history);
  std::function<void()> on_return;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  device::LineHistory& history_;
};

class ConsoleWindow : public QWidget {
 public:
  // zoom 0: the screen's device pixel ratio. file: the start-up file (title).
  ConsoleWindow(device::WindowEditBox& box, int zoom, const QString& file, const std::string& history_path);

  // From any thread: ask for one paint; requests pile up into one.
  void request_paint();
  // From any thread: empty the edit box (not an edit of the user's).
  void clear_edit();
  // From any thread: whether a program runs (the title's mark).
  void set_running(bool running);
  // Window thread: the interpreter has ended but the window stays.
  void interpreter_ended();

  // The console's picture at its own size, and its text.
  QImage picture_image() const;
  QString console_text() const;
  bool save_picture(const QString& path) const;

  void set_zoom(int zoom);  // resizes the window to fit (not when maximised or full screen)
  int zoom() const { return zoom_; }
  int default_zoom() const { return default_zoom_; }
  QSize base_size() const { return base_; }
  void toggle_full_screen();

  PictureView* view() const { return view_; }
  EditLine* edit() const { return edit_; }
  QPushButton* stop_button() const { return stop_; }
  QWidget* face() const { return face_; }
  QList<QAction*> picture_actions() const { return picture_actions_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void submit(bool by_return);
  void text_edited(const QString& text);
  void lay_out(int zoom);
  void stop();
  void update_title();
  void add_actions();
  bool is_stop_key(const QKeyEvent& key) const;

  device::WindowEditBox& box_;
  device::LineHistory history_;
  QWidget* face_;  // everything at zoom, centred in the window
  PictureView* view_;
  EditLine* edit_;
  QPushButton* enter_;
  QPushButton* stop_;
  QList<QAction*> picture_actions_;
  QSize base_;
  int zoom_ = 1;
  int default_zoom_ = 1;
  int base_font_pixels_ = 12;
  QString file_;
  bool running_;  // a program runs: the title's mark
};

}  // namespace app
