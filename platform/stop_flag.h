// stop_flag.h — the flag Stop sets (Ctrl-C in the terminal, the Stop button in
// the window): waits on devices and FIFOs look at it and give up when it is set.
#pragma once
#include <atomic>

namespace platform {

// The flag to watch; null (the default) means no wait can be stopped.
void set_stop_flag(const std::atomic<int>* flag);
bool stop_requested();

// How long one look at a waiting descriptor lasts before the flag is read again.
inline constexpr int stop_poll_ms = 50;

}  // namespace platform
