// window_widgets.cpp — the picture view, the edit line and the console
// window: layout at an integer zoom, keyboard Stop, history, pasted lines,
// copying the console's text and picture.
#include "app/window_widgets.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFontInfo>
#include <QKeyEvent>
#include <QMetaObject>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <cstdint>

#include "device/screen.h"
#include "device/settings.h"
#include "device/text_mirror.h"

namespace app {
namespace {

constexpr int max_zoom = 16;

// A setting times the zoom, kept within what a widget geometry can hold.
int scaled(int value, int zoom) {
  return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{value} * zoom, -1000000, 1000000));
}

void paint_background(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, colour);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

}  // namespace

int fit_zoom(QSize available, QSize base) {
  if (base.width() <= 0 || base.height() <= 0) return 1;
  int zoom = std::min(available.width() / base.width(), available.height() / base.height());
  return std::clamp(zoom, 1, max_zoom);
}

PictureView::PictureView(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void PictureView::paintEvent(QPaintEvent*) {
  repaint_pending = false;
  platform::Raster& raster = device::picture();
  std::vector<platform::Colour> pixels = raster.snapshot();
  QImage image(reinterpret_cast<const uchar*>(pixels.data()), raster.width(), raster.height(), raster.width() * 4,
               QImage::Format_RGB32);
  QPainter painter(this);  // no smoothing: each pixel becomes a zoom x zoom square
  painter.drawImage(QRect(0, 0, raster.width() * zoom, raster.height() * zoom), image);
}

EditLine::EditLine(QWidget* parent, device::LineHistory& history) : QLineEdit(parent), history_(history) {}

void EditLine::keyPressEvent(QKeyEvent* event) {
  std::u16string shown;
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (on_return) on_return();
      return;
    case Qt::Key_Up:
      if (history_.older(text().toStdU16String(), shown)) setText(QString::fromStdU16String(shown));
      return;
    case Qt::Key_Down:
      if (history_.newer(shown)) setText(QString::fromStdU16String(shown));
      return;
    case Qt::Key_Escape:
      if (!text().isEmpty()) {
        clear();
        emit textEdited(QString());  // the user's edit: the last key becomes 0
      }
      return;
    default:
      QLineEdit::keyPressEvent(event);
  }
}

ConsoleWindow::ConsoleWindow(device::WindowEditBox& box, int zoom, const QString& file,
                             const std::string& history_path)
    : box_(box), file_(file), running_(!file.isEmpty()) {
  const device::Settings& s = device::settings;
  history_.load(history_path);
  paint_background(this, Qt::white);
  face_ = new QWidget(this);
  paint_background(face_, Qt::white);
  view_ = new PictureView(face_);
  edit_ = new EditLine(face_, history_);
  edit_->setMaxLength(1 << 24);  // a long pasted listing arrives whole; typed lines are cut at 255
  enter_ = new QPushButton("Enter", face_);
  stop_ = new QPushButton("Stop", face_);
  enter_->setFocusPolicy(Qt::TabFocus);
  stop_->setFocusPolicy(Qt::TabFocus);
  stop_->setToolTip("Stop the program (Ctrl+C when no text is selected, Ctrl+Break, Pause)");
  auto end = [](int at, int size) { return std::int64_t{at} + size; };  // settings are used as read
  std::int64_t width = std::max({std::int64_t{device::picture().width()}, end(s.EditX, s.EditWidth),
                                 end(s.EnterX, s.EnterWidth), end(s.StopX, s.StopWidth)});
  std::int64_t height = std::max(std::int64_t{device::picture().height()}, end(s.ControlY, s.ControlHeight));
  base_ = QSize(static_cast<int>(std::clamp<std::int64_t>(width, 1, 8192)),
                static_cast<int>(std::clamp<std::int64_t>(height, 1, 8192)));
  QScreen* screen = QGuiApplication::primaryScreen();
  double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
  default_zoom_ = std::clamp(qRound(dpi / 96.0), 1, max_zoom);
  // The controls' font at zoom 1 is the system font's size on a 96 dpi screen:
  // the zoom takes the place of the screen's own scale.
  base_font_pixels_ = std::max(1, qRound(QFontInfo(face_->font()).pixelSize() * 96.0 / std::max(dpi, 1.0)));
  if (zoom > 0) default_zoom_ = std::clamp(zoom, 1, max_zoom);

  connect(edit_, &QLineEdit::textEdited, this, [this](const QString& text) { text_edited(text); });
  edit_->on_return = [this] { submit(true); };
  connect(enter_, &QPushButton::clicked, this, [this] { submit(false); });
  connect(stop_, &QPushButton::clicked, this, [this] { stop(); });
  add_actions();
  qApp->installEventFilter(this);

  setMinimumSize(base_);
  resize(base_ * default_zoom_);
  lay_out(default_zoom_);
  update_title();
  edit_->setFocus();
}

