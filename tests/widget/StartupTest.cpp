#include "FormFixture.h"

#include "maker/MakerPages.h"
#include "maker/NoticeBox.h"
#include "startup/Startup.h"
#include "startup/StartupLog.h"
#include "startup/StartupSequence.h"

#include <QFile>
#include <QFontDatabase>
#include <QPointer>
#include <QScrollBar>
#include <QtTest>

using namespace tovrin;
using namespace tovrin::testing;

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void startsAsDesigned();
    void startsTheEngineAfterTheWindowThenTheHeldPages();
    void onlyTheProgramsOwnShowingsRearmTheQuery();
    void firstFrameWaitsForActivationOrAMoment();
    void siteButtonsAreDrawnInTheirColoursAndTheTabChainIsTheDesigns();
    // Last: it installs the program's font substitutions for the rest of the run.
    void designFacesAreAskedForByTheirInstalledStandIns();
};

void StartupTest::startsAsDesigned()
{
    FormFixture f;
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Tovrin4321"));
    // The word lookup, its row and its prompt; the selector's own prompt comes back with it.
    QCOMPARE(f.category()->currentText(), QStringLiteral("单词查询"));
    QCOMPARE(f.category()->count(), 5);
    const QString startPrompt = f.query()->text();
    QCOMPARE(startPrompt, QStringLiteral("请输入您要查询的内容，默认使用 ‘译典通’"));
    f.category()->setCurrentIndex(3);
    f.category()->setCurrentIndex(0);
    QCOMPARE(f.query()->text(), startPrompt);
    QVERIFY(f.button("Command0")->isHidden());
    QVERIFY(!f.button("Command1_12")->isHidden());
    QVERIFY(f.button("Command2_1")->isHidden());
    QVERIFY(f.button("Command3_13")->isHidden());

    // On top, and the menu offers to cancel that.
    QVERIFY(f.windowManager->onTop);
    QCOMPARE(f.item("zhiding")->text(), QStringLiteral("取消置顶"));
    QCOMPARE(f.item("mnuShow")->text(), QStringLiteral("显示窗口"));

    // The pages built into the program: the instruction page in the silent result view,
    // the advertisement in its own; nothing in the update and contact views.
    const QStringList result = f.browser(1)->navigations, ad = f.browser(2)->navigations;
    QCOMPARE(result.size(), 1);
    QCOMPARE(ad.size(), 1);
    QVERIFY(result != ad);
    for (const QString& page : result + ad)
        QVERIFY2(page.startsWith(QStringLiteral("qrc:")) && QFile::exists(page.mid(3)),
                 qPrintable(page));
    QVERIFY(f.browser(1)->silent());
    QVERIFY(!f.browser(2)->silent());
    QVERIFY(f.browser(3)->navigations.isEmpty());
    QVERIFY(f.browser(4)->navigations.isEmpty());

    // The notice, in navy at 13 points, over the update view; all four lines show.
    auto* notice = f.find<maker::NoticeBox>("Text2");
    QCOMPARE(notice->toPlainText(),
             QStringLiteral(
                 "欢迎大家提出宝贵意见和建议\n共同促进本软件的发展\n更好地为大家服务\nQQ:4321"));
    QCOMPARE(notice->font().pointSizeF(), 13.0);
    QCOMPARE(notice->palette().color(QPalette::Text), QColor(0, 0, 128));
    QCOMPARE(notice->geometry(), f.browser(3)->geometry());
    const QObjectList strip = notice->parent()->children();
    QVERIFY(strip.indexOf(notice) > strip.indexOf(f.browser(3)));
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    QCOMPARE(notice->verticalScrollBar()->maximum(), 0);
    QCOMPARE(notice->lineSpacing(), QFontInfo(notice->font()).pixelSize());

    // The icon with its tip and greeting, and the menu for panels that draw it; its
    // click hides the window.
    QVERIFY(f.tray.iconShown);
    QCOMPARE(f.tray.toolTip, QStringLiteral("欢迎使用Tovrin"));
    QCOMPARE(f.tray.greeting.title, QStringLiteral("欢迎使用Tovrin"));
    QCOMPARE(f.tray.greeting.text, QStringLiteral("单击本图标将显示/隐藏主程序"));
    QCOMPARE(f.tray.menu, f.find<QMenu>("mnuTray"));
    f.tray.leftClick();
    QVERIFY(!f.window->isVisible());
}

