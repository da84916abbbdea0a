// device.cpp — the one device.
#include "device/device.h"

namespace device {

Device state;

}  // namespace device
