#include "platform/WinApi.h"

#include <map>
#include <vector>

namespace tovrin::platform {

namespace {

struct WindowEntry
{
    WindowBackend* backend;
    TrayBackend* tray;
    LONG procedure;
};

struct State
{
    std::map<HWND, WindowEntry> windows;
    HWND nextHandle = 0x10;
    std::vector<WNDPROC> procedures;
};

State& state()
{
    static State s;
    return s;
}

// Procedure addresses are spaced like code addresses and never 0.
constexpr LONG kFirstProcedure = 0x10000;
constexpr LONG kProcedureSpacing = 0x10;

WNDPROC procedureAt(LONG address)
{
    const auto& procs = state().procedures;
    if (address < kFirstProcedure || (address - kFirstProcedure) % kProcedureSpacing != 0)
        return nullptr;
    const auto index = static_cast<std::size_t>((address - kFirstProcedure) / kProcedureSpacing);
    return index < procs.size() ? procs[index] : nullptr;
}

WindowEntry* find(HWND hWnd)
{
    auto& windows = state().windows;
    const auto it = windows.find(hWnd);
    return it == windows.end() ? nullptr : &it->second;
}

} // namespace

LONG AddressOf(WNDPROC procedure)
{
    auto& procs = state().procedures;
    for (std::size_t i = 0; i < procs.size(); ++i) {
        if (procs[i] == procedure)
            return kFirstProcedure + static_cast<LONG>(i) * kProcedureSpacing;
    }
    procs.push_back(procedure);
    return kFirstProcedure + static_cast<LONG>(procs.size() - 1) * kProcedureSpacing;
}

LRESULT DefWindowProcA(HWND, UINT, WPARAM, LPARAM)
{
    return 0;
}

HWND CreateWindowHandle(WindowBackend& backend, TrayBackend* tray)
{
    auto& s = state();
    const HWND handle = s.nextHandle++;
    s.windows[handle] = WindowEntry{&backend, tray, AddressOf(&DefWindowProcA)};
    return handle;
}

void DestroyWindowHandle(HWND hWnd)
{
    state().windows.erase(hWnd);
}

bool NotificationAreaAvailable(HWND hWnd)
{
    const WindowEntry* window = find(hWnd);
    return window && window->tray && window->tray->available();
}

BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int, int, int, int, UINT)
{
    WindowEntry* window = find(hWnd);
    if (!window)
        return 0;
    if (hWndInsertAfter == HWND_TOPMOST)
        window->backend->setStayOnTop(true);
    else if (hWndInsertAfter == HWND_NOTOPMOST)
        window->backend->setStayOnTop(false);
    return 1;
}

LONG GetWindowLongA(HWND hWnd, int nIndex)
{
    const WindowEntry* window = find(hWnd);
    return window && nIndex == GWL_WNDPROC ? window->procedure : 0;
}

LONG SetWindowLongA(HWND hWnd, int nIndex, LONG dwNewLong)
{
    WindowEntry* window = find(hWnd);
    if (!window || nIndex != GWL_WNDPROC || !procedureAt(dwNewLong))
        return 0;
    const LONG previous = window->procedure;
    window->procedure = dwNewLong;
    return previous;
}

LRESULT CallWindowProcA(LONG lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    const WNDPROC procedure = procedureAt(lpPrevWndFunc);
    return procedure ? procedure(hWnd, Msg, wParam, lParam) : 0;
}

LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    const WindowEntry* window = find(hWnd);
    return window ? CallWindowProcA(window->procedure, hWnd, Msg, wParam, lParam) : 0;
}

BOOL Shell_NotifyIconA(DWORD dwMessage, const NOTIFYICONDATAA* lpData)
{
    if (!lpData || lpData->cbSize != sizeof(NOTIFYICONDATAA))
        return 0;
    const WindowEntry* window = find(lpData->hWnd);
    TrayBackend* tray = window ? window->tray : nullptr;
    if (!tray)
        return 0;
    switch (dwMessage) {
    case NIM_ADD:
        return tray->addIcon(*lpData) ? 1 : 0;
    case NIM_DELETE:
        return tray->deleteIcon(lpData->hWnd, lpData->uID) ? 1 : 0;
    default:
        return 0;
    }
}

} // namespace tovrin::platform
