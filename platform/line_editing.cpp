// line_editing.cpp — libedit's wide-character editor and history behind
// edit_line (in vornbasic-lineedit.so).

#include <fcntl.h>
#include <poll.h>
#include <histedit.h>
#include <langinfo.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <deque>
#include <filesystem>
#include <fstream>

#include "platform/line_editor.h"
#include "platform/plugin_entries.h"
#include "platform/text_codec.h"

namespace platform {
namespace {

// Lines kept in memory and in the file; the file is cut back to this many
// when it has grown to twice as many.
constexpr int history_lines = 1000;

std::string history_path;
std::wstring prompt_text;
int wake_fd = -1;     // readable: Stop was pressed
bool woken = false;  // the line being read was interrupted by it

// The editor's key reader. libedit's own one goes on reading after a signal
// that came between two reads, so a Ctrl-C typed right after a key could be
// lost; this one waits for a key and the wake descriptor together. Keys are
// UTF-8, decoded with the C library (the character type is UTF-8).
int read_key(EditLine*, wchar_t* key) {
  std::mbstate_t state{};
  for (;;) {
    pollfd waits[2] = {{STDIN_FILENO, POLLIN, 0}, {wake_fd, POLLIN, 0}};
    if (::poll(waits, wake_fd >= 0 ? 2 : 1, -1) < 0) {
      if (errno == EINTR) continue;  // the wake descriptor tells whether it was Stop
      return -1;
    }
    if (wake_fd >= 0 && (waits[1].revents & POLLIN)) {
      woken = true;
      return -1;
    }
    char byte = 0;
    ssize_t n = ::read(STDIN_FILENO, &byte, 1);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0) return n == 0 ? 0 : -1;
    wchar_t c = 0;
    std::size_t used = std::mbrtowc(&c, &byte, 1, &state);
    if (used == static_cast<std::size_t>(-2)) continue;  // more bytes of one character
    if (used == static_cast<std::size_t>(-1)) {
      state = {};
      c = L'\uFFFD';
    }
    *key = c;
    return 1;
  }
}

wchar_t* current_prompt(EditLine*) { return prompt_text.data(); }

std::wstring to_wide(std::string_view utf8) {
  std::wstring wide;
  std::u16string units = utf8_to_utf16(utf8);
  for (std::size_t i = 0; i < units.size(); ++i) {
    char32_t c = units[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF)
      c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
    wide.push_back(static_cast<wchar_t>(c));
  }
  return wide;
}

std::string to_utf8(std::wstring_view wide) {
  std::u16string units;
  for (wchar_t w : wide) {
    auto c = static_cast<char32_t>(w);
    if (c >= 0x10000 && c <= 0x10FFFF) {
      units.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      units.push_back(c > 0xFFFF ? u'\uFFFD' : static_cast<char16_t>(c));
    }
  }
  return utf16_to_utf8(units);
}

// libedit measures characters with the C library, which needs a UTF-8
// character type; the terminal is taken to be UTF-8 as the output is.
void use_utf8_characters() {
  std::setlocale(LC_CTYPE, "");
  if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0) std::setlocale(LC_CTYPE, "C.UTF-8");
}

int terminal_columns() {
  winsize ws{};
  if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 0) return ws.ws_col;
  return 80;
}

int display_width(const std::wstring& text) {
  int width = 0;
  for (wchar_t c : text) width += std::max(0, ::wcwidth(c));
  return width;
}

// Ctrl-D: the end of the input on an empty line (shown as nothing), else
// Delete.
unsigned char end_or_delete(EditLine* el, int) {
  const LineInfoW* line = el_wline(el);
  if (line->buffer == line->lastchar) return CC_EOF;
  if (line->cursor == line->lastchar) return CC_ERROR;
  el_cursor(el, 1);
  el_wdeletestr(el, 1);
  return CC_REFRESH;
}

class LineEditor {
 public:
  LineEditor() {
    use_utf8_characters();
    history_ = history_winit();
    HistEventW event;
    history_w(history_, &event, H_SETSIZE, history_lines);
    history_w(history_, &event, H_SETUNIQUE, 1);
    editor_ = el_init("vornbasic", stdin, stdout, stderr);
    el_wset(editor_, EL_EDITOR, L"emacs");
    el_wset(editor_, EL_PROMPT, current_prompt);
    el_wset(editor_, EL_HIST, history_w, history_);
    el_wset(editor_, EL_GETCFN, read_key);
    bind_common_keys();
    el_source(editor_, nullptr);  // the user's ~/.editrc, when there is one
    load_history();
  }
  ~LineEditor() {
    el_end(editor_);
    history_wend(history_);
  }
  LineEditor(const LineEditor&) = delete;
  LineEditor& operator=(const LineEditor&) = delete;

