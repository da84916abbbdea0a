// interpreter_bench.cpp — how fast programs run: whole BASIC programs executed
// in-process, console output going nowhere. Not part of the test suite:
//   cmake --build build --target interpreter_bench && ./build/bench/interpreter_bench
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "machine/executor.h"
#include "machine/program_store.h"
#include "machine/random.h"
#include "statements/program_commands.h"

namespace {

void load(const std::string& source) {
  statements::new_program();
  std::istringstream lines(source);
  for (std::string line; std::getline(lines, line);) machine::append_line(line);
}

void run_program(benchmark::State& state, const std::string& source) {
  load(source);
  for (auto _ : state) {
    auto run = std::make_shared<machine::ProgramLine>(1, "run");
    benchmark::DoNotOptimize(machine::execute_line(run));
  }
  statements::new_program();
}

void arithmetic_loop(benchmark::State& state) {
  run_program(state,
              "s = 0\n"
              "for i = 1 to 10000\n"
              "s = s + i * 2 - i / 3 mod 7\n"
              "next i\n");
}
BENCHMARK(arithmetic_loop)->Unit(benchmark::kMillisecond);

void goto_and_gosub(benchmark::State& state) {
  run_program(state,
              "n = 0\n"
              "@top\n"
              "gosub @add\n"
              "if n < 10000 then @top\n"
              "end\n"
              "@add\n"
              "n = n + 1 : return\n");
}
BENCHMARK(goto_and_gosub)->Unit(benchmark::kMillisecond);

void arrays(benchmark::State& state) {
  run_program(state,
              "dim a(99, 99)\n"
              "for i = 0 to 99 : for j = 0 to 99\n"
              "a(i, j) = i * j + a(j, i)\n"
              "next j : next i\n");
}
BENCHMARK(arrays)->Unit(benchmark::kMillisecond);

void strings(benchmark::State& state) {
  run_program(state,
              "for i = 1 to 2000\n"
              "s$ = \"\"\n"
              "for j = 1 to 10 : s$ = s$ + \"ab\" : next j\n"
              "if s$ = \"abababababababababab\" then c = c + 1\n"
              "next i\n");
}
BENCHMARK(strings)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
