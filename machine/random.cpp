// random.cpp — a 15-bit linear congruential generator.
#include "machine/random.h"

#include "machine/machine.h"

namespace machine {

void seed_random(std::uint32_t seed) { state.random_state = seed; }

int next_random() {
  std::uint32_t& x = state.random_state;
  x = x * 214013u + 2531011u;
  return static_cast<int>((x >> 16) & 0x7FFF);
}

double random_up_to(double x) { return x * next_random() / 32767.0; }

}  // namespace machine
