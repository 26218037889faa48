#pragma once

// The window-manager, window-procedure and notification-area calls the program uses,
// with their Windows names and meanings. Windows are entries of this layer's own table;
// what a real window or notification area must do is asked of a backend.

#include "platform/WinTypes.h"

#include <optional>

namespace tovrin::platform {

// The window manager's frame around a window's client area, in pixels.
struct FrameMargins
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// What the layer needs of a real top-level window.
class WindowBackend
{
public:
    virtual ~WindowBackend() = default;
    virtual void setStayOnTop(bool onTop) = 0;
    // The frame the window manager will give the window, asked before it is first
    // shown; nothing when the window system cannot say.
    virtual std::optional<FrameMargins> frameEstimate() { return std::nullopt; }
};

// What the layer needs of the notification area. A backend delivers the icon's mouse
// events itself, with SendMessageA(record.hWnd, record.uCallbackMessage, record.uID, mouseMessage).
class TrayBackend
{
public:
    virtual ~TrayBackend() = default;
    virtual bool addIcon(const NOTIFYICONDATAA& record) = 0;
    virtual bool deleteIcon(HWND hWnd, UINT id) = 0;
    // Whether the desktop has a notification area at the moment.
    virtual bool available() const = 0;
    // While held, an icon added with a balloon appears at once and its balloon waits;
    // releasing shows the waiting balloons of the icons still there.
    virtual void holdBalloons() {}
    virtual void releaseBalloons() {}
};

// Enters a window into the table, with the layer's default procedure, and gives its
// handle. The window's icons go to tray; nullptr means the desktop has no notification
// area.
HWND CreateWindowHandle(WindowBackend& backend, TrayBackend* tray);
void DestroyWindowHandle(HWND hWnd);

// Whether a notification area is there to keep the hidden window within reach.
bool NotificationAreaAvailable(HWND hWnd);

// Changes the window's z-order only: HWND_TOPMOST or HWND_NOTOPMOST. The program always
// passes SWP_NOMOVE | SWP_NOSIZE, and position and size are not used.
BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags);

// GWL_WNDPROC is the only index: the window's current procedure, as a 32-bit address.
LONG GetWindowLongA(HWND hWnd, int nIndex);
// Makes newLong (an address from AddressOf or GetWindowLongA) the window's procedure and
// returns the previous one; 0 for an unknown window, index or address.
LONG SetWindowLongA(HWND hWnd, int nIndex, LONG dwNewLong);
LRESULT CallWindowProcA(LONG lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);

// Dispatches a message through the window's current procedure.
LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);

// What a window does with a message nobody handled: nothing.
LRESULT DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);

// The 32-bit address under which a procedure can be stored as a window's procedure.
LONG AddressOf(WNDPROC procedure);

// NIM_ADD or NIM_DELETE with the 488-byte record. False when there is no notification
// area, the record is malformed, or the backend refuses.
BOOL Shell_NotifyIconA(DWORD dwMessage, const NOTIFYICONDATAA* lpData);

} // namespace tovrin::platform
