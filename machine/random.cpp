// random.cpp — a 15-bit linear congruential generator.
#include "machine/random.h"

namespace machine {
namespace {
std::uint32_t state = 1;
}

void seed_random(std::uint32_t seed) { state = seed; }

int next_random() {
  state = state * 214013u + 2531011u;
  return static_cast<int>((state >> 16) & 0x7FFF);
}

}  // namespace machine
