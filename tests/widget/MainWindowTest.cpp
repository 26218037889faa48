#include "FormFixture.h"

#include "browser/InSight.h"
#include "geometry/Twips.h"
#include "maker/NoticeBox.h"

#include <QMenu>
#include <QSignalSpy>
#include <QtTest>

using namespace tovrin;
using namespace tovrin::testing;
using State = app::MainWindow::State;

namespace {

struct ShownForm : FormFixture
{
    ShownForm()
    {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    // The window's state, and whether it is shown.
    std::pair<State, bool> state() const { return {window->state(), window->isVisible()}; }
    void minimize() { window->setWindowState(window->windowState() | Qt::WindowMinimized); }
    void maximize() { window->setWindowState(Qt::WindowMaximized); }
    void showItem() { item("mnuShow")->trigger(); }
};

int Px(float twips)
{
    return geometry::TwipsToPixels(twips);
}

constexpr auto Normal = State::Normal, Minimized = State::Minimized, Maximized = State::Maximized;

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void trayClicksAndShowItemFollowTheTransitionTable();
    void showItemOnAShownWindowChangesOnlyHowMinimizingEnds();
    void rightClickOpensTheMenuWithShowAsDefault();
    void withoutANotificationAreaTheWindowIsNeverHidden();
    void topmostStateFollowsTheMenu();
    void outerSizeKeepsItsMinimum();
    void firstShowingAllowsForTheAnnouncedFrame();
    void updateButtonSwitchesNoticeAndPage();
    void closingTheStripInTheNormalState();
    void closingTheStripWhenMaximized();
    void exitRemovesTheIconAndUnloads();
};

void MainWindowTest::trayClicksAndShowItemFollowTheTransitionTable()
{
    // Shown last through the tray or not: minimizing keeps the window on the taskbar, or
    // sends it to the notification area.
    ShownForm f;
    f.minimize(); // at start
    QCOMPARE(f.state(), std::make_pair(Minimized, false));
    f.tray.leftClick(); // hidden: back, shown from the tray
    QCOMPARE(f.state(), std::make_pair(Normal, true));
    f.minimize();
    QCOMPARE(f.state(), std::make_pair(Minimized, true));
    f.tray.leftClick(); // minimized but not hidden: restored
    QCOMPARE(f.state(), std::make_pair(Normal, true));
    f.tray.leftClick(); // shown: hidden
    QCOMPARE(f.state(), std::make_pair(Minimized, false));
    QCOMPARE(f.item("mnuShow")->text(), QStringLiteral("显示窗口")); // the icon leaves the caption

    // The menu item decides by how the window was shown last, and names what it will do.
    f.showItem(); // hidden by the icon: shown
    QCOMPARE(f.state(), std::make_pair(Normal, true));
    QCOMPARE(f.item("mnuShow")->text(), QStringLiteral("隐藏窗口"));
    f.showItem(); // shown from the tray: hidden
    QCOMPARE(f.state(), std::make_pair(Minimized, false));
    QCOMPARE(f.item("mnuShow")->text(), QStringLiteral("显示窗口"));
    f.showItem();
    f.minimize();
    f.showItem(); // minimized but not hidden: hidden
    QCOMPARE(f.state(), std::make_pair(Minimized, false));

    // Maximized, shown from the tray: the icon hides it and brings it back normal.
    f.tray.leftClick();
    f.maximize();
    QCOMPARE(f.state(), std::make_pair(Maximized, true));
    f.tray.leftClick();
    QCOMPARE(f.state(), std::make_pair(Minimized, false));
    f.tray.leftClick();
    QCOMPARE(f.state(), std::make_pair(Normal, true));

    // Maximized at start: the item shows it at normal size, as shown from the tray.
    ShownForm g;
    g.maximize();
    g.showItem();
    QCOMPARE(g.state(), std::make_pair(Normal, true));
    QCOMPARE(g.item("mnuShow")->text(), QStringLiteral("隐藏窗口"));
    g.minimize();
    QCOMPARE(g.state(), std::make_pair(Minimized, true));
}

void MainWindowTest::showItemOnAShownWindowChangesOnlyHowMinimizingEnds()
{
    ShownForm f;
    f.query()->setCursorPosition(2);
    QWidget other;
    other.show();
    other.activateWindow();
    QTRY_VERIFY(other.isActiveWindow());
    f.showItem();
    QCOMPARE(f.item("mnuShow")->text(), QStringLiteral("隐藏窗口"));
    QTest::qWait(20);
    // Not raised or activated, and the query keeps its own selection...
    QVERIFY(other.isActiveWindow());
    QVERIFY(!f.query()->hasSelectedText());
    QCOMPARE(f.state(), std::make_pair(Normal, true));
    // ...but it counts as shown from the tray: minimizing keeps it on the taskbar.
    f.minimize();
    QCOMPARE(f.state(), std::make_pair(Minimized, true));
}

void MainWindowTest::rightClickOpensTheMenuWithShowAsDefault()
{
    ShownForm f;
    auto* menu = f.find<QMenu>("mnuTray");
    f.tray.leftClick(); // hidden: the menu opens all the same
    f.tray.rightClick();
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->defaultAction(), f.item("mnuShow"));
    QStringList items;
    for (QAction* a : menu->actions())
        items << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(items, (QStringList{QStringLiteral("显示窗口"), QStringLiteral("取消置顶"),
                                 QStringLiteral("与我联系"), QStringLiteral("-"),
                                 QStringLiteral("退出")}));
    menu->close();
}

