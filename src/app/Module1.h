#pragma once

#include "platform/WinTypes.h"

#include <cstdint>

namespace tovrin::app {

class Form1;

// The window procedure that puts the main window's notification-area icon to work,
// and the state it keeps.
namespace Module1 {

inline constexpr platform::UINT WM_TRAYICON = 2025;

extern platform::LONG lpPrevWndProc;
extern platform::LONG lpOrigWndProc;
extern std::int32_t bShownFromTray;

// Handles the icon's callback message and passes every message on to lpPrevWndProc,
// returning its result.
platform::LRESULT WindowProc(platform::HWND hWnd, platform::UINT uMsg, platform::WPARAM wParam,
                             platform::LPARAM lParam);

// The window that WindowProc acts on (the program has one).
void SetMainWindow(Form1* form);

} // namespace Module1

} // namespace tovrin::app
