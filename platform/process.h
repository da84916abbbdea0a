// process.h — starting other programs: one the system waits for, and the
// desktop's opener for documents, which it does not wait for.
#pragma once
#include <string>
#include <vector>

namespace platform {

// Starts program (a host path; a name without a slash is looked up in PATH)
// with args as its arguments after its own name, and waits without time limit
// until it has ended. The program shares the system's standard streams.
// False when it could not be started.
bool run_and_wait(const std::string& program, const std::vector<std::string>& args);

// Hands a document, folder or URL to xdg-open and returns at once; nothing is
// waited for and nothing is reported (a missing xdg-open does nothing). The
// opener runs detached, with /dev/null as its standard streams.
void open_document(const std::string& name);

// True when stdin and stdout are terminals, so that a program started with
// run_and_wait can talk to the user.
bool terminal_at_hand();

}  // namespace platform