void MainWindowTest::withoutANotificationAreaTheWindowIsNeverHidden()
{
    ShownForm f;
    f.tray.isAvailable = false;
    f.minimize();
    QCOMPARE(f.state(), std::make_pair(Minimized, true));
    f.window->setWindowState(Qt::WindowNoState);
    f.tray.leftClick(); // an icon that stays after its notification area went away
    QCOMPARE(f.state(), std::make_pair(Minimized, true));

    // One that goes away while the window is hidden in it brings the window back.
    f.window->setWindowState(Qt::WindowNoState);
    f.tray.isAvailable = true;
    f.tray.leftClick();
    QCOMPARE(f.state(), std::make_pair(Minimized, false));
    f.tray.isAvailable = false;
    QTRY_COMPARE(f.state(), std::make_pair(Normal, true));
    f.minimize(); // as shown from the tray
    QCOMPARE(f.state(), std::make_pair(Minimized, true));
}

void MainWindowTest::topmostStateFollowsTheMenu()
{
    FormFixture f;
    f.item("zhiding")->trigger();
    QCOMPARE(f.item("zhiding")->text(), QStringLiteral("窗口置顶"));
    QVERIFY(!f.windowManager->onTop);
    f.item("zhiding")->trigger();
    QCOMPARE(f.item("zhiding")->text(), QStringLiteral("取消置顶"));
    QVERIFY(f.windowManager->onTop);
}

void MainWindowTest::outerSizeKeepsItsMinimum()
{
    ShownForm f;
    auto& window = *f.window;
    // Sizes are the outer size, frame included.
    const QSize minimum(Px(12030), Px(8595));
    QTRY_COMPARE(window.frameGeometry().size(), minimum);
    const QSize frame = window.frameGeometry().size() - window.size();
    const QRect queryLine = f.query()->geometry();
    const int resultWidth = f.browser(1)->width();

    window.resize(Px(11000) - frame.width(), Px(8000) - frame.height());
    QTRY_COMPARE(window.frameGeometry().size(), minimum);
    QCOMPARE(f.browser(1)->width(), resultWidth);

    window.resize(Px(15000) - frame.width(), Px(10005) - frame.height());
    QTRY_COMPARE(window.frameGeometry().size(), QSize(Px(15000), Px(10005)));
    // The result view and the contact button at its corner follow the size; the query
    // line and the button rows stay where they are.
    QCOMPARE(f.browser(1)->width() - resultWidth, Px(15000) - minimum.width());
    QCOMPARE(f.button("Command1_0")->geometry().right(), f.browser(1)->geometry().right());
    QCOMPARE(f.query()->geometry(), queryLine);
}

void MainWindowTest::firstShowingAllowsForTheAnnouncedFrame()
{
    // The window manager announces a frame before the window is mapped (here it never
    // draws one): the window shows at once with the client size that frame leaves.
    FormFixture f;
    f.windowManager->frame = geometry::FrameMargins{1, 20, 1, 5};
    f.window->setWindowFlag(Qt::FramelessWindowHint);
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    QCOMPARE(f.window->size(), QSize(Px(12030) - 2, Px(8595) - 25));
    QCOMPARE(f.windowManager->frameEstimates, 1);
}