void StartupTest::startsTheEngineAfterTheWindowThenTheHeldPages()
{
    CallLog log;
    RecordingTray tray{log};
    RecordingWindowManager* windowManager = nullptr;
    RecordingEngine engine{log};
    const startup::StartupLog timing;
    // Waits longer than the test: each step here goes on because the one before is done.
    startup::StartupSequence sequence(&engine, &tray, timing, {60000, 60000, 60000});
    const auto recording = RecordingPlatform(log, tray, windowManager, &engine);
    app::WindowConfig config;
    config.makerNumber = kTestMakerNumber;
    app::MainWindow window(std::move(config),
                           sequence.windowPlatform(recording.browsers, recording.windowManager));
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Cd_update")),
                      Qt::LeftButton); // asked for before the engine is up
    sequence.show(window);
    log.calls << QStringLiteral("window shown");

    QTRY_VERIFY(engine.isStarted());
    const maker::MakerPages pages(""); // which page is which, by name
    const auto navigate = [](int browser, const std::string& page) {
        return QStringLiteral("WebBrowser%1.Navigate %2")
            .arg(browser)
            .arg(QString::fromStdString(page));
    };
    QCOMPARE(log.calls, (QStringList{
                            QStringLiteral("balloons held"),
                            QStringLiteral("stays on top"),
                            QStringLiteral("WebBrowser1.Silent true"),
                            QStringLiteral("icon added"),
                            QStringLiteral("window shown"),
                            QStringLiteral("engine started"),
                            navigate(1, pages.instructionAddress()),
                            navigate(3, pages.updateAddress()),
                        }));
    QVERIFY(window.isActiveWindow());
    QVERIFY(window.queryBox().hasFocus());

    // The advertisement and the greeting balloon wait for the result browser's page.
    log.clear();
    emit window.resultView().loadFinished(true);
    QTRY_COMPARE(log.calls, (QStringList{navigate(2, pages.advertisementAddress()),
                                         QStringLiteral("balloons released")}));
}

void StartupTest::onlyTheProgramsOwnShowingsRearmTheQuery()
{
    FormFixture f;
    auto& query = *f.query();
    QVERIFY(f.showActive());
    QCOMPARE(query.selectedText(), query.text());

    // Back from another program: the focus and the caret are where the user left them,
    // in the query box or in the page.
    QWidget other;
    const auto awayAndBack = [&] {
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        f.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        QTest::qWait(20);
    };
    query.setCursorPosition(3);
    awayAndBack();
    QTRY_VERIFY(query.hasFocus());
    QVERIFY(!query.hasSelectedText());
    QCOMPARE(query.cursorPosition(), 3);
    f.browser(1)->setFocus(Qt::MouseFocusReason); // the focus return is used up...
    f.browser(1)->setFocus(Qt::MouseFocusReason); // ...and the page keeps the focus
    awayAndBack();
    QTRY_VERIFY(f.browser(1)->page->hasFocus());

    // Shown again by the icon: hidden in the notification area, or minimized but still
    // shown after a showing from the tray. Re-armed either way.
    f.tray.leftClick();
    QVERIFY(f.window->isHidden());
    other.activateWindow(); // the window system gives the activation to another window
    QVERIFY(QTest::qWaitForWindowActive(&other));
    f.tray.leftClick();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    QTRY_VERIFY(query.hasFocus());
    QCOMPARE(query.selectedText(), query.text());
    query.setCursorPosition(1);
    f.window->setWindowState(Qt::WindowMinimized);
    QVERIFY(f.window->isVisible());
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    f.tray.leftClick();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    QTRY_COMPARE(query.selectedText(), query.text());

    // A showing that no activation followed (the window was active already) is forgotten
    // once the user switches away: coming back leaves the caret where it was.
    query.setCursorPosition(2);
    f.window->setWindowState(Qt::WindowMinimized);
    QVERIFY(f.window->isActiveWindow());
    f.tray.leftClick();
    QCOMPARE(query.cursorPosition(), 2);
    awayAndBack();
    QCOMPARE(query.cursorPosition(), 2);
    QVERIFY(!query.hasSelectedText());
}

