// launch.cpp — placeholder until program launching lands: starts nothing.
#include "services/launch.h"

namespace services {

bool launch_program(const std::u16string&, const std::u16string&) { return false; }

}  // namespace services
