// text_mirror.cpp — the console's characters by cell, for copying its text.
#include "device/text_mirror.h"

#include "device/device.h"

namespace device {

void TextMirror::put(std::int32_t x, std::int32_t y, std::int32_t width, char16_t c) {
  std::lock_guard lock(mutex_);
  auto& row = rows_[y];
  // Drop the cells this one overlaps: those starting inside it, and one
  // starting before it that reaches into it.
  auto it = row.lower_bound(x);
  if (it != row.begin()) {
    auto before = std::prev(it);
    if (std::int64_t{before->first} + before->second.width > x) row.erase(before);
  }
  while (it != row.end() && it->first < std::int64_t{x} + width) it = row.erase(it);
  row[x] = Cell{width, c};
}

void TextMirror::scroll(std::int32_t step, std::int32_t cleared_from) {
  std::lock_guard lock(mutex_);
  std::map<std::int32_t, std::map<std::int32_t, Cell>> moved;
  for (auto& [y, row] : rows_) {
    std::int64_t new_y = std::int64_t{y} - step;
    if (new_y < 0 || new_y >= cleared_from) continue;
    moved.emplace(static_cast<std::int32_t>(new_y), std::move(row));
  }
  rows_ = std::move(moved);
}

void TextMirror::clear() {
  std::lock_guard lock(mutex_);
  rows_.clear();
}

std::u16string TextMirror::text(std::int32_t step, std::int32_t column) {
  std::lock_guard lock(mutex_);
  if (step <= 0) step = 1;
  if (column <= 0) column = 1;
  std::u16string out;
  bool first = true;
  std::int64_t last_y = 0;
  for (const auto& [y, row] : rows_) {
    if (row.empty()) continue;
    if (!first) {
      std::int64_t gap = (std::int64_t{y} - last_y) / step;
      for (std::int64_t i = 1; i < gap && i < 4096; ++i) out += u'\n';
    }
    std::u16string line;
    std::int64_t x_end = 0;
    for (const auto& [x, cell] : row) {
      for (std::int64_t gap = (std::int64_t{x} - x_end) / column; gap > 0 && line.size() < 4096; --gap) line += u' ';
      line += cell.c;
      x_end = std::int64_t{x} + cell.width;
    }
    while (!line.empty() && line.back() == u' ') line.pop_back();
    out += line;
    out += u'\n';
    first = false;
    last_y = y;
  }
  return out;
}

TextMirror& text_mirror() { return *state.text_mirror; }

}  // namespace device