void MainWindowTest::updateButtonSwitchesNoticeAndPage()
{
    ShownForm f;
    auto* notice = f.find("Text2");
    auto* update = f.button("Cd_update");
    // Pages show dialogs only where they can be seen: not from under the notice.
    QVERIFY(browser::InSight(*f.browser(1)));
    QVERIFY(!browser::InSight(*f.browser(3)));
    for (int round = 0; round < 2; ++round) {
        f.log.clear();
        QTest::mouseClick(update, Qt::LeftButton);
        QVERIFY(browser::InSight(*f.browser(3)));
        QVERIFY(notice->isHidden());
        QCOMPARE(update->text(), QStringLiteral("返回"));
        QCOMPARE(f.log.calls,
                 QStringList{QStringLiteral("WebBrowser3.Navigate qrc:/maker/update.html")});

        f.log.clear();
        QTest::mouseClick(update, Qt::LeftButton);
        QVERIFY(!notice->isHidden());
        QCOMPARE(update->text(), QStringLiteral("检查更新"));
        QVERIFY(f.log.calls.isEmpty()); // switching back loads nothing
    }
}

void MainWindowTest::closingTheStripInTheNormalState()
{
    ShownForm f;
    auto& window = *f.window;
    QTRY_COMPARE(window.frameGeometry().size(), QSize(Px(12030), Px(8595)));
    QTest::mouseClick(f.button("Cd_update"), Qt::LeftButton); // the update page is shown
    f.log.clear();
    QTest::mouseClick(f.button("Cd_AD"), Qt::LeftButton);
    // The strip's pages stop for the rest of the run; the result page stays.
    QCOMPARE(
        f.log.matching(QStringLiteral("WebBrowser")),
        QStringList({QStringLiteral("WebBrowser2.Clear"), QStringLiteral("WebBrowser3.Clear")}));
    QTRY_COMPARE(window.frameGeometry().height(), Px(7300));
    const QList<QWidget*> strip{f.browser(2), f.browser(3), f.find("Text2"), f.button("Cd_update"),
                                f.button("Cd_AD")};
    for (QWidget* part : strip)
        QCOMPARE(part->height(), 0);
    QVERIFY(f.button("Cd_update")->isHidden());
    QVERIFY(f.button("Cd_AD")->isHidden());
    QVERIFY(!browser::InSight(*f.browser(2)));
    // The contact button follows the result view's corner down (to the pixel's rounding).
    QVERIFY(qAbs(f.button("Command1_0")->geometry().bottom() - f.browser(1)->geometry().bottom()) <=
            1);

    // Nothing of the strip comes back at any size, and the closed minimum holds.
    const QSize frame = window.frameGeometry().size() - window.size();
    window.resize(Px(16000) - frame.width(), Px(11000) - frame.height());
    QTRY_COMPARE(window.frameGeometry().size(), QSize(Px(16000), Px(11000)));
    QCOMPARE(f.browser(2)->height(), 0);
    QVERIFY(f.button("Cd_AD")->isHidden());
    window.resize(Px(12030) - frame.width(), Px(5000) - frame.height());
    QTRY_COMPARE(window.frameGeometry().height(), Px(7300));
}

void MainWindowTest::closingTheStripWhenMaximized()
{
    ShownForm f;
    f.maximize();
    QTRY_COMPARE(f.window->state(), Maximized);
    const QSize maximized = f.window->size();
    const int outerHeight = f.window->frameGeometry().height();
    QTest::mouseClick(f.button("Cd_AD"), Qt::LeftButton);
    QCOMPARE(f.window->state(), Maximized);
    QCOMPARE(f.window->size(), maximized);
    // The result view reaches down to the window's outer height.
    QCOMPARE(f.browser(1)->geometry().bottom() + 1, outerHeight);
    for (QWidget* part : {static_cast<QWidget*>(f.browser(2)), static_cast<QWidget*>(f.browser(3)),
                          f.find("Text2"), f.find("Cd_update"), f.find("Cd_AD")})
        QVERIFY(part->isHidden());
    const QPushButton* contact = f.button("Command1_0");
    QCOMPARE(contact->x() + contact->width(), f.browser(1)->width());
    QCOMPARE(contact->y(), outerHeight - contact->height() - Px(500));
}

void MainWindowTest::exitRemovesTheIconAndUnloads()
{
    ShownForm f;
    QSignalSpy unloaded(f.window.get(), &app::MainWindow::unloaded);
    f.log.clear();
    f.item("mnuExit")->trigger();
    QCOMPARE(unloaded.size(), 1);
    QVERIFY(!f.tray.iconShown);
    QCOMPARE(f.log.calls, QStringList{QStringLiteral("icon removed")});
    // A later end (the session's signal, the window's destruction) does nothing more.
    f.window->unload();
    QCOMPARE(unloaded.size(), 1);
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
