#include "device/port_interface.h"

namespace pulvitra {

PortInterface::~PortInterface() = default;

}  // namespace pulvitra
