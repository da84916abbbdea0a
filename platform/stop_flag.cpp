// stop_flag.cpp — the watched flag.
#include "platform/stop_flag.h"

namespace platform {
namespace {
std::atomic<const std::atomic<int>*> watched{nullptr};
}  // namespace

void set_stop_flag(const std::atomic<int>* flag) { watched = flag; }

bool stop_requested() {
  const std::atomic<int>* flag = watched.load();
  return flag && flag->load(std::memory_order_relaxed) != 0;
}

}  // namespace platform
