#include "FormFixture.h"

#include <QAccessible>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QUrl>
#include <QtTest>

#include <functional>

using namespace tovrin;
using namespace tovrin::testing;

namespace {

// The query as it goes over the wire, by Qt's own encoder: UTF-8, every byte but
// A-Z a-z 0-9 - . _ ~ escaped.
QString Wire(const QString& text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

struct ShownForm : FormFixture
{
    ShownForm() { QVERIFY(showActive()); }

    // Puts text into the query box as typed keys, then forgets the calls so far.
    void type(const QString& text)
    {
        query()->selectAll();
        TypeText(query(), text);
        log.clear();
        browser(1)->navigations.clear();
    }

    // Whether the focus return is armed: the result view's next focus goes back to the
    // query box. (Asking uses it up.)
    bool focusReturnArmed()
    {
        QWidget* before = QApplication::focusWidget();
        browser(1)->setFocus(Qt::MouseFocusReason);
        const bool returned = query()->hasFocus();
        if (before)
            before->setFocus(Qt::OtherFocusReason);
        return returned;
    }
};

} // namespace

class LookupBarTest : public QObject
{
    Q_OBJECT

private slots:
    void everySiteButtonOpensItsPageAndTheDispatcherMakesTheViewSilent();
    void contactFromTheButtonOrTheMenuLeavesTopmostAndOpensOnlyTheContactPage();
    void functionKeysRearmOnlyWhereTheCategoryHasThem();
    void shiftAndCtrlDoNotChangeAFunctionKey();
    void enterPerCategory_data();
    void enterPerCategory();
    void keysArmTheFocusReturnOnce();
    void keysGoToTheControlThatHasTheFocus_data();
    void keysGoToTheControlThatHasTheFocus();
    void aLoadedPageUsesUpTheFocusReturn();
    void clickSelectsAllAndDoubleClickPutsTheCaretLast();
    void categorySwitchShowsItsPanelAndPrompt();
    void editedCategoryTextSelectsNothing();
    void arrowButtonOpensTheTypedAddress();
    void keysWhileAnInputMethodComposesLookNothingUp();
    void unpairedSurrogatesAndControlCharactersGoOutAsWellFormedText();
};

void LookupBarTest::everySiteButtonOpensItsPageAndTheDispatcherMakesTheViewSilent()
{
    ShownForm f;
    f.query()->clear();
    TypeText(f.query(), QStringLiteral("词典")); // no key after the last character
    // Every button opens a page of its own, the whole text looked up, and the dispatcher
    // makes the result view silent after it; the end-to-end walk checks each address.
    const auto clickRow = [&](const char* row, int last) {
        QStringList opened;
        for (int i = 1; i <= last; ++i) {
            f.log.clear();
            QTest::mouseClick(f.button(qPrintable(QStringLiteral("%1_%2").arg(row).arg(i))),
                              Qt::LeftButton);
            if (f.log.calls.size() != 2 || f.log.calls.last() != u"WebBrowser1.Silent true")
                return QStringList{
                    QStringLiteral("button %1: %2").arg(i).arg(f.log.calls.join(u'|'))};
            opened << f.log.calls.first();
        }
        return opened;
    };
    QStringList opened = clickRow("Command1", 12);
    QCOMPARE(opened.size(), 12);
    QCOMPARE(opened.removeDuplicates(), 0);
    QCOMPARE(opened[4],
             QStringLiteral(
                 "WebBrowser1.Navigate http://www.dreye.com.cn/ews/%E8%AF%8D%E5%85%B8--01--.html"));
    // A click neither re-arms the box nor touches the focus return the keys armed.
    QVERIFY(!f.query()->hasFocus());
    QVERIFY(f.focusReturnArmed());

    f.category()->setCurrentIndex(1);
    opened = clickRow("Command2", 9);
    QCOMPARE(opened.size(), 9);
    QCOMPARE(opened.removeDuplicates(), 0);
    QCOMPARE(opened[1],
             QStringLiteral(
                 "WebBrowser1.Navigate http://fanyi.youdao.com/translate?i=well&keyfrom=dict.top"));

    // Right after a category switch the prompt itself is looked up.
    f.category()->setCurrentIndex(3);
    opened = clickRow("Command3", 13);
    QCOMPARE(opened.size(), 13);
    QCOMPARE(opened.removeDuplicates(), 0);
    QCOMPARE(opened[2], QStringLiteral("WebBrowser1.Navigate http://cn.bing.com/search?q=") +
                            Wire(f.query()->text()));
}

void LookupBarTest::contactFromTheButtonOrTheMenuLeavesTopmostAndOpensOnlyTheContactPage()
{
    FormFixture f;
    const QString notTopmost = QStringLiteral("not on top");
    const QString contact = QStringLiteral(
        "WebBrowser4.Navigate http://wpa.qq.com/msgrd?v=1&uin=4321&site=qq&menu=yes");
    // The button is dictionary entry 0, and the dictionary's dispatcher sets Silent after it.
    const std::pair<std::function<void()>, QStringList> entries[] = {
        {[&] { f.button("Command1_0")->click(); },
         {notTopmost, contact, QStringLiteral("WebBrowser1.Silent true")}},
        {[&] { f.item("connect")->trigger(); }, {notTopmost, contact}},
    };
    for (const auto& [open, expected] : entries) {
        for (int round = 0; round < 2; ++round) { // from topmost, then from not topmost
            f.log.clear();
            open();
            QCOMPARE(f.log.calls, expected);
            QCOMPARE(f.item("zhiding")->text(), QStringLiteral("窗口置顶"));
            QVERIFY(!f.windowManager->onTop);
        }
        f.item("zhiding")->trigger();
        QVERIFY(f.windowManager->onTop);
    }
    // The button is there in every category.
    f.category()->setCurrentIndex(4);
    QVERIFY(!f.button("Command1_0")->isHidden());
    f.log.clear();
    f.button("Command1_0")->click();
    QCOMPARE(f.log.matching(QStringLiteral("WebBrowser4.Navigate")), QStringList{contact});
}

void LookupBarTest::functionKeysRearmOnlyWhereTheCategoryHasThem()
{
    // Which key opens which site is the key table's own test; here: a key the category
    // has looks up and re-arms, F14 in the search engines reaches the dispatcher, which
    // has no such site, and re-arms, and a key of no category leaves the box as it was.
    ShownForm f;
    const struct
    {
        int category;
        Qt::Key key;
        QStringList calls;
        bool rearms;
    } cases[] = {
        {0,
         Qt::Key_F3,
         {QStringLiteral(
              "WebBrowser1.Navigate http://dict.youdao.com/search?q=C%2B%2B%20%E8%AF%8D"),
          QStringLiteral("WebBrowser1.Silent true")},
         true},
        {3, Qt::Key_F14, {QStringLiteral("WebBrowser1.Silent true")}, true},
        {2, Qt::Key_F1, {}, false},
        {4, Qt::Key_F5, {}, false},
        {1, Qt::Key_F10, {}, false},
    };
    for (const auto& c : cases) {
        f.category()->setCurrentIndex(c.category);
        f.type(QStringLiteral("C++ 词"));
        f.query()->setCursorPosition(2);
        QTest::keyClick(f.query(), c.key);
        QCOMPARE(f.log.calls, c.calls);
        QCOMPARE(f.rearmed(), c.rearms);
        if (!c.rearms)
            QCOMPARE(f.query()->cursorPosition(), 2);
    }
}

void LookupBarTest::shiftAndCtrlDoNotChangeAFunctionKey()
{
    ShownForm f;
    const QString expected = QStringLiteral("http://dict.youdao.com/search?q=word");
    for (const auto mods : {Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier}) {
        f.type(QStringLiteral("word"));
        QTest::keyClick(f.query(), Qt::Key_F3, mods);
        QCOMPARE(f.browser(1)->navigations, QStringList{expected});
    }
}

void LookupBarTest::enterPerCategory_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("address"); // empty: nothing opens and the Enter is not consumed
    QTest::newRow("word lookup") << 0 << QStringLiteral("词 a&b")
                                 << QStringLiteral(
                                        "http://www.dreye.com.cn/ews/%E8%AF%8D%20a%26b--01--.html");
    QTest::newRow("online translation")
        << 1 << QStringLiteral("词") << QStringLiteral("http://fy.iciba.com/");
    QTest::newRow("web browsing") << 2 << QStringLiteral("www.example.com/a b")
                                  << QStringLiteral("www.example.com/a b");
    QTest::newRow("search engines")
        << 3 << QStringLiteral("词 a&b") << QStringLiteral("http://www.baidu.com/s?wd=词%20a%26b");
    QTest::newRow("literature search") << 4 << QStringLiteral("word") << QString();
}

