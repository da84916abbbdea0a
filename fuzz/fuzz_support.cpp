// fuzz_support.cpp — the in-memory input file and the reset between runs.
#include "fuzz/fuzz_support.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>

#include "device/line_input.h"
#include "machine/channel_table.h"
#include "machine/control_flow.h"
#include "machine/errors.h"
#include "machine/program_store.h"
#include "machine/value_stack.h"
#include "machine/variables.h"
#include "statements/program_commands.h"

namespace fuzz {

std::string bytes_as_file(const std::uint8_t* data, std::size_t size) {
  static int fd = ::memfd_create("vorn-fuzz", MFD_CLOEXEC);
  if (fd < 0) std::abort();
  if (::ftruncate(fd, 0) != 0) std::abort();
  std::size_t done = 0;
  while (done < size) {
    ssize_t n = ::pwrite(fd, data + done, size - done, static_cast<off_t>(done));
    if (n <= 0) std::abort();
    done += static_cast<std::size_t>(n);
  }
  return "/proc/self/fd/" + std::to_string(fd);
}

void reset_interpreter() {
  statements::new_program();
  machine::clear_value();
  machine::empty_for_stack();
  machine::empty_gosub_stack();
  machine::init_channel_table();
  machine::execution = {};
  device::break_flag = 0;
  machine::fatal_flag = 0;
}

}  // namespace fuzz