void ConsoleWindow::add_actions() {
  auto add = [this](const QString& name, QList<QKeySequence> keys, auto function) {
    auto* action = new QAction(name, view_);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, function);
    view_->addAction(action);
    picture_actions_ << action;
  };
  add("Copy text", {QKeySequence("Ctrl+Shift+C")}, [this] { QGuiApplication::clipboard()->setText(console_text()); });
  add("Copy picture", {QKeySequence("Ctrl+Shift+I")},
      [this] { QGuiApplication::clipboard()->setImage(picture_image()); });
  add("Save picture as PNG...", {QKeySequence("Ctrl+S")}, [this] {
    QString path = QFileDialog::getSaveFileName(this, "Save picture", "vornbasic.png", "PNG images (*.png)");
    if (!path.isEmpty()) save_picture(path);
  });
  auto* separator = new QAction(view_);
  separator->setSeparator(true);
  view_->addAction(separator);
  add("Zoom in", {QKeySequence("Ctrl++"), QKeySequence("Ctrl+=")}, [this] { set_zoom(zoom_ + 1); });
  add("Zoom out", {QKeySequence("Ctrl+-")}, [this] { set_zoom(zoom_ - 1); });
  add("Normal zoom", {QKeySequence("Ctrl+0")}, [this] { set_zoom(default_zoom_); });
  add("Full screen", {QKeySequence(Qt::Key_F11)}, [this] { toggle_full_screen(); });
  view_->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void ConsoleWindow::request_paint() {
  if (view_->repaint_pending.exchange(true)) return;
  QMetaObject::invokeMethod(view_, [v = view_] { v->update(); }, Qt::QueuedConnection);
}

void ConsoleWindow::clear_edit() {
  QMetaObject::invokeMethod(edit_, [e = edit_] { e->clear(); }, Qt::QueuedConnection);
}

void ConsoleWindow::set_running(bool running) {
  QMetaObject::invokeMethod(
      this,
      [this, running] {
        running_ = running;
        // A line that ends at once leaves the title alone.
        if (running) QTimer::singleShot(200, this, [this] { update_title(); });
        else update_title();
      },
      Qt::QueuedConnection);
}

void ConsoleWindow::interpreter_ended() {
  running_ = false;
  update_title();
  for (QWidget* control : std::initializer_list<QWidget*>{edit_, enter_, stop_}) control->setEnabled(false);
}

void ConsoleWindow::update_title() {
  QString title = "VornBasic";
  if (!file_.isEmpty()) title += QString::fromUtf8(" \u2014 ") + file_;
  if (running_) title = QString::fromUtf8("\u25B6 ") + title;
  setWindowTitle(title);
}

QImage ConsoleWindow::picture_image() const {
  platform::Raster& raster = device::picture();
  std::vector<platform::Colour> pixels = raster.snapshot();
  return QImage(reinterpret_cast<const uchar*>(pixels.data()), raster.width(), raster.height(), raster.width() * 4,
                QImage::Format_RGB32)
      .copy();
}

