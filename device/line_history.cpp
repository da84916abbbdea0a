// line_history.cpp — the edit box's history of typed lines and its file.
#include "device/line_history.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/text_codec.h"

namespace device {
namespace {

// The line editor's file escapes blanks and backslashes as \ooo and \\.
std::string unescape_editor_line(const std::string& line) {
  std::string out;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '\\' && i + 3 < line.size() && line[i + 1] >= '0' && line[i + 1] <= '3' &&
        line[i + 2] >= '0' && line[i + 2] <= '7' && line[i + 3] >= '0' && line[i + 3] <= '7') {
      out += static_cast<char>((line[i + 1] - '0') * 64 + (line[i + 2] - '0') * 8 + (line[i + 3] - '0'));
      i += 3;
    } else if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == '\\') {
      out += '\\';
      ++i;
    } else {
      out += line[i];
    }
  }
  return out;
}

}  // namespace

std::string history_file_path() {
  if (const char* s = std::getenv("XDG_STATE_HOME"); s && *s) return std::string(s) + "/vornbasic/history";
  if (const char* h = std::getenv("HOME"); h && *h) return std::string(h) + "/.local/state/vornbasic/history";
  return {};
}

void LineHistory::load(const std::string& path) {
  path_ = path;
  entries_.clear();
  std::ifstream in(path, std::ios::binary);
  std::string line;
  bool editor_form = false;
  for (bool first = true; std::getline(in, line); first = false) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (first && line == "_HiStOrY_V2_") {
      editor_form = true;
      continue;
    }
    if (editor_form) line = unescape_editor_line(line);
    if (line.empty()) continue;
    entries_.push_back(platform::utf8_to_utf16(line));
  }
  if (entries_.size() > max_entries) entries_.erase(entries_.begin(), entries_.end() - max_entries);
  reset_browsing();
}

void LineHistory::add(const std::u16string& line) {
  if (!line.empty() && (entries_.empty() || entries_.back() != line)) {
    entries_.push_back(line);
    if (entries_.size() > max_entries) entries_.erase(entries_.begin());
    if (!path_.empty()) {
      std::error_code ec;
      std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), ec);
      std::ofstream out(path_, std::ios::binary | std::ios::app);
      out << platform::utf16_to_utf8(line) << '\n';
    }
  }
  reset_browsing();
}

bool LineHistory::older(const std::u16string& current, std::u16string& shown) {
  if (position_ == 0) return false;
  if (position_ == entries_.size()) draft_ = current;
  shown = entries_[--position_];
  return true;
}

bool LineHistory::newer(std::u16string& shown) {
  if (position_ >= entries_.size()) return false;
  ++position_;
  shown = position_ == entries_.size() ? draft_ : entries_[position_];
  return true;
}

}  // namespace device
