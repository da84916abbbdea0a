// main.cpp — process entry: options, settings, then the interpreter.
#include <CLI/CLI.hpp>
#include <cstdlib>
#include <cstdio>
#include <optional>
#include <string>

#include "app/command_loop.h"
#include "app/host_options.h"
#include "app/window.h"
#include "device/line_input.h"
#include "device/screen.h"
#include "device/settings_file.h"
#include "machine/lexer.h"
#include "machine/memory_budget.h"
#include "platform/paths.h"
#include "platform/plugin.h"
#include "platform/terminal.h"
#include "platform/text_codec.h"

namespace {

// The start-up file name as the device takes it from its command line:
// leading blanks and tabs skipped, at most 255 characters.
std::u16string startup_name(const std::string& arg) {
  std::size_t start = arg.find_first_not_of(" \t");
  if (start == std::string::npos) return {};
  std::u16string name = platform::utf8_to_utf16(arg.substr(start));
  if (name.size() > 255) name.resize(255);
  return name;
}

// A display or a Qt platform is named: the window may be tried.
bool display_set() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    if (const char* v = std::getenv(name); v && *v) return true;
  return false;
}

// Loads the window's library and asks it whether the display can be reached;
// its entry point, or none with the reason in why.
app::WindowEntry load_window(std::string& why) {
  std::string error;
  auto check = reinterpret_cast<app::WindowCheck>(
      platform::plugin_symbol(app::window_library, app::window_check_entry, error));
  auto entry = reinterpret_cast<app::WindowEntry>(
      check ? platform::plugin_symbol(app::window_library, app::window_entry, error) : nullptr);
  if (!check || !entry) {
    why = "the window cannot be opened (" + error + ")";
    return nullptr;
  }
  return check(&why) ? entry : nullptr;
}

}  // namespace


int main(int argc, char** argv) {
  CLI::App app{"Vorn Basic - a small interactive BASIC.\n"
               "Without FILE, type lines at the prompt (bye ends the session).\n"
               "With FILE, the program is loaded, run, and the interpreter ends.",
               "vornbasic"};
  app.set_version_flag("--version", "Vorn Basic version 0.3 (vornbasic " VORN_VERSION ")");

  std::string file;
  bool tty = false;
  std::string root;
  std::optional<std::uint32_t> seed;
  std::string settings_file;
  std::string font_file;
  std::string screenshot;
  app.add_option("FILE", file, "Program file to load and run (Shift-JIS or UTF-8 text; - for stdin)");
  app.add_flag("--tty", tty,
               "Run in the terminal, not in a window: stdin is the edit box, stdout the console");
  app.add_option("--root", root,
                 "Device root for names starting with a backslash "
                 "(default: $VORNBASIC_ROOT, else $XDG_DATA_HOME/vornbasic)");
  app.add_option("--seed", seed, "Seed of rnd's generator (default: the tick count)");
  app.add_option("--settings", settings_file, "Settings file to read instead of \\Windows\\basic.ini (UTF-16)");
  app.add_option("--font", font_file, "Font file for the console instead of the Shinonome fonts");
  app.add_option("--screenshot", screenshot, "At exit, write the screen picture to this PNG file");
  std::size_t memory_limit_mib = machine::default_memory_budget >> 20;
  app.add_option("--memory-limit", memory_limit_mib,
                 "MiB that arrays, strings and program lines may take together (default: 1024)")
      ->check(CLI::Range(std::size_t{1}, std::size_t{1} << 24));
  app::WindowOptions window_options;
  app.add_option("--zoom", window_options.zoom, "Window zoom, a whole number (default: the screen's pixel ratio)")
      ->check(CLI::Range(1, 16));
  app.add_flag("--stay", window_options.stay, "Keep the window open after FILE has run (closing it ends)");

  std::string encoding, messages;
  app.add_option("--encoding", encoding, "Read and write program files in this encoding (default: detected)")
      ->check(CLI::IsMember({"cp932", "utf-8"}));
  app.add_option("--messages", messages, "Messages in Japanese (ja, default) or English (en); also $VORNBASIC_MESSAGES")
      ->check(CLI::IsMember({"ja", "en"}));

  bool reference = false;
  app.add_flag("--reference", reference,
               "Read every token from the program text again, with no caches (slow; for comparing)");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? 0 : 2;  // --help and --version end with 0, usage errors with 2
  }
  if (reference) machine::reference_mode = true;
  machine::set_memory_budget(memory_limit_mib << 20);
  app::set_program_encoding(encoding);
  app::set_message_language(messages);

  platform::set_device_root(root.empty() ? platform::default_device_root() : root);
  device::read_settings_file(settings_file.empty() ? platform::host_path(device::settings_file_name) : settings_file);
  std::string no_window = "no display";
  app::WindowEntry run_window = !tty && display_set() ? load_window(no_window) : nullptr;
  bool in_window = run_window != nullptr;
  // In the terminal without a screenshot nobody sees the picture: it keeps
  // its state but no pixels.
  device::create_picture(font_file, true, in_window || !screenshot.empty());

  app::LoopOptions options;
  options.startup_file = startup_name(file);
  if (!app::read_startup_file(options)) return 2;
  options.seed = seed;

  platform::install_interrupt_handler(&device::break_flag);
  int status;
  if (in_window) {
    options.pause_at_end = true;  // the last screen stays a moment before the window closes
    status = run_window(&options, &window_options, argc, argv);
  } else {
    if (!tty) std::fprintf(stderr, "vornbasic: %s; running in the terminal\n", no_window.c_str());
    options.pause_at_end = false;
    platform::terminal_enable_output(true);
    status = app::interpreter_thread(options);
  }
  if (!screenshot.empty() && !device::write_screenshot(screenshot)) {
    std::fprintf(stderr, "vornbasic: cannot write %s\n", screenshot.c_str());
    return 2;
  }
  return status;
}