QString ConsoleWindow::console_text() const {
  const device::Settings& s = device::settings;
  return QString::fromStdU16String(device::text_mirror().text(s.StepY, s.HankakuStep));
}

bool ConsoleWindow::save_picture(const QString& path) const { return picture_image().save(path, "PNG"); }

void ConsoleWindow::set_zoom(int zoom) {
  zoom = std::clamp(zoom, 1, max_zoom);
  if (isFullScreen() || isMaximized()) {
    lay_out(std::min(zoom, fit_zoom(size(), base_)));
    return;
  }
  resize(base_ * zoom);
  lay_out(zoom);
}

void ConsoleWindow::toggle_full_screen() {
  if (isFullScreen()) showNormal();
  else showFullScreen();
}

void ConsoleWindow::lay_out(int zoom) {
  const device::Settings& s = device::settings;
  zoom_ = zoom;
  view_->zoom = zoom;
  QSize face_size = base_ * zoom;
  face_->setGeometry(std::max(0, (width() - face_size.width()) / 2), std::max(0, (height() - face_size.height()) / 2),
                     face_size.width(), face_size.height());
  view_->setGeometry(0, 0, device::picture().width() * zoom, device::picture().height() * zoom);
  auto place = [zoom](QWidget* w, int x, int width) {
    const device::Settings& s = device::settings;
    w->setGeometry(scaled(x, zoom), scaled(s.ControlY, zoom), scaled(width, zoom), scaled(s.ControlHeight, zoom));
  };
  place(edit_, s.EditX, s.EditWidth);
  place(enter_, s.EnterX, s.EnterWidth);
  place(stop_, s.StopX, s.StopWidth);
  QFont font = face_->font();
  font.setPixelSize(base_font_pixels_ * zoom);
  face_->setFont(font);
  view_->update();
}

void ConsoleWindow::resizeEvent(QResizeEvent*) { lay_out(fit_zoom(size(), base_)); }

void ConsoleWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::WindowStateChange) paint_background(this, isFullScreen() ? Qt::black : Qt::white);
  QWidget::changeEvent(event);
}

bool ConsoleWindow::is_stop_key(const QKeyEvent& key) const {
  // Ctrl+Break reaches Qt as the keysym Break without a key code of its own.
  constexpr quint32 break_keysym = 0xff6b;
  if (key.key() == Qt::Key_Pause || key.nativeVirtualKey() == break_keysym) return true;
  Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
  return key.key() == Qt::Key_C && modifiers == Qt::ControlModifier && !edit_->hasSelectedText();
}

bool ConsoleWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == this && stop_->isEnabled() &&
      is_stop_key(*static_cast<QKeyEvent*>(event))) {
    stop();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void ConsoleWindow::stop() {
  box_.stop();
  edit_->setFocus();
}

void ConsoleWindow::submit(bool by_return) {
  std::u16string line = edit_->text().toStdU16String();
  history_.add(line);
  if (by_return) box_.submit_return(std::move(line));
  else box_.submit(std::move(line));
  edit_->clear();
  edit_->setFocus();
}

// Text with line ends comes from a paste or a drop: each complete line is
// typed in turn; what follows the last line end stays in the box.
void ConsoleWindow::text_edited(const QString& text) {
  history_.reset_browsing();
  std::u16string wide = text.toStdU16String();
  box_.text_edited(wide);
  if (wide.find_first_of(u"\r\n") == std::u16string::npos) return;
  std::vector<std::u16string> lines;
  std::u16string rest = device::split_pasted_text(wide, lines);
  for (const std::u16string& line : lines) history_.add(line);
  box_.submit_lines(std::move(lines));
  edit_->setText(QString::fromStdU16String(rest));
}

void ConsoleWindow::closeEvent(QCloseEvent* event) {
  box_.close();
  device::break_flag = 1;
  event->accept();
}

}  // namespace app
