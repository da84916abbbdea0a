// launch.h — opening documents with their registered program.
#pragma once
#include <string>

namespace services {

// Opens name with the program registered for its type (with params) and waits
// until that program ends. Returns false when nothing could be started.
bool launch_program(const std::u16string& name, const std::u16string& params);

}  // namespace services
