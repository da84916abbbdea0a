// machine.cpp — the one machine.
#include "machine/machine.h"

namespace machine {

Machine state;

}  // namespace machine
