// fuzz_bitmap.cpp — the 2-bit bitmap reader behind image, and the drawing of
// what it accepts: the first four bytes place the picture, the rest is the file.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "fuzz/fuzz_support.h"
#include "machine/errors.h"
#include "machine/executor.h"
#include "machine/program_store.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  int x = static_cast<std::int16_t>(data[0] | data[1] << 8);
  int y = static_cast<std::int16_t>(data[2] | data[3] << 8);
  std::string line = "image (" + std::to_string(x) + "," + std::to_string(y) + "),\"" +
                     fuzz::bytes_as_file(data + 4, size - 4) + "\"";
  try {
    machine::execute_line(std::make_shared<machine::ProgramLine>(-1, line));
  } catch (const machine::BasicError&) {
  }
  fuzz::reset_interpreter();
  return 0;
}