void StartupTest::firstFrameWaitsForActivationOrAMoment()
{
    FormFixture f;
    startup::HoldFirstFrameUntilActive(*f.window, 60000);
    QVERIFY(!f.window->updatesEnabled());
    QVERIFY(f.showActive());
    QTRY_VERIFY(f.window->updatesEnabled());

    // Never activated: painted after the longest wait.
    QWidget neverActivated;
    startup::HoldFirstFrameUntilActive(neverActivated, 30);
    QVERIFY(!neverActivated.updatesEnabled());
    QTRY_VERIFY(neverActivated.updatesEnabled());

    // A window gone before the wait is over takes its hold with it.
    QPointer<QObject> hold;
    {
        QWidget gone;
        startup::HoldFirstFrameUntilActive(gone, 10);
        hold = gone.children().constLast();
        QVERIFY(hold);
    }
    QVERIFY(hold.isNull());
}

void StartupTest::siteButtonsAreDrawnInTheirColoursAndTheTabChainIsTheDesigns()
{
    FormFixture f;
    // Each site button is drawn in its own colour, inside a grey border.
    const auto colourInside = [&](const char* name) {
        return f.button(name)->grab().toImage().pixelColor(3, 3);
    };
    QCOMPARE(colourInside("Command1_1"), QColor(128, 255, 128));
    QCOMPARE(colourInside("Command2_2"), QColor(192, 255, 255));
    QCOMPARE(colourInside("Command3_7"), QColor(255, 192, 192));
    QCOMPARE(f.button("Command1_1")->grab().toImage().pixelColor(0, 0), QColor(128, 128, 128));

    // Tab through the shown start-up controls: each browser is a stop that puts the
    // focus into its page (the doubles, like the engine's view, take it only there).
    QVERIFY(f.showActive());
    f.browser(1)->setFocus(); // uses up the focus return: a page taking the focus keeps it
    f.query()->setFocus();
    QList<QWidget*> expected;
    for (int i = 1; i <= 12; ++i)
        expected << f.button(qPrintable(QStringLiteral("Command1_%1").arg(i)));
    expected << f.browser(1)->page << f.button("Command1_0") << f.button("Cd_update")
             << f.button("Cd_AD") << f.browser(2)->page << f.browser(3)->page << f.find("Text2")
             << f.browser(4)->page << f.category() << f.query();
    QList<QWidget*> reached;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached << QApplication::focusWidget();
    }
    QCOMPARE(reached, expected);
    // The hidden rows keep their places in the chain.
    QCOMPARE(f.button("Command2_9")->nextInFocusChain(), f.button("Command3_13"));
    QCOMPARE(f.button("Command3_13")->nextInFocusChain(), f.button("Command3_1"));
    QCOMPARE(f.button("Command3_2")->nextInFocusChain(), f.button("Command3_4"));
}

void StartupTest::designFacesAreAskedForByTheirInstalledStandIns()
{
    startup::InstallFontSubstitutions();
    FormFixture f;
    const std::pair<QWidget*, const char*> controls[] = {
        {f.query(), "宋体"}, {f.button("Command0"), "华文楷体"}, {f.window.get(), "楷体_GB2312"}};
    for (const auto& [control, designFace] : controls) {
        const QFont asked = control->font();
        QFont design(QString::fromUtf8(designFace));
        design.setPointSizeF(asked.pointSizeF());
        design.setBold(asked.bold());
        // The face on the screen is the one the design name would give...
        QCOMPARE(QFontInfo(asked).family(), QFontInfo(design).family());
        // ...asked for by a name that is installed, so that the font database never
        // sorts every face as a fallback for a name it does not have.
        QVERIFY2(!QFontDatabase::styles(asked.family()).isEmpty(), designFace);
    }
}

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