void LookupBarTest::enterPerCategory()
{
    QFETCH(int, category);
    QFETCH(QString, text);
    QFETCH(QString, address);
    ShownForm f;
    f.category()->setCurrentIndex(category);
    f.type(text);
    QSignalSpy enterInTheBox(f.query(), &QLineEdit::returnPressed);
    QTest::keyClick(f.query(), Qt::Key_Return);
    QCOMPARE(f.browser(1)->navigations, address.isEmpty() ? QStringList() : QStringList{address});
    QCOMPARE(f.rearmed(), !address.isEmpty());
    QCOMPARE(enterInTheBox.size(), address.isEmpty() ? 1 : 0); // consumed when it looks up
    QCOMPARE(f.query()->text(), text);
    // Only the dispatchers set Silent; typed addresses and the search default do not.
    const bool dispatched = category == 0 || category == 1;
    QCOMPARE(f.log.matching(QStringLiteral("Silent")).size(), dispatched ? 1 : 0);
}

void LookupBarTest::keysArmTheFocusReturnOnce()
{
    ShownForm f;
    QVERIFY(f.focusReturnArmed()); // armed at start, and used up
    QVERIFY(!f.focusReturnArmed());
    QTest::keyClicks(f.query(), QStringLiteral("ab"));
    f.browser(1)->setFocus();
    QTRY_VERIFY(f.query()->hasFocus());
    f.browser(1)->setFocus();
    QTest::qWait(10);
    QVERIFY(f.browser(1)->page->hasFocus());

    // Keys the window gets itself run the same procedures.
    f.category()->setCurrentIndex(0);
    f.query()->setText(QStringLiteral("word"));
    f.log.clear();
    f.window->setFocus();
    QTest::keyClick(f.window.get(), Qt::Key_F2);
    QCOMPARE(f.browser(1)->navigations.last(),
             QStringLiteral("http://www.google.com.hk/dictionary?langpair=en%7Czh-CN&q=word"));
    QVERIFY(f.rearmed());
}

