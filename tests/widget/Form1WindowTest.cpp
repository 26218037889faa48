#include "FormFixture.h"

#include "app/Module1.h"
#include "app/NoticeBox.h"
#include "app/QueryBox.h"
#include "app/Twips.h"
#include "browser/InSight.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace tovrin;
using namespace tovrin::testing;
using app::Module1::bShownFromTray;

namespace {

constexpr platform::LPARAM kLeftUp = 514;
constexpr platform::LPARAM kRightUp = 517;

struct ShownForm : FormFixture
{
    ShownForm()
    {
        bShownFromTray = 0;
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }

    void trayMouse(platform::LPARAM mouse)
    {
        platform::SendMessageA(form->hWnd(), app::Module1::WM_TRAYICON, 1, mouse);
    }

    // 0 normal, 1 minimized, 2 maximized; and whether the window is shown.
    std::pair<int, bool> state() const { return {form->WindowState(), form->isVisible()}; }
};

int Px(float twips)
{
    return app::TwipsToPixels(twips);
}

} // namespace

class Form1WindowTest : public QObject
{
    Q_OBJECT

private slots:
    void trayClicksAndShowItemFollowTheTransitionTable();
    void showItemOnAShownWindowChangesOnlyFlagAndCaption();
    void otherTrayMessagesOnlyPassThrough();
    void rightClickOpensTheMenuWithShowAsDefault();
    void minimizeHidesUnlessShownFromTray();
    void withoutANotificationAreaTheWindowIsNeverHidden();
    void topmostStateFollowsTheMenu();
    void startLayoutAndMinimumSize();
    void firstShowingAllowsForTheAnnouncedFrame();
    void updateButtonSwitchesNoticeAndPage();
    void closingTheStripInTheNormalState();
    void closingTheStripWhenMaximized();
    void unloadRemovesTheIconAndRestoresTheProcedure();
};

void Form1WindowTest::trayClicksAndShowItemFollowTheTransitionTable()
{
    ShownForm f;
    auto& form = *f.form;
    // At start: normal, shown, flag 0.
    f.trayMouse(kLeftUp);
    QCOMPARE(f.state(), std::make_pair(1, false));
    QCOMPARE(bShownFromTray, 0);
    QCOMPARE(form.mnuShow->text(), QStringLiteral("显示窗口")); // the icon leaves the caption

    // Hidden: the icon brings it back, normal, flag 1.
    f.trayMouse(kLeftUp);
    QCOMPARE(f.state(), std::make_pair(0, true));
    QCOMPARE(bShownFromTray, 1);

    // Normal, shown, flag 1: the menu item hides it.
    form.mnuShow->trigger();
    QCOMPARE(f.state(), std::make_pair(1, false));
    QCOMPARE(bShownFromTray, 0);
    QCOMPARE(form.mnuShow->text(), QStringLiteral("显示窗口"));

    // Hidden, flag 0: the menu item shows it.
    form.mnuShow->trigger();
    QCOMPARE(f.state(), std::make_pair(0, true));
    QCOMPARE(bShownFromTray, 1);
    QCOMPARE(form.mnuShow->text(), QStringLiteral("隐藏窗口"));

    // Minimized but not hidden (flag 1): the icon restores it; the item would hide it.
    form.SetWindowState(1);
    QCOMPARE(f.state(), std::make_pair(1, true));
    f.trayMouse(kLeftUp);
    QCOMPARE(f.state(), std::make_pair(0, true));
    form.SetWindowState(1);
    form.mnuShow->trigger();
    QCOMPARE(f.state(), std::make_pair(1, false));

    // Maximized, flag 0: the item leaves it shown at normal size, flag 1.
    form.mnuShow->trigger();
    bShownFromTray = 0;
    form.SetWindowState(2);
    QCOMPARE(f.state(), std::make_pair(2, true));
    form.mnuShow->trigger();
    QCOMPARE(f.state(), std::make_pair(0, true));
    QCOMPARE(bShownFromTray, 1);
    QCOMPARE(form.mnuShow->text(), QStringLiteral("隐藏窗口"));

    // Maximized, flag 1: the icon hides it and brings it back in the normal state.
    form.SetWindowState(2);
    f.trayMouse(kLeftUp);
    QCOMPARE(f.state(), std::make_pair(1, false));
    QCOMPARE(bShownFromTray, 0);
    f.trayMouse(kLeftUp);
    QCOMPARE(f.state(), std::make_pair(0, true));
}

