// statement_results.h — what a statement handler tells the executor.
#pragma once

namespace machine {

// A handler that ran nothing: the command loop takes it as a quiet stop.
inline constexpr int no_result = 0;
inline constexpr int go_on = 1;         // carry on with the next statement
inline constexpr int stop_quietly = 2;  // stop, and let the command loop print READY
inline constexpr int end_system = 3;    // bye: end the session

}  // namespace machine
