#include "platform/WinApi.h"
#include "platform/AnsiText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace tovrin::platform;

namespace {

struct Message
{
    HWND hWnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

std::vector<Message> g_seen;
LONG g_forwardTo = 0;

LRESULT Recorder(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    g_seen.push_back({hWnd, msg, wParam, lParam});
    return static_cast<LRESULT>(msg) * 10;
}

// A hook in the style of the program's: look, then forward and return the result.
LRESULT Hook(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcA(g_forwardTo, hWnd, msg, wParam, lParam) + 1;
}

struct RecordingWindow : WindowBackend
{
    std::vector<bool> onTop;
    void setStayOnTop(bool v) override { onTop.push_back(v); }
};

struct RecordingTray : TrayBackend
{
    std::vector<NOTIFYICONDATAA> added;
    std::vector<std::pair<HWND, UINT>> deleted;
    bool addIcon(const NOTIFYICONDATAA& r) override
    {
        added.push_back(r);
        return true;
    }
    bool deleteIcon(HWND h, UINT id) override
    {
        deleted.emplace_back(h, id);
        return true;
    }
    bool available() const override { return true; }
};

} // namespace

TEST(WindowProcedures, HookChainForwardsEveryMessageAndRestores)
{
    RecordingWindow window;
    const HWND hWnd = CreateWindowHandle(window, nullptr);
    const LONG original = GetWindowLongA(hWnd, GWL_WNDPROC);
    ASSERT_NE(original, 0);

    // A "previous" procedure that records, then a hook in front of it.
    EXPECT_EQ(SetWindowLongA(hWnd, GWL_WNDPROC, AddressOf(&Recorder)), original);
    g_forwardTo = AddressOf(&Recorder);
    EXPECT_EQ(SetWindowLongA(hWnd, GWL_WNDPROC, AddressOf(&Hook)), g_forwardTo);

    g_seen.clear();
    EXPECT_EQ(SendMessageA(hWnd, 2025, 1, 514), 20251);
    EXPECT_EQ(SendMessageA(hWnd, 0x0005, 0xFFFFFFFF, -7), 51);
    ASSERT_EQ(g_seen.size(), 2u);
    EXPECT_EQ(g_seen[0].msg, 2025u);
    EXPECT_EQ(g_seen[0].wParam, 1u);
    EXPECT_EQ(g_seen[0].lParam, 514);
    EXPECT_EQ(g_seen[1].wParam, 0xFFFFFFFFu);
    EXPECT_EQ(g_seen[1].lParam, -7);
    EXPECT_EQ(g_seen[1].hWnd, hWnd);

    // Giving the original back: nothing reaches the recorder any more.
    SetWindowLongA(hWnd, GWL_WNDPROC, original);
    EXPECT_EQ(GetWindowLongA(hWnd, GWL_WNDPROC), original);
    EXPECT_EQ(SendMessageA(hWnd, 2025, 1, 514), 0);
    EXPECT_EQ(g_seen.size(), 2u);

    // Unknown windows, indexes and addresses change nothing.
    EXPECT_EQ(SetWindowLongA(hWnd, -16, AddressOf(&Hook)), 0);
    EXPECT_EQ(SetWindowLongA(hWnd, GWL_WNDPROC, 12345), 0);
    EXPECT_EQ(GetWindowLongA(hWnd, GWL_WNDPROC), original);
    EXPECT_EQ(CallWindowProcA(0, hWnd, 1, 2, 3), 0);
    DestroyWindowHandle(hWnd);
    EXPECT_EQ(GetWindowLongA(hWnd, GWL_WNDPROC), 0);
    EXPECT_EQ(SendMessageA(hWnd, 1, 0, 0), 0);
}

TEST(WindowProcedures, SetWindowPosChangesOnlyTheStayOnTopState)
{
    RecordingWindow window;
    const HWND hWnd = CreateWindowHandle(window, nullptr);
    EXPECT_EQ(SetWindowPos(hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE), 1);
    EXPECT_EQ(SetWindowPos(hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE), 1);
    EXPECT_EQ(SetWindowPos(hWnd + 1000, HWND_TOPMOST, 0, 0, 0, 0, 3), 0);
    EXPECT_EQ(window.onTop, (std::vector<bool>{true, false}));
    DestroyWindowHandle(hWnd);
}

TEST(NotifyIcon, RecordTextFieldsAreGbkThenNulThenSpaces)
{
    NOTIFYICONDATAA record{};
    WriteAnsiField(record.szTip, "欢迎使用Tovrin");
    // 欢迎使用 in GBK, then the Latin letters.
    const char expected[] = "\xBB\xB6\xD3\xAD\xCA\xB9\xD3\xC3Tovrin";
    const std::size_t length = sizeof expected - 1;
    EXPECT_EQ(std::memcmp(record.szTip, expected, length), 0);
    EXPECT_EQ(record.szTip[length], '\0');
    for (std::size_t i = length + 1; i < sizeof record.szTip; ++i)
        ASSERT_EQ(record.szTip[i], ' ') << i;
    EXPECT_EQ(ReadAnsiField(record.szTip), "欢迎使用Tovrin");

    WriteAnsiField(record.szInfo, "单击本图标将显示/隐藏主程序");
    EXPECT_EQ(ReadAnsiField(record.szInfo), "单击本图标将显示/隐藏主程序");
}

TEST(NotifyIcon, TooLongTextIsCutAtACharacterSoTheNulFits)
{
    char field[8];
    WriteAnsiField(field, "汉字汉字汉字"); // 12 bytes in GBK
    EXPECT_EQ(field[6], '\0');             // three characters, not three and a half
    EXPECT_EQ(field[7], ' ');
    EXPECT_EQ(ReadAnsiField(field), "汉字汉");
}

TEST(NotifyIcon, ShellNotifyIconChecksTheRecordAndTheNotificationArea)
{
    RecordingWindow window;
    NOTIFYICONDATAA record{};
    record.cbSize = sizeof record;
    record.uID = 1;

    // A window on a desktop without a notification area.
    const HWND alone = CreateWindowHandle(window, nullptr);
    record.hWnd = alone;
    EXPECT_EQ(Shell_NotifyIconA(NIM_ADD, &record), 0);
    EXPECT_FALSE(NotificationAreaAvailable(alone));
    DestroyWindowHandle(alone);

    RecordingTray tray;
    const HWND hWnd = CreateWindowHandle(window, &tray);
    record.hWnd = hWnd;
    EXPECT_TRUE(NotificationAreaAvailable(hWnd));
    EXPECT_FALSE(NotificationAreaAvailable(hWnd + 1000));
    EXPECT_EQ(Shell_NotifyIconA(NIM_ADD, &record), 1);
    EXPECT_EQ(Shell_NotifyIconA(NIM_DELETE, &record), 1);
    EXPECT_EQ(Shell_NotifyIconA(NIM_MODIFY, &record), 0);
    EXPECT_EQ(Shell_NotifyIconA(NIM_ADD, nullptr), 0);
    NOTIFYICONDATAA small = record;
    small.cbSize = 88;
    EXPECT_EQ(Shell_NotifyIconA(NIM_ADD, &small), 0);
    EXPECT_EQ(tray.added.size(), 1u);
    EXPECT_EQ(tray.deleted, (std::vector<std::pair<HWND, UINT>>{{hWnd, 1}}));
    DestroyWindowHandle(hWnd);
    EXPECT_EQ(Shell_NotifyIconA(NIM_ADD, &record), 0) << "a destroyed window has no icons";
}