namespace {

// A previous procedure that notes what it is given and answers with its own value.
QStringList g_passedOn;
platform::LRESULT NotingProcedure(platform::HWND, platform::UINT msg, platform::WPARAM w,
                                  platform::LPARAM l)
{
    g_passedOn << QStringLiteral("%1 %2 %3").arg(msg).arg(w).arg(l);
    return 0x5EED;
}

} // namespace

void Form1WindowTest::showItemOnAShownWindowChangesOnlyFlagAndCaption()
{
    ShownForm f;
    auto& form = *f.form;
    form.Text1->setCursorPosition(2);
    QWidget other;
    other.show();
    other.activateWindow();
    QTRY_VERIFY(other.isActiveWindow());
    form.mnuShow->trigger();
    QCOMPARE(bShownFromTray, 1);
    QCOMPARE(form.mnuShow->text(), QStringLiteral("隐藏窗口"));
    QTest::qWait(20);
    // Not raised or activated, and the query keeps its own selection.
    QVERIFY(other.isActiveWindow());
    QVERIFY(!form.Text1->hasSelectedText());
    QCOMPARE(f.state(), std::make_pair(0, true));
}

void Form1WindowTest::otherTrayMessagesOnlyPassThrough()
{
    ShownForm f;
    const platform::LONG previous =
        std::exchange(app::Module1::lpPrevWndProc, platform::AddressOf(&NotingProcedure));
    g_passedOn.clear();
    QStringList expected;
    for (const platform::LPARAM mouse : {512, 513, 515, 516, 519, 520, 0, -1}) {
        QCOMPARE(platform::SendMessageA(f.form->hWnd(), app::Module1::WM_TRAYICON, 1, mouse),
                 0x5EED);
        expected << QStringLiteral("2025 1 %1").arg(mouse);
        QCOMPARE(f.state(), std::make_pair(0, true));
        QVERIFY(!f.form->mnuTray->isVisible());
    }
    // Every message, the tray's own included, reaches the previous procedure unchanged
    // and its answer comes back.
    QCOMPARE(platform::SendMessageA(f.form->hWnd(), 0x0010, 7, 9), 0x5EED);
    expected << QStringLiteral("16 7 9");
    f.trayMouse(kLeftUp);
    expected << QStringLiteral("2025 1 %1").arg(kLeftUp);
    QCOMPARE(g_passedOn, expected);
    app::Module1::lpPrevWndProc = previous;
}

void Form1WindowTest::rightClickOpensTheMenuWithShowAsDefault()
{
    ShownForm f;
    auto& form = *f.form;
    f.trayMouse(kLeftUp); // hidden: the menu opens all the same
    f.trayMouse(kRightUp);
    QTRY_VERIFY(form.mnuTray->isVisible());
    QCOMPARE(form.mnuTray->defaultAction(), form.mnuShow);
    QStringList items;
    for (QAction* a : form.mnuTray->actions())
        items << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(items, (QStringList{QStringLiteral("显示窗口"), QStringLiteral("取消置顶"),
                                 QStringLiteral("与我联系"), QStringLiteral("-"),
                                 QStringLiteral("退出")}));
    form.mnuTray->close();
}

void Form1WindowTest::minimizeHidesUnlessShownFromTray()
{
    ShownForm f;
    auto& form = *f.form;
    const QRect before = form.WebBrowser1->geometry();
    form.setWindowState(Qt::WindowMinimized); // the title bar's button
    QCOMPARE(f.state(), std::make_pair(1, false));
    QCOMPARE(form.WebBrowser1->geometry(), before);

    f.trayMouse(kLeftUp);
    QCOMPARE(bShownFromTray, 1);
    form.setWindowState(Qt::WindowMinimized);
    QCOMPARE(f.state(), std::make_pair(1, true));
}

void Form1WindowTest::withoutANotificationAreaTheWindowIsNeverHidden()
{
    ShownForm f;
    f.tray.isAvailable = false;
    f.form->setWindowState(Qt::WindowMinimized);
    QCOMPARE(f.state(), std::make_pair(1, true));
    f.form->SetWindowState(0);
    bShownFromTray = 1;
    f.form->mnuShow->trigger();
    QVERIFY(f.form->isVisible());
    // A notification area that went away leaves the icon's hide path short of hiding.
    f.trayMouse(kLeftUp);
    QCOMPARE(f.state(), std::make_pair(1, true));

    // One that goes away while the window is hidden in it brings the window back.
    f.form->SetWindowState(0);
    f.tray.isAvailable = true;
    f.trayMouse(kLeftUp);
    QCOMPARE(f.state(), std::make_pair(1, false));
    f.tray.isAvailable = false;
    QTRY_COMPARE(f.state(), std::make_pair(0, true));
    QCOMPARE(bShownFromTray, 1);
}

