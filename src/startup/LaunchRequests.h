#pragma once

#include "instance/HandOver.h"

namespace tovrin::app {
class MainWindow;
}

namespace tovrin::startup {

// Carries out on the window what a launch asked for: this program's own command line, or
// one a later launch handed over (which brings the window forward first).
void CarryOut(app::MainWindow& window, const instance::Request& request, bool handedOver);

} // namespace tovrin::startup
