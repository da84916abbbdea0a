// system_services.cpp — start, exec, wait and regist: the statements that
// reach the rest of the device. None of them reports a failure of its own.
#include "statements/system_services.h"

#include <string>

#include "machine/evaluator.h"
#include "machine/keywords.h"
#include "machine/lexer.h"
#include "machine/value_stack.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/terminal.h"
#include "platform/text_codec.h"
#include "statements/launch.h"

using machine::lexer;

namespace statements {
namespace {

// A name or parameter text is converted into 252 wide characters with the
// terminator; a longer one is not handed to the device at all.
constexpr std::size_t text_chars = 251;
// ".ext" must fit the launcher's extension buffer, or exec could never find it.
constexpr std::size_t regist_extension_chars = extension_chars - 1;

struct WideText {
  std::u16string text;
  bool fits = true;
};

// expr — evaluated and popped as a string, as wide text
WideText string_argument() {
  machine::clear_value();
  machine::evaluate();
  WideText wide{platform::cp932_to_utf16(machine::get_string())};
  wide.fits = wide.text.size() <= text_chars;
  return wide;
}

struct Target {
  WideText name;
  WideText params;
  bool fits() const { return name.fits && params.fits; }
};

// name [ , parameters ]
Target target() {
  Target t{string_argument(), {}};
  if (lexer.first() == ',') {
    machine::next_token();
    t.params = string_argument();
  }
  return t;
}

void register_extension(platform::ClassesRoot& root, const std::u16string& ext, const std::u16string& program) {
  std::u16string class_key = ext + u"file";
  root.create_key(u"." + ext);
  root.set_default(u"." + ext, class_key);
  root.create_key(class_key);
  root.set_default(class_key, ext);
  root.create_key(class_key + u"\\Shell");
  root.create_key(class_key + u"\\Shell\\Open");
  root.create_key(class_key + u"\\Shell\\Open\\Command");
  root.set_default(class_key + u"\\Shell\\Open\\Command", program + u" %1");
}

}  // namespace

// start name [ , parameters ]
int start_statement() {
  Target t = target();
  // xdg-open takes the document alone: the parameters have nowhere to go.
  if (t.fits() && !t.name.text.empty())
    platform::open_document(platform::host_path_utf8(platform::utf16_to_utf8(t.name.text)));
  return machine::go_on;
}

// exec name [ , parameters ]
int exec_statement() {
  Target t = target();
  if (t.fits()) launch_program(t.name.text, t.params.text);
  return machine::go_on;
}

// wait milliseconds
int wait_statement() {
  machine::clear_value();
  machine::evaluate();
  // A negative count waits not at all. What the console printed shows first.
  platform::terminal_flush();
  platform::sleep_ms(machine::to_int32(machine::get_number()));
  return machine::go_on;
}

// regist ext , program   |   regist ext , ""
int regist_statement() {
  WideText ext = string_argument();
  machine::expect_token(",");
  WideText program = string_argument();
  if (ext.text.empty() || ext.text.size() > regist_extension_chars || !program.fits) return machine::go_on;
  platform::ClassesRoot root = platform::ClassesRoot::load();
  if (program.text.empty()) {
    root.delete_key(u"." + ext.text);
    root.delete_key(ext.text + u"file");
  } else {
    register_extension(root, ext.text, program.text);
  }
  root.save();
  return machine::go_on;
}

}  // namespace statements
