// settings.h — the sixteen keys of \Windows\basic.ini, read once at start.
#pragma once
#include <string>

namespace device {

struct Settings {
  int XWidth = 480;
  int XHeight = 196;
  int FontSize = 12;
  int PosYOrigin = 0;
  int ZenkakuStep = 14;
  int HankakuStep = 7;
  int StepY = 14;
  int ControlY = 194;
  int ControlHeight = 20;
  int EditX = 0;
  int EditWidth = 350;
  int EnterX = 353;
  int EnterWidth = 60;
  int StopX = 416;
  int StopWidth = 60;
  std::u16string TempFile = u"\\Windows\\basic.txt";
};

// The process-wide settings; defaults until the settings file is read.
extern Settings& settings;

}  // namespace device