void LookupBarTest::keysGoToTheControlThatHasTheFocus_data()
{
    QTest::addColumn<QString>("focused");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("keyProcedureRan"); // the query box's or the window's
    QTest::addColumn<int>("site");             // dictionary site opened, 0 for none
    const int enter = Qt::Key_Return;
    QTest::newRow("query box, Enter") << "Text1" << enter << true << 5;
    QTest::newRow("query box, F3") << "Text1" << int(Qt::Key_F3) << true << 3;
    QTest::newRow("site button, Enter") << "Command1_3" << enter << false << 3;
    QTest::newRow("site button, Space") << "Command1_3" << int(Qt::Key_Space) << false << 3;
    QTest::newRow("site button, F5") << "Command1_3" << int(Qt::Key_F5) << false << 0;
    QTest::newRow("category selector, Enter") << "Combo1" << enter << false << 0;
    QTest::newRow("category selector, F3") << "Combo1" << int(Qt::Key_F3) << false << 0;
    QTest::newRow("notice, Enter") << "Text2" << enter << false << 0;
    QTest::newRow("notice, F5") << "Text2" << int(Qt::Key_F5) << false << 0;
    QTest::newRow("result page, Enter") << "WebBrowser1" << enter << false << 0;
    QTest::newRow("result page, F5") << "WebBrowser1" << int(Qt::Key_F5) << false << 0;
    QTest::newRow("window, F3") << "Form1" << int(Qt::Key_F3) << true << 3;
    QTest::newRow("window, Enter") << "Form1" << enter << true << 5;
}

