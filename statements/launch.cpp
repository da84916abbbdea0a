// launch.cpp — the launcher behind exec and edit: finds the command that the
// classes root registers for a document's extension, fills in the document and
// the parameters, and runs the program until it ends.
#include "statements/launch.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "platform/paths.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/terminal.h"
#include "platform/text_codec.h"

namespace statements {
namespace {

// The extension of name, from its last dot, with A to Z lowered; empty when
// there is no dot after the first character or the dot ends the name.
std::u16string extension_of(std::u16string_view name) {
  if (name.empty()) return {};
  std::size_t dot = name.size() - 1;
  while (dot > 0 && name[dot] != u'.') --dot;
  if (dot == 0 || dot == name.size() - 1) return {};
  std::u16string ext(name.substr(dot));
  for (char16_t& c : ext)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  return ext;
}

// A default value as the launcher's buffer holds it: up to its first NUL.
bool read_value(const platform::ClassesRoot& root, std::u16string_view key, std::u16string& value) {
  if (!root.read_default(key, value)) return false;
  std::size_t nul = value.find(u'\0');
  if (nul != std::u16string::npos) value.resize(nul);
  return value.size() <= registry_value_chars;
}

// .ext names a class; class\Shell\Open\Command holds the command.
bool registered_command(const std::u16string& ext, std::u16string& command) {
  platform::ClassesRoot root = platform::ClassesRoot::load();
  std::u16string class_name;
  if (!read_value(root, ext, class_name)) return false;
  return read_value(root, class_name + u"\\Shell\\Open\\Command", command);
}

// The terminal's editor standing in for the device's text editor.
bool editor_command(const std::u16string& ext, std::u16string& command) {
  if (ext != u".txt" || !platform::terminal_at_hand()) return false;
  for (const char* variable : {"VISUAL", "EDITOR"}) {
    const char* editor = std::getenv(variable);
    if (editor && *editor) {
      command = platform::utf8_to_utf16(editor) + u" %1";
      return true;
    }
  }
  return false;
}

// Replaces every mark, left to right; false when the result would not fit.
bool replace_all(std::u16string& text, std::u16string_view mark, std::u16string_view with) {
  std::u16string out;
  for (std::size_t at = 0;;) {
    std::size_t found = text.find(mark, at);
    out.append(text, at, found == std::u16string::npos ? std::u16string::npos : found - at);
    if (found == std::u16string::npos) break;
    out.append(with);
    at = found + mark.size();
  }
  if (out.size() > command_chars) return false;
  text = std::move(out);
  return true;
}

struct CommandLine {
  std::u16string program;
  std::u16string arguments;
};

// [spaces] ("program" | program) [spaces] arguments — quotes are dropped from
// the arguments.
CommandLine split_command(std::u16string_view command) {
  std::size_t at = command.find_first_not_of(u' ');
  if (at == std::u16string_view::npos) return {};
  char16_t end_mark = u' ';
  if (command[at] == u'"') {
    end_mark = u'"';
    ++at;
  }
  std::size_t end = std::min(command.find(end_mark, at), command.size());
  CommandLine line{std::u16string(command.substr(at, end - at)), {}};
  std::size_t rest = end < command.size() ? command.find_first_not_of(u' ', end + 1) : end;
  if (rest == std::u16string_view::npos) return line;
  for (char16_t c : command.substr(rest))
    if (c != u'"') line.arguments.push_back(c);
  return line;
}

// The argument line as the program's arguments: words between blanks.
std::vector<std::string> argument_words(std::u16string_view arguments) {
  std::vector<std::string> words;
  std::u16string word;
  for (std::size_t i = 0; i <= arguments.size(); ++i) {
    if (i < arguments.size() && arguments[i] != u' ' && arguments[i] != u'\t') {
      word.push_back(arguments[i]);
    } else if (!word.empty()) {
      words.push_back(platform::utf16_to_utf8(word));
      word.clear();
    }
  }
  return words;
}

std::string host_name(std::u16string_view name) {
  return platform::host_path_utf8(platform::utf16_to_utf8(name));
}

}  // namespace

bool terminal_editor_stands_in(const std::u16string& name) {
  std::u16string ext = extension_of(name);
  std::u16string command;
  return !ext.empty() && !registered_command(ext, command) && editor_command(ext, command);
}

bool launch_program(const std::u16string& name, const std::u16string& params) {
  std::u16string ext = extension_of(name);
  if (ext.empty() || ext.size() > extension_chars) return false;
  CommandLine line{name, params};
  if (ext != u".exe") {
    std::u16string command;
    if (!registered_command(ext, command) && !editor_command(ext, command)) return false;
    std::u16string document = platform::utf8_to_utf16(host_name(name));
    if (!replace_all(command, u"%1", document) || !replace_all(command, u"%2", params)) return false;
    line = split_command(command);
  }
  // What the console has printed comes before what the program prints.
  platform::terminal_flush();
  return platform::run_and_wait(host_name(line.program), argument_words(line.arguments));
}

}  // namespace statements
