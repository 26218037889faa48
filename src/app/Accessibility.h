#pragma once

namespace tovrin::app {

// Lets assistive technology see the main window as a window (a plain QWidget would be
// announced as a mere pane). Idempotent.
void InstallAccessibleRoles();

} // namespace tovrin::app
