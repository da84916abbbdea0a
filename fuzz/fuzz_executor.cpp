// fuzz_executor.cpp — one program, loaded as load loads it, run by the
// executor with the restricted tables (restricted_tables.cpp).
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
  fuzz::steps = 0;
  try {
    statements::load_program_file(fuzz::bytes_as_file(data, size), false);
    auto run = std::make_shared<machine::ProgramLine>(1, "run");
    machine::execute_line(run);
  } catch (const machine::BasicError&) {
  } catch (const std::bad_alloc&) {
  }
  fuzz::reset_interpreter();
  return 0;
}
