#pragma once

class QKeyEvent;

namespace tovrin::app {

// The Windows virtual-key code of a key event (F1 = 112 ... F24 = 135, Enter = 13,
// letters and digits as their uppercase ASCII codes); 0 for keys without one.
int VirtualKeyCode(const QKeyEvent& event);

// The shift state as the key procedures receive it: 1 Shift, 2 Ctrl, 4 Alt.
int ShiftState(const QKeyEvent& event);

// The character code a key press carries (Enter = 13), or -1 when the key types no
// character and so raises no key press.
int CharacterCode(const QKeyEvent& event);

} // namespace tovrin::app
