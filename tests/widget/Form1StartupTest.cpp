#include "FormFixture.h"

#include "app/Application.h"
#include "app/StartupLog.h"
#include "app/StartupSequence.h"
#include "app/Module1.h"
#include "app/NoticeBox.h"
#include "maker/MakerPages.h"
#include "app/QueryBox.h"
#include "platform/AnsiText.h"

#include <QAction>
#include <QFile>
#include <QPointer>
#include <QComboBox>
#include <QFontDatabase>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

#include <algorithm>

using namespace tovrin;
using namespace tovrin::testing;

class Form1StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void loadsInOrderWithBuiltInPages();
    void startsTheEngineAfterTheWindowThenTheHeldPages();
    void startsWithTheWordLookupPanelAndPrompt();
    void startsTopmostWithTheNoticeAndTrayIcon();
    void onlyTheProgramsOwnShowingsRearmTheQuery();
    void firstFrameWaitsForActivationOrAMoment();
    void controlsStandAtTheirDesignPlacesInTabOrder();
    // Last: it installs the program's font substitutions for the rest of the run.
    void designFacesAreAskedForByTheirInstalledStandIns();
};

void Form1StartupTest::loadsInOrderWithBuiltInPages()
{
    FormFixture f;
    const QStringList& calls = f.log.calls;
    QCOMPARE(calls.size(), 5);
    QCOMPARE(calls[0], QStringLiteral("SetWindowPos TOPMOST"));
    QVERIFY(calls[1].startsWith(QStringLiteral("WebBrowser2.Navigate ")));
    QCOMPARE(calls[2], QStringLiteral("WebBrowser1.Silent true"));
    QVERIFY(calls[3].startsWith(QStringLiteral("WebBrowser1.Navigate ")));
    QCOMPARE(calls[4], QStringLiteral("Shell_NotifyIcon ADD"));
    // Two different pages, both built into the program.
    const QString ad = calls[1].section(u' ', 1), instruction = calls[3].section(u' ', 1);
    QVERIFY(ad != instruction);
    for (const QString& page : {ad, instruction})
        QVERIFY2(page.startsWith(QStringLiteral("qrc:")) && QFile::exists(page.mid(3)),
                 qPrintable(page));
    QVERIFY(!f.browser(2)->silent());
    QVERIFY(f.browser(3)->navigations.isEmpty());
    QVERIFY(f.browser(4)->navigations.isEmpty());
}

void Form1StartupTest::startsTheEngineAfterTheWindowThenTheHeldPages()
{
    CallLog log;
    RecordingTray tray{log};
    RecordingWindowBackend* window = nullptr;
    RecordingEngine engine{log};
    const app::StartupLog timing;
    // Waits longer than the test: each step here goes on because the one before is done.
    app::StartupSequence startup(&engine, &tray, timing, {60000, 60000, 60000});
    app::Form1Config config;
    config.makerNumber = kTestMakerNumber;
    app::Form1 form(std::move(config), RecordingPlatform(log, tray, window, &engine));
    form.Cd_update_Click(); // asked for before the engine is up
    startup.run(form);
    log.calls << QStringLiteral("window shown");

    QTRY_VERIFY(engine.isStarted());
    const maker::MakerPages pages(""); // which page is which, by name
    const auto navigate = [](int browser, const std::string& page) {
        return QStringLiteral("WebBrowser%1.Navigate %2").arg(browser).arg(QString::fromStdString(page));
    };
    QCOMPARE(log.calls, (QStringList{
                            QStringLiteral("balloons held"),
                            QStringLiteral("SetWindowPos TOPMOST"),
                            QStringLiteral("WebBrowser1.Silent true"),
                            QStringLiteral("Shell_NotifyIcon ADD"),
                            QStringLiteral("window shown"),
                            QStringLiteral("engine started"),
                            navigate(1, pages.instructionAddress()),
                            navigate(3, pages.updateAddress()),
                        }));
    QVERIFY(form.isActiveWindow());
    QVERIFY(form.Text1->hasFocus());

    // The advertisement and the greeting balloon wait for the result browser's page.
    log.clear();
    emit form.WebBrowser1->loadFinished(true);
    QTRY_COMPARE(log.calls, (QStringList{navigate(2, pages.advertisementAddress()),
                                         QStringLiteral("balloons released")}));
}

