// text_mirror.h — the characters the console has drawn, kept by their cells
// beside the screen picture so that the window can copy the console's text.
// Written by the interpreter thread as the console draws; read by the window
// thread (hence the lock). Graphics are not in it: only what the character
// renderer wrote, moved by its scrolling and emptied by clearing.
#pragma once
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

namespace device {

class TextMirror {
 public:
  // A character drawn in the cell at (x, y), width pixels wide: it replaces
  // the characters whose cells it covers in that row.
  void put(std::int32_t x, std::int32_t y, std::int32_t width, char16_t c);
  // The picture moved up by step pixels; rows that left the top, or that lie
  // at or below cleared_from afterwards, are gone.
  void scroll(std::int32_t step, std::int32_t cleared_from);
  void clear();
  // The text, one line per row, rows step pixels apart (a missing row gives
  // an empty line); gaps inside a row become blanks of column width; trailing
  // blanks and empty rows at the end are left out.
  std::u16string text(std::int32_t step, std::int32_t column);

 private:
  struct Cell {
    std::int32_t width;
    char16_t c;
  };
  std::mutex mutex_;
  std::map<std::int32_t, std::map<std::int32_t, Cell>> rows_;  // y -> x -> cell
};

TextMirror& text_mirror();

}  // namespace device
