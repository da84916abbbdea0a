// fuzz_differential.cpp — one program, loaded as load loads it, run twice
// with the restricted tables: with the token caches and in reference mode
// (every token read from the text again). Any difference in what the run
// leaves behind (its result, the variables, the stacks and resume point, the
// picture) is a fault of the caches.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "fuzz/fuzz_support.h"
#include "machine/memory_budget.h"
#include "statements/program_commands.h"
#include "tests/unit/differential_check.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  machine::set_memory_budget(64u << 20);
  fuzz::fixed_clock = true;
  fuzz::reset_interpreter();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string file = fuzz::bytes_as_file(data, size);
  auto load = [&] { statements::load_program_file(file, false); };
  differential::RunTrace traces[2];
  for (int way = 0; way < 2; ++way) {
    fuzz::reset_interpreter();
    fuzz::steps = 0;
    try {
      traces[way] = differential::run_loaded(load, way == 1);
    } catch (const std::bad_alloc&) {
      fuzz::reset_interpreter();
      return 0;  // past what the machine has: nothing to compare
    }
  }
  std::string diff = differential::difference(traces[0], traces[1]);
  if (!diff.empty()) {
    std::fprintf(stderr, "cached and reference runs differ: %s\n", diff.c_str());
    std::abort();
  }
  fuzz::reset_interpreter();
  return 0;
}