  EditResult read(std::string_view prompt, std::string& line) {
    prompt_text = to_wide(prompt);
    // Back to the row's start: the editor draws the prompt again over itself.
    // A prompt that fills the row would wrap; the line then starts below it.
    if (display_width(prompt_text) + 2 >= terminal_columns()) {
      prompt_text.clear();
      std::fputs("\n", stdout);
    } else {
      std::fputs("\r", stdout);
    }
    std::fflush(stdout);
    int count = 0;
    woken = false;
    const wchar_t* text = el_wgets(editor_, &count);
    if (woken) {
      el_reset(editor_);  // what was typed before Stop is dropped
      return EditResult::interrupted;
    }
    if (!text) {
      el_reset(editor_);  // what was typed before the interruption is dropped
      return count < 0 ? EditResult::interrupted : EditResult::end_of_input;
    }
    std::wstring wide(text, static_cast<std::size_t>(count));
    while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r')) wide.pop_back();
    line = to_utf8(wide);
    remember(wide, line);
    return EditResult::line;
  }

 private:
  void remember(const std::wstring& wide, const std::string& line) {
    if (wide.empty()) return;
    HistEventW event;
    if (history_w(history_, &event, H_FIRST) == 0 && wide == event.str) return;  // the same line again
    history_w(history_, &event, H_ENTER, wide.c_str());
    append_to_file(line);
  }

  void load_history() {
    if (history_path.empty()) return;
    std::ifstream in(history_path, std::ios::binary);
    std::deque<std::string> lines;
    for (std::string l; std::getline(in, l);) {
      if (l.empty()) continue;
      lines.push_back(l);
      if (lines.size() > static_cast<std::size_t>(history_lines)) {
        lines.pop_front();
        grown_ = true;
      }
    }
    HistEventW event;
    for (const std::string& l : lines) history_w(history_, &event, H_ENTER, to_wide(l).c_str());
    if (grown_) rewrite(lines);
  }

  static void rewrite(const std::deque<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) (text += l) += '\n';
    write_history(O_TRUNC, text);
  }

  static void append_to_file(const std::string& line) {
    if (history_path.empty()) return;
    // The folder and the file are the user's alone: answers to input are in it.
    std::filesystem::path folder = std::filesystem::path(history_path).parent_path();
    std::error_code ec;
    std::filesystem::create_directories(folder.parent_path(), ec);
    ::mkdir(folder.c_str(), 0700);
    write_history(O_APPEND, line + '\n');
  }

  // A history that cannot be written is only not kept.
  static void write_history(int mode, const std::string& text) {
    int fd = ::open(history_path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | mode, 0600);
    if (fd < 0) return;
    ssize_t written = ::write(fd, text.data(), text.size());
    (void)written;
    ::close(fd);
  }

  // Home, End and Delete as the common terminals send them (terminfo gives
  // only one form each), and Ctrl with the arrows for word steps.
  void bind_common_keys() {
    static constexpr const wchar_t* bindings[][2] = {
        {L"\\e[1~", L"ed-move-to-beg"},   {L"\\e[7~", L"ed-move-to-beg"},   {L"\\e[H", L"ed-move-to-beg"},
        {L"\\eOH", L"ed-move-to-beg"},    {L"\\e[4~", L"ed-move-to-end"},   {L"\\e[8~", L"ed-move-to-end"},
        {L"\\e[F", L"ed-move-to-end"},    {L"\\eOF", L"ed-move-to-end"},    {L"\\e[3~", L"ed-delete-next-char"},
        {L"\\e[1;5D", L"ed-prev-word"},   {L"\\e[1;5C", L"em-next-word"},
    };
    for (const auto& b : bindings) el_wset(editor_, EL_BIND, b[0], b[1], static_cast<const wchar_t*>(nullptr));
    el_wset(editor_, EL_ADDFN, L"vorn-end-or-delete", L"End of input on an empty line, else delete", end_or_delete);
    el_wset(editor_, EL_BIND, L"^D", L"vorn-end-or-delete", static_cast<const wchar_t*>(nullptr));
  }

  EditLine* editor_ = nullptr;
  HistoryW* history_ = nullptr;
  bool grown_ = false;
};

LineEditor& editor() {
  static LineEditor instance;
  return instance;
}

}  // namespace
}  // namespace platform

int vornbasic_edit_line(std::string_view prompt, std::string& line, const std::string& history_file, int wake_fd) {
  platform::history_path = history_file;  // read by the editor made at the first line
  platform::wake_fd = wake_fd;
  return static_cast<int>(platform::editor().read(prompt, line));
}
