// main.cpp — process entry: options, settings, then the interpreter.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <optional>
#include <string>

#include "app/command_loop.h"
#include "app/window.h"
#include "device/line_input.h"
#include "device/screen.h"
#include "device/settings_file.h"
#include "machine/lexer.h"
#include "platform/paths.h"
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
  app.add_option("FILE", file, "Program file to load and run (Shift-JIS text)");
  app.add_flag("--tty", tty,
               "Run in the terminal, not in a window: stdin is the edit box, stdout the console");
  app.add_option("--root", root,
                 "Device root for names starting with a backslash "
                 "(default: $VORNBASIC_ROOT, else $XDG_DATA_HOME/vornbasic)");
  app.add_option("--seed", seed, "Seed of rnd's generator (default: the tick count)");
  app.add_option("--settings", settings_file, "Settings file to read instead of \\Windows\\basic.ini (UTF-16)");
  app.add_option("--font", font_file, "Font file for the console instead of the Shinonome fonts");
  app.add_option("--screenshot", screenshot, "At exit, write the screen picture to this PNG file");

  bool reference = false;
  app.add_flag("--reference", reference,
               "Read every token from the program text again, with no caches (slow; for comparing)");

  CLI11_PARSE(app, argc, argv);
  if (reference) machine::reference_mode = true;

  platform::set_device_root(root.empty() ? platform::default_device_root() : root);
  device::read_settings_file(settings_file.empty() ? platform::host_path(device::settings_file_name) : settings_file);
  device::create_picture(font_file);

  app::LoopOptions options;
  options.startup_file = startup_name(file);
  options.seed = seed;

  platform::install_interrupt_handler(&device::break_flag);
  int status;
  if (!tty && app::window_available()) {
    options.pause_at_end = true;  // the last screen stays a moment before the window closes
    status = app::run_window(options, argc, argv);
  } else {
    if (!tty) std::fprintf(stderr, "vornbasic: no display; running in the terminal\n");
    options.pause_at_end = false;
    platform::terminal_enable_output(true);
    status = app::interpreter_thread(options);
  }
  if (!screenshot.empty() && !device::write_screenshot(screenshot))
    std::fprintf(stderr, "vornbasic: cannot write %s\n", screenshot.c_str());
  return status;
}
