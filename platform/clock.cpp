// clock.cpp — monotonic ticks, sleeping and the local time.
#include "platform/clock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace platform {

std::uint32_t tick_count() {
  auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void sleep_ms(int ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

namespace {
std::string format_now(const char* picture) {
  std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  char buffer[32];
  std::size_t n = std::strftime(buffer, sizeof buffer, picture, &local);
  return std::string(buffer, n);
}
}  // namespace

std::string local_time_text() { return format_now("%H:%M:%S"); }
std::string local_date_text() { return format_now("%Y/%m/%d"); }

}  // namespace platform
