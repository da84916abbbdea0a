// line_editor.cpp — whether lines can be edited, and edit_line, done by
// vornbasic-lineedit.so.
#include "platform/line_editor.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/plugin.h"
#include "platform/plugin_entries.h"

namespace platform {
namespace {

std::string history_path;

// The editor's entry point, loaded once; null when the library is missing.
auto editor_entry() {
  static auto entry = [] {
    std::string error;
    auto found = plugin_entry(vornbasic_edit_line, lineedit_library, "vornbasic_edit_line", error);
    if (!found) std::fprintf(stderr, "vornbasic: no line editing: %s\n", error.c_str());
    return found;
  }();
  return entry;
}

}  // namespace

bool line_editing_possible() {
  const char* term = std::getenv("TERM");
  return ::isatty(STDIN_FILENO) == 1 && ::isatty(STDOUT_FILENO) == 1 && term && *term &&
         std::strcmp(term, "dumb") != 0 && editor_entry() != nullptr;
}

EditResult edit_line(std::string_view prompt, std::string& line, int wake_fd) {
  line.clear();
  return static_cast<EditResult>(editor_entry()(prompt, line, history_path, wake_fd));
}

std::string default_history_file() {
  if (const char* s = std::getenv("XDG_STATE_HOME"); s && *s) return std::string(s) + "/vornbasic/history";
  if (const char* h = std::getenv("HOME"); h && *h) return std::string(h) + "/.local/state/vornbasic/history";
  return {};
}

void set_history_file(std::string path) { history_path = std::move(path); }

}  // namespace platform