void LookupBarTest::keysGoToTheControlThatHasTheFocus()
{
    QFETCH(QString, focused);
    QFETCH(int, key);
    QFETCH(bool, keyProcedureRan);
    QFETCH(int, site);
    ShownForm f;
    f.query()->setText(QStringLiteral("word"));
    QVERIFY(f.focusReturnArmed()); // used up
    QWidget* control =
        focused == QLatin1String("Form1") ? f.window.get() : f.window->findChild<QWidget*>(focused);
    QVERIFY(control);
    control->setFocus(Qt::TabFocusReason);
    QWidget* target = QApplication::focusWidget();
    QVERIFY(target == control || control->isAncestorOf(target));
    f.log.clear();
    QTest::keyClick(target, Qt::Key(key));
    const QStringList opened = f.log.matching(QStringLiteral(".Navigate"));
    if (site == 0) {
        QCOMPARE(opened, QStringList());
    } else {
        const QString address = site == 3
                                    ? QStringLiteral("http://dict.youdao.com/search?q=word")
                                    : QStringLiteral("http://www.dreye.com.cn/ews/word--01--.html");
        QCOMPARE(opened, QStringList(QStringLiteral("WebBrowser1.Navigate ") + address));
    }
    QCOMPARE(f.focusReturnArmed(), keyProcedureRan);
}

void LookupBarTest::aLoadedPageUsesUpTheFocusReturn()
{
    ShownForm f;
    auto& query = *f.query();
    f.type(QStringLiteral("word"));
    QTest::keyClick(&query, Qt::Key_Return);
    emit f.browser(1)->loadFinished(true); // the page arrives while the user waits
    QVERIFY(f.rearmed());
    // The user's first click into the page keeps the focus there.
    f.browser(1)->setFocus(Qt::MouseFocusReason);
    QTest::qWait(10);
    QVERIFY(f.browser(1)->page->hasFocus());
    // A page that loads after a click of the user's changes nothing either.
    emit f.browser(1)->loadFinished(true);
    QVERIFY(f.browser(1)->page->hasFocus());

    // A user who picks a category while the page loads keeps the focus in the selector.
    query.setFocus();
    QTest::keyClick(&query, Qt::Key_Return);
    f.category()->setFocus(Qt::MouseFocusReason);
    emit f.browser(1)->loadFinished(true);
    QVERIFY(f.category()->hasFocus());
    QVERIFY(!f.focusReturnArmed());

    // A site button keeps the focus only until its page is in; the query box keeps the
    // selection it had meanwhile.
    query.clear();
    query.setFocus();
    TypeText(&query, QStringLiteral("apple"));
    query.setSelection(5, -2);
    QTest::mouseClick(f.button("Command1_3"), Qt::LeftButton);
    QVERIFY(f.button("Command1_3")->hasFocus());
    QCOMPARE(query.selectedText(), QStringLiteral("le"));
    emit f.browser(1)->loadFinished(true);
    QVERIFY(query.hasFocus());
    QCOMPARE(query.selectedText(), QStringLiteral("le"));
    QCOMPARE(query.cursorPosition(), 3);
}

void LookupBarTest::clickSelectsAllAndDoubleClickPutsTheCaretLast()
{
    ShownForm f;
    auto& box = *f.query();
    box.setText(QStringLiteral("hello world"));
    box.setCursorPosition(3);
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(20, 10));
    QCOMPARE(box.selectedText(), box.text());

    QTest::mouseDClick(&box, Qt::LeftButton, {}, QPoint(20, 10));
    QVERIFY(!box.hasSelectedText());
    QCOMPARE(box.cursorPosition(), int(box.text().size()));
    QVERIFY(box.hasFocus());
}

void LookupBarTest::categorySwitchShowsItsPanelAndPrompt()
{
    FormFixture f;
    const QString prompts[] = {
        QStringLiteral("请输入您要查询的内容，默认使用 ‘译典通’"),
        QStringLiteral("请点击以下按钮选择在线翻译方式，默认使用 ‘词霸’"),
        QStringLiteral("请输入您要访问的网址"),
        QStringLiteral("请输入您要搜索的内容，默认使用 ‘百度’"),
        QStringLiteral("开发中，敬请期待"),
    };
    const auto rowShown = [&](const char* row, int last) {
        bool all = true, none = true;
        for (int i = 1; i <= last; ++i) {
            const bool hidden =
                f.button(qPrintable(QStringLiteral("%1_%2").arg(row).arg(i)))->isHidden();
            all = all && !hidden;
            none = none && hidden;
        }
        return all ? 1 : none ? 0 : -1;
    };
    for (int category : {1, 2, 3, 4, 0, 3, 2}) {
        f.query()->setText(QStringLiteral("typed"));
        f.log.clear();
        f.category()->setCurrentIndex(category);
        QCOMPARE(f.query()->text(), prompts[category]);
        // Assistive technology names the box by the prompt, whatever the user types.
        f.query()->setText(QStringLiteral("typed"));
        QCOMPARE(QAccessible::queryAccessibleInterface(f.query())->text(QAccessible::Name),
                 prompts[category]);
        QCOMPARE(f.button("Command0")->isHidden(), category != 2);
        QCOMPARE(rowShown("Command1", 12), category == 0 ? 1 : 0);
        QCOMPARE(rowShown("Command2", 9), category == 1 ? 1 : 0);
        QCOMPARE(rowShown("Command3", 13), category == 3 ? 1 : 0);
        QVERIFY(!f.button("Command1_0")->isHidden());
        QVERIFY(f.log.calls.isEmpty()); // no page opens
    }
    QCOMPARE(QAccessible::queryAccessibleInterface(f.window.get())->role(), QAccessible::Window);
}

