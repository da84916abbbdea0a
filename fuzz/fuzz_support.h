// fuzz_support.h — what the fuzz targets share: the input as a file the
// system can open by name, and a clean interpreter between runs.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// Puts the bytes into one in-memory file (reused from run to run) and returns
// a name that opens it, so that the system's own file readers take the input.
std::string bytes_as_file(const std::uint8_t* data, std::size_t size);

// The targets that run programs use the restricted statement and function
// tables (restricted_tables.cpp): statements counted in steps, a run ending
// with Break after 2000 of them; time$ and date$ refused while fixed_clock is
// set, so that two runs of one program see the same values.
extern long steps;
extern bool fixed_clock;

// Forgets the program, the variables, the stacks and the channels, and drops
// the break and fatal flags: the next run starts as a fresh session.
void reset_interpreter();

}  // namespace fuzz
