// line_history.h — earlier typed lines, recalled with Up and Down in the edit
// box and kept in the history file the terminal's line editor shares:
// $XDG_STATE_HOME/vornbasic/history (else ~/.local/state/vornbasic/history),
// one UTF-8 line per entry, oldest first. No toolkit here.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace device {

// The history file's path; empty when neither XDG_STATE_HOME nor HOME is set.
std::string history_file_path();

class LineHistory {
 public:
  // Entries kept in memory (the newest ones).
  static constexpr std::size_t max_entries = 1000;

  // Reads the file (missing file: no entries). A file that the line editor
  // wrote in its own form (a "_HiStOrY_V2_" first line, \ooo escapes) is read too.
  void load(const std::string& path);
  // Adds a typed line and appends it to the file; empty lines and a repeat of
  // the newest entry are not kept. The browsing position goes back to the end.
  void add(const std::u16string& line);
  // Up: the entry before the one shown, given the text in the box (kept as the
  // draft when browsing starts). False when there is nothing older.
  bool older(const std::u16string& current, std::u16string& shown);
  // Down: the entry after the one shown; past the newest one, the draft.
  bool newer(std::u16string& shown);
  // Typing leaves browsing: the next Up starts at the newest entry again.
  void reset_browsing() { position_ = entries_.size(); }

  const std::vector<std::u16string>& entries() const { return entries_; }

 private:
  std::vector<std::u16string> entries_;
  std::size_t position_ = 0;  // entries_.size() when not browsing
  std::u16string draft_;
  std::string path_;
};

}  // namespace device