void Form1WindowTest::topmostStateFollowsTheMenu()
{
    FormFixture f;
    auto& form = *f.form;
    form.zhiding->trigger();
    QCOMPARE(form.zhiding->text(), QStringLiteral("窗口置顶"));
    QCOMPARE(form.bTopmost, 0);
    QVERIFY(!f.window->onTop);
    form.zhiding->trigger();
    QCOMPARE(form.zhiding->text(), QStringLiteral("取消置顶"));
    QCOMPARE(form.bTopmost, 1);
    QVERIFY(f.window->onTop);
}

void Form1WindowTest::startLayoutAndMinimumSize()
{
    ShownForm f;
    auto& form = *f.form;
    // Sizes are the outer size, frame included.
    QTRY_COMPARE(form.frameGeometry().size(), QSize(Px(12030), Px(8595)));
    QCOMPARE(form.WebBrowser1->geometry(), QRect(0, Px(800), Px(11930), Px(6080)));
    QCOMPARE(form.WebBrowser2->geometry(), QRect(0, Px(6980), Px(5515), Px(1215)));
    QCOMPARE(form.Text2->geometry(), QRect(Px(6515), Px(6980), Px(5315), Px(1215)));
    QCOMPARE(form.Cd_update->pos(), QPoint(Px(5565), Px(7100)));
    QCOMPARE(form.Cd_AD->pos(), QPoint(Px(5565), Px(7595)));
    QCOMPARE(form.Command1[0]->pos(), QPoint(Px(10715), Px(6505)));

    const QSize frame = form.frameGeometry().size() - form.size();
    form.resize(Px(11000) - frame.width(), Px(8000) - frame.height());
    QTRY_COMPARE(form.frameGeometry().size(), QSize(Px(12030), Px(8595)));
    QCOMPARE(form.WebBrowser1->geometry(), QRect(0, Px(800), Px(11930), Px(6080)));

    form.resize(Px(15000) - frame.width(), Px(10005) - frame.height());
    QTRY_COMPARE(form.frameGeometry().size(), QSize(Px(15000), Px(10005)));
    QCOMPARE(form.WebBrowser1->width(), Px(14900));
    // The query line and the button rows stay where they are.
    QCOMPARE(form.Text1->geometry(), QRect(0, 0, 499, 24));
    QCOMPARE(form.Command1[1]->pos(), QPoint(0, 29));
}

void Form1WindowTest::firstShowingAllowsForTheAnnouncedFrame()
{
    // The window manager announces a frame before the window is mapped (here it never
    // draws one): the window shows at once with the client size that frame leaves.
    FormFixture f;
    f.window->frame = platform::FrameMargins{1, 20, 1, 5};
    f.form->setWindowFlag(Qt::FramelessWindowHint);
    f.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
    QCOMPARE(f.form->size(), QSize(Px(12030) - 2, Px(8595) - 25));
    QCOMPARE(f.form->OuterWidth(), 12030.0f);
    QCOMPARE(f.form->OuterHeight(), 8595.0f);
    QCOMPARE(f.form->WebBrowser1->geometry(), QRect(0, Px(800), Px(11930), Px(6080)));
    QCOMPARE(f.window->frameEstimates, 1);
}

void Form1WindowTest::updateButtonSwitchesNoticeAndPage()
{
    ShownForm f;
    auto& form = *f.form;
    // Pages show dialogs only where they can be seen: not from under the notice.
    QVERIFY(browser::InSight(*form.WebBrowser1));
    QVERIFY(!browser::InSight(*form.WebBrowser3));
    for (int round = 0; round < 2; ++round) {
        f.log.clear();
        QTest::mouseClick(form.Cd_update, Qt::LeftButton);
        QVERIFY(browser::InSight(*form.WebBrowser3));
        QVERIFY(form.Text2->isHidden());
        QCOMPARE(form.Cd_update->text(), QStringLiteral("返回"));
        QCOMPARE(form.bNoticeShown, 0);
        QCOMPARE(f.log.calls,
                 QStringList{QStringLiteral("WebBrowser3.Navigate qrc:/maker/update.html")});

        f.log.clear();
        QTest::mouseClick(form.Cd_update, Qt::LeftButton);
        QVERIFY(!form.Text2->isHidden());
        QCOMPARE(form.Cd_update->text(), QStringLiteral("检查更新"));
        QCOMPARE(form.bNoticeShown, 1);
        QVERIFY(f.log.calls.isEmpty()); // switching back loads nothing
    }
}

