#pragma once

namespace tovrin::startup {

// Turns the graphics drivers' shader caches on disk off for this process and the engine's
// processes it starts; they would write below the account's home folder. Called before
// the first GL context.
void TurnOffDriverDiskCaches();

} // namespace tovrin::startup