void Form1StartupTest::startsWithTheWordLookupPanelAndPrompt()
{
    FormFixture f;
    auto& form = *f.form;
    QCOMPARE(form.Combo1->currentIndex(), 0);
    QCOMPARE(form.Combo1->currentText(), QStringLiteral("单词查询"));
    QCOMPARE(form.Combo1->count(), 5);
    QCOMPARE(form.Combo1->itemText(4), QStringLiteral("文献检索"));
    const QString startPrompt = form.Text1->text();
    form.Combo1->setCurrentIndex(3);
    form.Combo1->setCurrentIndex(0);
    QCOMPARE(form.Text1->text(), startPrompt); // the word lookup's own
    QVERIFY(form.Command0->isHidden());
    for (std::size_t i = 0; i < form.Command1.size(); ++i)
        QVERIFY2(!form.Command1[i]->isHidden(), qPrintable(form.Command1[i]->text()));
    for (std::size_t i = 1; i < form.Command2.size(); ++i)
        QVERIFY(form.Command2[i]->isHidden());
    for (std::size_t i = 1; i < form.Command3.size(); ++i)
        QVERIFY(form.Command3[i]->isHidden());
    QCOMPARE(form.Command1[5]->text(), QStringLiteral("译典通F5"));
    QCOMPARE(form.Command1[0]->text(), QStringLiteral("与我联系"));
    QCOMPARE(form.Command3[13]->text(), QStringLiteral("狗狗"));
    QVERIFY(form.sEncodedQuery.empty());
}

void Form1StartupTest::startsTopmostWithTheNoticeAndTrayIcon()
{
    FormFixture f;
    auto& form = *f.form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Tovrin4321"));
    QVERIFY(f.window->onTop);
    QCOMPARE(form.zhiding->text(), QStringLiteral("取消置顶"));
    QCOMPARE(form.mnuShow->text(), QStringLiteral("显示窗口"));
    QCOMPARE(form.bTopmost, 1);
    QCOMPARE(form.bNoticeShown, 1);
    QCOMPARE(form.bAdShown, 1);
    QCOMPARE(form.bRefocusQuery, 1);

    QCOMPARE(form.Text2->toPlainText(),
             QStringLiteral(
                 "欢迎大家提出宝贵意见和建议\n共同促进本软件的发展\n更好地为大家服务\nQQ:4321"));
    QCOMPARE(form.Text2->font().pointSizeF(), 13.0);
    QCOMPARE(form.Text2->palette().color(QPalette::Text), QColor(0, 0, 128));
    QVERIFY(!form.Text2->isHidden());
    // The notice lies over the update browser, in the same rectangle.
    QCOMPARE(form.Text2->geometry(), form.WebBrowser3->geometry());
    QVERIFY(form.children().indexOf(form.Text2) > form.children().indexOf(form.WebBrowser3));
    // All four lines, the maker's number included, show without scrolling.
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.Text2->verticalScrollBar()->maximum(), 0);
    QCOMPARE(form.Text2->lineSpacing(), QFontInfo(form.Text2->font()).pixelSize());

    // What the notification area got: the window's icon with its tip and greeting, and
    // the message that brings a click on the icon back to the window.
    QCOMPARE(f.tray.icons.size(), std::size_t{1});
    const auto record = f.tray.icons.front();
    QCOMPARE(record.hWnd, form.hWnd());
    QCOMPARE(platform::ReadAnsiField(record.szTip), std::string("欢迎使用Tovrin"));
    QCOMPARE(platform::ReadAnsiField(record.szInfoTitle), std::string("欢迎使用Tovrin"));
    QCOMPARE(platform::ReadAnsiField(record.szInfo), std::string("单击本图标将显示/隐藏主程序"));
    app::Module1::bShownFromTray = 0;
    platform::SendMessageA(record.hWnd, record.uCallbackMessage, record.uID, 514); // left up
    QVERIFY(!form.isVisible());

    // The hook stands in front of the window's own procedure, once: the procedure it
    // forwards to is not itself.
    QVERIFY(app::Module1::lpOrigWndProc != 0);
    QCOMPARE(app::Module1::lpPrevWndProc, app::Module1::lpOrigWndProc);
    QVERIFY(app::Module1::lpPrevWndProc != platform::AddressOf(&app::Module1::WindowProc));
    QCOMPARE(platform::GetWindowLongA(form.hWnd(), platform::GWL_WNDPROC),
             platform::AddressOf(&app::Module1::WindowProc));
}

void Form1StartupTest::onlyTheProgramsOwnShowingsRearmTheQuery()
{
    FormFixture f;
    auto& form = *f.form;
    QVERIFY(f.showActive());
    QCOMPARE(form.Text1->selectedText(), form.Text1->text());

    // Back from another program: the focus and the caret are where the user left them,
    // in the query box or in the page.
    QWidget other;
    const auto awayAndBack = [&] {
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTest::qWait(20);
    };
    form.Text1->setCursorPosition(3);
    awayAndBack();
    QTRY_VERIFY(form.Text1->hasFocus());
    QVERIFY(!form.Text1->hasSelectedText());
    QCOMPARE(form.Text1->cursorPosition(), 3);
    form.bRefocusQuery = 0;
    f.browser(1)->setFocus(Qt::MouseFocusReason);
    awayAndBack();
    QTRY_VERIFY(f.browser(1)->page->hasFocus());

    // Shown again by the icon: hidden in the notification area, or minimized but still
    // shown after a showing from the tray. Re-armed either way.
    const auto trayClick = [&] {
        platform::SendMessageA(form.hWnd(), app::Module1::WM_TRAYICON, 1, 514);
    };
    app::Module1::bShownFromTray = 0;
    trayClick();
    QVERIFY(form.isHidden());
    other.activateWindow(); // the window system gives the activation to another window
    QVERIFY(QTest::qWaitForWindowActive(&other));
    form.Text1->setCursorPosition(1);
    trayClick();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTRY_VERIFY(form.Text1->hasFocus());
    QCOMPARE(form.Text1->selectedText(), form.Text1->text());
    form.Text1->setCursorPosition(1);
    form.SetWindowState(1);
    QVERIFY(form.isVisible());
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    trayClick();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTRY_COMPARE(form.Text1->selectedText(), form.Text1->text());

    // A showing that no activation followed (the window was active already) is forgotten
    // once the user switches away: coming back leaves the caret where it was.
    QVERIFY(form.isActiveWindow());
    form.ShowAgain(); // active already: no activation follows
    form.Text1->setCursorPosition(2);
    awayAndBack();
    QCOMPARE(form.Text1->cursorPosition(), 2);
    QVERIFY(!form.Text1->hasSelectedText());
}

