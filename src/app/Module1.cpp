#include "app/Module1.h"

#include "app/Form1.h"
#include "platform/WinApi.h"

namespace tovrin::app::Module1 {

using namespace tovrin::platform;

LONG lpPrevWndProc = 0;
LONG lpOrigWndProc = 0;
std::int32_t bShownFromTray = 0;

namespace {

Form1* g_form = nullptr;

// Each step stands alone: one that fails is skipped and the next one runs.
template <typename Step> void attempt(Step&& step) noexcept
{
    try {
        step();
    } catch (...) {
    }
}

} // namespace

void SetMainWindow(Form1* form)
{
    g_form = form;
}

LRESULT WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_TRAYICON && g_form) {
        Form1& form = *g_form;
        if (lParam == static_cast<LPARAM>(WM_LBUTTONUP)) {
            bool minimized = false;
            attempt([&] { minimized = form.WindowState() == 1; });
            if (minimized) {
                attempt([] { bShownFromTray = 1; });
                attempt([&] { form.ShowAgain(); });
            } else {
                attempt([] { bShownFromTray = 0; });
                attempt([&] { form.SetWindowState(1); });
                // Without a notification area a hidden window would be out of reach.
                attempt([&] {
                    if (NotificationAreaAvailable(hWnd))
                        form.hide();
                });
            }
        } else if (lParam == static_cast<LPARAM>(WM_RBUTTONUP)) {
            attempt([&] { form.PopupTrayMenu(); });
        }
    }
    return CallWindowProcA(lpPrevWndProc, hWnd, uMsg, wParam, lParam);
}

} // namespace tovrin::app::Module1
