// host_options.h — what the host's command line adds to the device's: the
// start-up file read before the interpreter starts (or stdin for "-"), the
// encoding of program files, and the language of the messages.
#pragma once
#include <string_view>

#include "app/command_loop.h"

namespace app {

// Reads the start-up file named in options (when there is one) into
// options.startup_text. A file that cannot be read is reported on stderr as
// "vornbasic: cannot open FILE: reason"; false then, and the process ends
// with status 2.
bool read_startup_file(LoopOptions& options);

// "cp932" or "utf-8" forces the encoding of program files; empty detects it.
void set_program_encoding(std::string_view name);

// "en" shows the English gloss of the messages; empty asks
// $VORNBASIC_MESSAGES; anything else keeps the device's Japanese.
void set_message_language(std::string_view name);

}  // namespace app
