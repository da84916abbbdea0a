// line_editor.h — editing a typed line at a terminal (libedit): cursor keys,
// Home/End, Delete, Up/Down through earlier lines, history kept in a file
// between sessions. Text is UTF-8; wide characters move and erase as one.
#pragma once
#include <string>
#include <string_view>

namespace platform {

// True when stdin and stdout are terminals that can be edited on (TERM set
// and not "dumb").
bool line_editing_possible();

enum class EditResult { line, end_of_input, interrupted };

// Reads one line with editing, without its line end. prompt is the text the
// cursor's row already shows (what was printed since the last line feed); the
// editor draws it again in place so that the cursor keys know where the line
// starts. Ctrl-D on an empty line is the end of the input; a signal that
// interrupts the wait (Ctrl-C) drops what was typed and moves to a new row.
// wake_fd (when not -1) becoming readable interrupts the wait as Ctrl-C does.
EditResult edit_line(std::string_view prompt, std::string& line, int wake_fd);

// The history file: $XDG_STATE_HOME/vornbasic/history, else
// ~/.local/state/vornbasic/history; empty when neither can be named.
std::string default_history_file();

// Keeps history in path (UTF-8, one line each): the file is read on the first
// edited line, and each new line is added to it at once. Empty: no file.
void set_history_file(std::string path);

}  // namespace platform
