// terminal.h — the process's standard streams as console and edit box:
// text mirrored to stdout as UTF-8, lines read from stdin, keys polled.
#pragma once
#include <atomic>
#include <string>

namespace platform {

// Mirroring of console text to stdout is off until enabled (terminal mode).
void terminal_enable_output(bool enabled);
// Queues one UTF-16 unit (printable or line feed) for stdout. Finished lines
// reach stdout within 50 ms.
void terminal_put(char16_t unit);
// Writes what is queued, an unfinished line too. Called before every wait
// (for input, a key, a time, a started program) and at the end.
void terminal_flush();

bool stdin_is_terminal();

enum class ReadResult { line, end_of_input, interrupted };
// Reads one line from stdin (UTF-8, without its LF or CR LF).
ReadResult terminal_read_line(std::string& line);

// Ctrl-C sets *flag to 1 and interrupts a waiting read.
void install_interrupt_handler(std::atomic<int>* flag);

// Waits ms milliseconds and returns the last character typed in that time
// (0 when none). Reads only from a terminal; a pipe or file is left untouched.
char16_t terminal_poll_key(int ms);

}  // namespace platform
