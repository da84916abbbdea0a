// launch.h — opening documents with their registered program.
#pragma once
#include <cstddef>
#include <string>

namespace statements {

// The launcher's fixed buffers of the device build, kept as its limits.
// A command, after "%1" and "%2" are replaced, holds at most this many wide
// characters (a 512-character buffer); a longer one starts nothing.
inline constexpr std::size_t command_chars = 511;
// A registry value is read into at most 512 bytes: 256 wide characters. A
// longer class name or command cannot be read.
inline constexpr std::size_t registry_value_chars = 256;
// An extension, dot included, fits a 16-character buffer with its terminator;
// a name with a longer one starts nothing.
inline constexpr std::size_t extension_chars = 15;

// Opens name with the program registered for its extension (".exe" names the
// program itself), passing params for "%2", and waits until that program
// ends. Returns false when nothing was started.
//
// On the host, device names (starting with a backslash) stand for files under
// the device root: the program's name and the name put in place of "%1" are
// mapped there. When no command is registered for ".txt" and the system runs
// in a terminal, $VISUAL, else $EDITOR, stands in for the device's text
// editor, so that edit works out of the box.
bool launch_program(const std::u16string& name, const std::u16string& params);

// True when launch_program would open name with $VISUAL or $EDITOR: nothing
// is registered for its extension and that editor stands in.
bool terminal_editor_stands_in(const std::u16string& name);

}  // namespace statements
