// differential_check.cpp — one program, both ways, in the same process.
#include "differential_check.h"

#include <cstdio>
#include <memory>
#include <sstream>

#include "device/device.h"
#include "device/screen.h"
#include "machine/control_flow.h"
#include "machine/memory_budget.h"
#include "machine/errors.h"
#include "machine/executor.h"
#include "machine/lexer.h"
#include "machine/machine.h"
#include "machine/program_store.h"
#include "machine/variables.h"

namespace differential {
namespace {

std::string number_text(double x) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.17g", x);
  return buffer;
}

std::string describe_variables() {
  std::string out;
  for (const machine::VariablePtr& v : machine::all_variables()) {
    out += v->name + "[" + std::to_string(v->dimension_count) + "]=";
    if (v->dimension_count == 0) {
      out += machine::type_of_name(v->name) == machine::string_type ? v->text : number_text(v->number);
    } else {
      for (double x : v->numbers) out += number_text(x) + ",";
      for (const std::string& s : v->texts) out += s + ",";
    }
    out += "\n";
  }
  return out;
}

std::string describe_positions() {
  const machine::ExecutionState& e = machine::execution;
  std::string out = "for " + std::to_string(machine::for_depth()) + " gosub " + std::to_string(machine::gosub_depth());
  out += " running " + std::to_string(e.program_running);
  if (e.current_line) out += " line " + std::to_string(e.current_line->number);
  out += " memory " + std::to_string(machine::memory_in_use());
  if (e.cont_line) {
    out += " cont line " + std::to_string(e.cont_line->number) + " at " +
           std::to_string(e.cont_cursor - e.cont_line->text.c_str());
  }
  return out;
}

}  // namespace

RunTrace run_in_process(const std::string& source, bool reference) {
  return run_loaded(
      [&] {
        std::istringstream lines(source);
        for (std::string line; std::getline(lines, line);) machine::append_line(line);
      },
      reference);
}

RunTrace run_loaded(const std::function<void()>& load, bool reference) {
  bool was_reference = machine::reference_mode;
  machine::state = machine::Machine{};
  machine::reference_mode = reference;
  // A fresh device too: the pen, the caret and the console's escape state of
  // an earlier run would show in this one's picture.
  device::state = device::Device{};
  device::create_picture({}, false);
  RunTrace trace;
  try {
    load();
    trace.result = machine::execute_line(std::make_shared<machine::ProgramLine>(-1, "run"));
  } catch (const machine::BasicError&) {
    trace.error = true;
  }
  trace.variables = describe_variables();
  trace.positions = describe_positions();
  for (platform::Colour c : device::picture().snapshot()) trace.picture += std::to_string(c) + ",";
  machine::state = machine::Machine{};
  machine::reference_mode = was_reference;
  return trace;
}

std::string compare_both_ways(const std::string& source) {
  RunTrace cached = run_in_process(source, false);
  RunTrace plain = run_in_process(source, true);
  return difference(cached, plain);
}

std::string difference(const RunTrace& cached, const RunTrace& plain) {
  std::string diff;
  if (cached.result != plain.result || cached.error != plain.error) diff += "result; ";
  if (cached.variables != plain.variables) diff += "variables:\n" + cached.variables + "--\n" + plain.variables;
  if (cached.positions != plain.positions) diff += "positions: " + cached.positions + " / " + plain.positions + "; ";
  if (cached.picture != plain.picture) diff += "picture; ";
  return diff;
}

}  // namespace differential
