#pragma once

// The handful of Windows types and constants the program is written against. The calls
// that use them (WinApi.h) are implemented over Qt.

#include <cstddef>
#include <cstdint>

namespace tovrin::platform {

using BOOL = int;
using UINT = std::uint32_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using WPARAM = std::uint32_t;
using LPARAM = std::int32_t;
using LRESULT = std::int32_t;
using HWND = std::uint32_t;  // a window of this layer's own table
using HICON = std::uint32_t; // a window's icon is named by the window's handle

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

inline constexpr HWND HWND_TOPMOST = static_cast<HWND>(-1);
inline constexpr HWND HWND_NOTOPMOST = static_cast<HWND>(-2);
inline constexpr UINT SWP_NOSIZE = 0x0001;
inline constexpr UINT SWP_NOMOVE = 0x0002;

inline constexpr int GWL_WNDPROC = -4;

inline constexpr UINT WM_MOUSEMOVE = 0x0200;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
inline constexpr UINT WM_RBUTTONDOWN = 0x0204;
inline constexpr UINT WM_RBUTTONUP = 0x0205;
inline constexpr UINT WM_MBUTTONUP = 0x0208;

inline constexpr DWORD NIM_ADD = 0;
inline constexpr DWORD NIM_MODIFY = 1;
inline constexpr DWORD NIM_DELETE = 2;
inline constexpr UINT NIF_MESSAGE = 0x01;
inline constexpr UINT NIF_ICON = 0x02;
inline constexpr UINT NIF_TIP = 0x04;
inline constexpr UINT NIF_INFO = 0x10;
inline constexpr DWORD NIIF_INFO = 1;

// The ANSI notification-icon record in its 488-byte form with the balloon fields.
// Handles are 32 bits wide, as in the 32-bit record.
struct NOTIFYICONDATAA
{
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    char szTip[128];
    DWORD dwState;
    DWORD dwStateMask;
    char szInfo[256];
    UINT uTimeout;
    char szInfoTitle[64];
    DWORD dwInfoFlags;
};

static_assert(sizeof(NOTIFYICONDATAA) == 488);
static_assert(offsetof(NOTIFYICONDATAA, hWnd) == 4);
static_assert(offsetof(NOTIFYICONDATAA, uID) == 8);
static_assert(offsetof(NOTIFYICONDATAA, uFlags) == 12);
static_assert(offsetof(NOTIFYICONDATAA, uCallbackMessage) == 16);
static_assert(offsetof(NOTIFYICONDATAA, hIcon) == 20);
static_assert(offsetof(NOTIFYICONDATAA, szTip) == 24);
static_assert(offsetof(NOTIFYICONDATAA, dwState) == 152);
static_assert(offsetof(NOTIFYICONDATAA, dwStateMask) == 156);
static_assert(offsetof(NOTIFYICONDATAA, szInfo) == 160);
static_assert(offsetof(NOTIFYICONDATAA, uTimeout) == 416);
static_assert(offsetof(NOTIFYICONDATAA, szInfoTitle) == 420);
static_assert(offsetof(NOTIFYICONDATAA, dwInfoFlags) == 484);

} // namespace tovrin::platform
