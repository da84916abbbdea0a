// differential_check.h — runs one program in-process twice, with the token
// caches and in reference mode (every token read from the text again), and
// compares what can be seen afterwards. Meant for tests and for a fuzzer.
#pragma once
#include <functional>
#include <string>

namespace differential {

// What one run leaves behind: the handler result or that an error ended it,
// every variable with its value, the stack depths, the resume point, the
// screen picture (the console's output is drawn there).
struct RunTrace {
  int result = 0;
  bool error = false;
  std::string variables;
  std::string positions;
  std::string picture;
  bool operator==(const RunTrace&) const = default;
};

// Runs source (lines separated by '\n') from a fresh machine and a cleared
// picture. The program must end by itself: no input, no endless loop.
RunTrace run_in_process(const std::string& source, bool reference);

// The same with the program put in place by load, which may raise an error
// (the run then ends there, as one that raised).
RunTrace run_loaded(const std::function<void()>& load, bool reference);

// Empty when both ways agree; otherwise says which part differs.
std::string compare_both_ways(const std::string& source);
std::string difference(const RunTrace& cached, const RunTrace& plain);

}  // namespace differential
