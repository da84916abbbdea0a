// fuzz_translator.cpp — make over an arbitrary program, loaded as load loads
// it; the translation goes to /dev/null.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

#include "fuzz/fuzz_support.h"
#include "machine/errors.h"
#include "machine/executor.h"
#include "machine/memory_budget.h"
#include "machine/program_store.h"
#include "statements/program_commands.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  machine::set_memory_budget(64u << 20);
  fuzz::reset_interpreter();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    statements::load_program_file(fuzz::bytes_as_file(data, size), false);
    auto make = std::make_shared<machine::ProgramLine>(-1, "make \"/dev/null\"");
    machine::execute_line(make);
  } catch (const machine::BasicError&) {
  } catch (const std::bad_alloc&) {
  }
  fuzz::reset_interpreter();
  return 0;
}
