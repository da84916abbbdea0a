// window_display.cpp — whether the window can be shown, decided before Qt
// starts: Qt ends the process when its display cannot be reached, so the
// display named by the environment is tried here first, and Qt is told
// which platform to use. Otherwise the interpreter runs in the terminal.
#include "app/window.h"

#include <QDir>
#include <QLibraryInfo>
#include <QString>
#include <QStringList>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace app {
namespace {

std::string env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

bool x_display_reachable() {
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  bool ok = connection && xcb_connection_has_error(connection) == 0;
  if (connection) xcb_disconnect(connection);
  return ok;
}

// The compositor's socket: WAYLAND_DISPLAY itself when it is a path, else
// under XDG_RUNTIME_DIR.
bool wayland_compositor_reachable() {
  std::string name = env("WAYLAND_DISPLAY");
  std::string path = name[0] == '/' ? name : env("XDG_RUNTIME_DIR") + "/" + name;
  sockaddr_un address{};
  if (path.size() >= sizeof address.sun_path) return false;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return ok;
}

bool wayland_plugin_installed() {
  QStringList folders = QString::fromLocal8Bit(env("QT_PLUGIN_PATH").c_str()).split(':', Qt::SkipEmptyParts);
  folders << QLibraryInfo::path(QLibraryInfo::PluginsPath);
  for (const QString& folder : folders) {
    QDir platforms(folder + "/platforms");
    if (!platforms.entryList({"libqwayland*.so"}, QDir::Files).isEmpty()) return true;
  }
  return false;
}

bool wayland_usable(std::string& why) {
  if (!wayland_compositor_reachable()) {
    why = "cannot reach the Wayland compositor " + env("WAYLAND_DISPLAY");
    return false;
  }
  if (!wayland_plugin_installed()) {
    why = "no Qt Wayland platform plugin (qt6-wayland)";
    return false;
  }
  return true;
}

bool x_usable(std::string& why) {
  if (x_display_reachable()) return true;
  why = env("DISPLAY").empty() ? "no display" : "cannot reach display " + env("DISPLAY");
  return false;
}

}  // namespace

bool window_available(std::string& why) {
  std::string platform = env("QT_QPA_PLATFORM");
  if (!platform.empty()) {  // the user's choice; only the displays we know are tried
    std::string first = platform.substr(0, platform.find_first_of(";:"));
    if (first == "xcb") return x_usable(why);
    if (first.rfind("wayland", 0) == 0) return wayland_usable(why);
    return true;
  }
  bool wayland = !env("WAYLAND_DISPLAY").empty() && wayland_usable(why);
  bool x = !env("DISPLAY").empty() && x_usable(why);
  if (!wayland && !x) {
    if (why.empty()) why = "no display";
    return false;
  }
  // Qt is told what was found, so that it never tries an unreachable one.
  ::setenv("QT_QPA_PLATFORM", wayland && x ? "wayland;xcb" : wayland ? "wayland" : "xcb", 1);
  return true;
}

}  // namespace app
