// clock.h — time as the system sees it.
#pragma once
#include <cstdint>
#include <string>

namespace platform {

// Milliseconds since an arbitrary start (wraps like a 32-bit tick count).
std::uint32_t tick_count();
void sleep_ms(int ms);
// Local time "hh:mm:ss" and date "yyyy/mm/dd".
std::string local_time_text();
std::string local_date_text();

}  // namespace platform