void LookupBarTest::editedCategoryTextSelectsNothing()
{
    ShownForm f;
    f.category()->lineEdit()->setFocus();
    QTest::keyClicks(f.category()->lineEdit(), QStringLiteral("x"));
    f.query()->setFocus();
    f.type(QStringLiteral("word"));
    QTest::keyClick(f.query(), Qt::Key_F5);
    QTest::keyClick(f.query(), Qt::Key_Return);
    QVERIFY(f.browser(1)->navigations.isEmpty());

    // Choosing an item again brings the category back.
    f.category()->setCurrentIndex(3);
    f.type(QStringLiteral("word"));
    QTest::keyClick(f.query(), Qt::Key_F5);
    QCOMPARE(f.browser(1)->navigations.size(), 1);
}

void LookupBarTest::arrowButtonOpensTheTypedAddress()
{
    ShownForm f;
    f.category()->setCurrentIndex(2);
    QVERIFY(!f.button("Command0")->isHidden());
    f.query()->setText(QStringLiteral("example.org/路径?q=1"));
    f.log.clear();
    QTest::mouseClick(f.button("Command0"), Qt::LeftButton);
    QCOMPARE(f.log.calls, QStringList{QStringLiteral("WebBrowser1.Navigate example.org/路径?q=1")});
}

void LookupBarTest::keysWhileAnInputMethodComposesLookNothingUp()
{
    // Enter and function keys that the input method lets through while it composes
    // start nothing; once the text is committed they look it up.
    ShownForm f;
    f.query()->clear();
    QInputMethodEvent compose;
    compose.setCommitString(QStringLiteral("词典"));
    QApplication::sendEvent(f.query(), &compose);
    QInputMethodEvent preedit(QStringLiteral("shu"), {});
    QApplication::sendEvent(f.query(), &preedit);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_F3, Qt::Key_F1})
        QTest::keyClick(f.query(), key);
    QVERIFY(f.browser(1)->navigations.size() == 1); // the instruction page only
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("书"));
    QApplication::sendEvent(f.query(), &commit);
    QTest::keyClick(f.query(), Qt::Key_F3);
    QCOMPARE(f.browser(1)->navigations.last(),
             QStringLiteral("http://dict.youdao.com/search?q=%E8%AF%8D%E5%85%B8%E4%B9%A6"));
}

void LookupBarTest::unpairedSurrogatesAndControlCharactersGoOutAsWellFormedText()
{
    ShownForm f;
    const QString text = QString(QChar(0xD840)) + QStringLiteral("a") + QChar(0xDC00) + QChar(0) +
                         QStringLiteral("\x1b");
    f.query()->setText(text);
    QTest::keyClick(f.query(), Qt::Key_Return);
    QCOMPARE(f.browser(1)->navigations.last(),
             QStringLiteral("http://www.dreye.com.cn/ews/%EF%BF%BDa%EF%BF%BD%00%1B--01--.html"));
    QTest::keyClick(f.query(), Qt::Key_F1); // the raw Baidu entry
    QCOMPARE(f.browser(1)->navigations.last(),
             QStringLiteral("http://dict.baidu.com/s?wd=\uFFFDa\uFFFD%00%1B"));
}

QTEST_MAIN(LookupBarTest)
#include "LookupBarTest.moc"
