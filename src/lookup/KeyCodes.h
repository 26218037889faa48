#pragma once

class QKeyEvent;

namespace tovrin::lookup {

// The key code a key-down carries as the key procedures read it: F1 = 112 ... F24 = 135.
// Only the function keys open a site, so every other key gives 0.
int VirtualKeyCode(const QKeyEvent& event);

// The character code a key press carries (Enter = 13), or -1 when the key types no
// character and so raises no key press.
int CharacterCode(const QKeyEvent& event);

} // namespace tovrin::lookup