void Form1StartupTest::firstFrameWaitsForActivationOrAMoment()
{
    FormFixture f;
    auto& form = *f.form;
    app::HoldFirstFrameUntilActive(form, 60000);
    QVERIFY(!form.updatesEnabled());
    QVERIFY(f.showActive());
    QTRY_VERIFY(form.updatesEnabled());
    QVERIFY(form.Text1->hasFocus());

    // Never activated: painted after the longest wait.
    QWidget neverActivated;
    app::HoldFirstFrameUntilActive(neverActivated, 30);
    QVERIFY(!neverActivated.updatesEnabled());
    QTRY_VERIFY(neverActivated.updatesEnabled());

    // A window gone before the wait is over takes its hold with it.
    QPointer<QObject> hold;
    {
        QWidget gone;
        app::HoldFirstFrameUntilActive(gone, 10);
        hold = gone.children().constLast();
        QVERIFY(hold);
    }
    QVERIFY(hold.isNull());
}

void Form1StartupTest::controlsStandAtTheirDesignPlacesInTabOrder()
{
    FormFixture f;
    auto& form = *f.form;
    // 15 twips to the pixel.
    QCOMPARE(form.Text1->geometry(), QRect(0, 0, 499, 24));
    QCOMPARE(form.Command0->geometry(), QRect(504, 0, 25, 25));
    QCOMPARE(form.Combo1->geometry(), QRect(536, 0, 249, 24));
    QCOMPARE(form.Command1[12]->geometry(), QRect(712, 29, 61, 20));
    QCOMPARE(form.Command2[8]->geometry(), QRect(464, 29, 77, 20));
    QCOMPARE(form.Command3[13]->geometry(), QRect(720, 29, 60, 20));
    QCOMPARE(form.WebBrowser4->geometry(), QRect(392, 344, 2, 2));
    QCOMPARE(form.Text1->font().pointSizeF(), 12.0);
    QCOMPARE(form.Command1[1]->font().pointSizeF(), 9.0);
    QVERIFY(form.Command0->font().bold());
    // Each site button is drawn in its own colour, inside a grey border.
    const auto colourInside = [](QPushButton* button) {
        return button->grab().toImage().pixelColor(3, 3);
    };
    QCOMPARE(colourInside(form.Command1[1]), QColor(128, 255, 128));
    QCOMPARE(colourInside(form.Command2[2]), QColor(192, 255, 255));
    QCOMPARE(colourInside(form.Command3[7]), QColor(255, 192, 192));
    QCOMPARE(form.Command1[1]->grab().toImage().pixelColor(0, 0), QColor(128, 128, 128));

    // Tab through the shown start-up controls: each browser is a stop that puts the
    // focus into its page (the doubles, like the engine's view, take it only there).
    QVERIFY(f.showActive());
    form.bRefocusQuery = 0; // a page taking the focus keeps it
    QList<QWidget*> expected;
    for (std::size_t i = 1; i <= 12; ++i)
        expected << form.Command1[i];
    expected << f.browser(1)->page << form.Command1[0] << form.Cd_update << form.Cd_AD
             << f.browser(2)->page << f.browser(3)->page << form.Text2 << f.browser(4)->page
             << form.Combo1 << form.Text1;
    QList<QWidget*> reached;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached << QApplication::focusWidget();
    }
    QCOMPARE(reached, expected);
    // The hidden panels keep their places in the chain.
    QCOMPARE(form.Command2[9]->nextInFocusChain(), form.Command3[13]);
    QCOMPARE(form.Command3[13]->nextInFocusChain(), form.Command3[1]);
    QCOMPARE(form.Command3[2]->nextInFocusChain(), form.Command3[4]);
}

void Form1StartupTest::designFacesAreAskedForByTheirInstalledStandIns()
{
    tovrin::app::InstallFontSubstitutions();
    FormFixture f;
    auto& form = *f.form;
    const std::pair<QWidget*, const char*> controls[] = {
        {form.Text1, "宋体"}, {form.Command0, "华文楷体"}, {&form, "楷体_GB2312"}};
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

QTEST_MAIN(Form1StartupTest)
#include "Form1StartupTest.moc"