void Form1WindowTest::closingTheStripInTheNormalState()
{
    ShownForm f;
    auto& form = *f.form;
    QTRY_COMPARE(form.frameGeometry().size(), QSize(Px(12030), Px(8595)));
    QTest::mouseClick(form.Cd_update, Qt::LeftButton); // the update page is shown
    f.log.clear();
    QTest::mouseClick(form.Cd_AD, Qt::LeftButton);
    QCOMPARE(form.bAdShown, 0);
    // The strip's pages stop for the rest of the run; the result page stays.
    QCOMPARE(
        f.log.matching(QStringLiteral("WebBrowser")),
        QStringList({QStringLiteral("WebBrowser2.Clear"), QStringLiteral("WebBrowser3.Clear")}));
    QTRY_COMPARE(form.frameGeometry().height(), Px(7300));
    for (QWidget* w : {static_cast<QWidget*>(form.WebBrowser2),
                       static_cast<QWidget*>(form.WebBrowser3), static_cast<QWidget*>(form.Text2),
                       static_cast<QWidget*>(form.Cd_update), static_cast<QWidget*>(form.Cd_AD)})
        QCOMPARE(w->height(), 0);
    QVERIFY(form.Cd_update->isHidden());
    QVERIFY(form.Cd_AD->isHidden());
    QVERIFY(!browser::InSight(*form.WebBrowser2));
    QCOMPARE(form.WebBrowser1->height(), Px(7300 - 800 - 500));

    // Nothing of the strip comes back at any size, and the closed minimum holds.
    const QSize frame = form.frameGeometry().size() - form.size();
    form.resize(Px(16000) - frame.width(), Px(11000) - frame.height());
    QTRY_COMPARE(form.frameGeometry().size(), QSize(Px(16000), Px(11000)));
    QCOMPARE(form.WebBrowser2->height(), 0);
    QVERIFY(form.Cd_AD->isHidden());
    form.resize(Px(12030) - frame.width(), Px(5000) - frame.height());
    QTRY_COMPARE(form.frameGeometry().height(), Px(7300));
}

void Form1WindowTest::closingTheStripWhenMaximized()
{
    ShownForm f;
    auto& form = *f.form;
    form.SetWindowState(2);
    QTRY_COMPARE(form.WindowState(), 2);
    const QSize maximized = form.size();
    const int outerHeight = form.frameGeometry().height();
    QTest::mouseClick(form.Cd_AD, Qt::LeftButton);
    QCOMPARE(form.WindowState(), 2);
    QCOMPARE(form.size(), maximized);
    QCOMPARE(form.WebBrowser1->height(), outerHeight - Px(800));
    QVERIFY(form.WebBrowser2->isHidden());
    QVERIFY(form.WebBrowser3->isHidden());
    QVERIFY(form.Text2->isHidden());
    QVERIFY(form.Cd_update->isHidden());
    QVERIFY(form.Cd_AD->isHidden());
    const QPushButton* contact = form.Command1[0];
    QCOMPARE(contact->x() + contact->width(), form.WebBrowser1->width());
    QCOMPARE(contact->y(), outerHeight - contact->height() - Px(500));
}

void Form1WindowTest::unloadRemovesTheIconAndRestoresTheProcedure()
{
    ShownForm f;
    auto& form = *f.form;
    QSignalSpy unloaded(&form, &app::Form1::unloaded);
    const platform::HWND hWnd = form.hWnd();
    f.log.clear();
    form.mnuExit->trigger();
    QCOMPARE(unloaded.size(), 1);
    QVERIFY(f.tray.icons.empty());
    QCOMPARE(platform::GetWindowLongA(hWnd, platform::GWL_WNDPROC), app::Module1::lpOrigWndProc);
    QCOMPARE(f.log.calls, QStringList{QStringLiteral("Shell_NotifyIcon DELETE")});
}

QTEST_MAIN(Form1WindowTest)
#include "Form1WindowTest.moc"
