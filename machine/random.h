// random.h — the generator behind rnd: values 0 to 32767.
#pragma once
#include <cstdint>

namespace machine {

void seed_random(std::uint32_t seed);
// The next value, 0..32767.
int next_random();
// rnd(x): x * r / 32767 for the next value r, so 0 to x inclusive.
double random_up_to(double x);

}  // namespace machine
