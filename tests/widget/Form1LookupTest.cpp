#include "FormFixture.h"

#include "app/QueryBox.h"
#include "lookup/SiteCatalogue.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <QtTest>

#include <functional>

using namespace tovrin;
using namespace tovrin::testing;
using lookup::SiteTable;

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
        form->Text1->selectAll();
        TypeText(form->Text1, text);
        log.clear();
        browser(1)->navigations.clear();
    }

    bool rearmed() const
    {
        return form->Text1->hasFocus() && form->Text1->selectedText() == form->Text1->text() &&
               form->Text1->selectionStart() == 0;
    }
};

} // namespace

class Form1LookupTest : public QObject
{
    Q_OBJECT

private slots:
    void dispatchersNavigateAndAlwaysSetSilent();
    void contactFromTheButtonOrTheMenuLeavesTopmostAndOpensOnlyTheContactPage();
    void functionKeysRearmOnlyWhereTheCategoryHasThem();
    void shiftAndCtrlDoNotChangeAFunctionKey();
    void enterPerCategory_data();
    void enterPerCategory();
    void keysRefreshTheQueryAndArmTheFocusReturnOnce();
    void keysGoToTheControlThatHasTheFocus_data();
    void keysGoToTheControlThatHasTheFocus();
    void aLoadedPageUsesUpTheFocusReturn();
    void clickSelectsAllAndDoubleClickPutsTheCaretLast();
    void categorySwitchShowsItsPanelAndPrompt();
    void editedCategoryTextSelectsNothing();
    void siteButtonsLookUpTheWholeTextWithoutRearming();
    void arrowButtonOpensTheTypedAddress();
    void inputMethodTextRefreshesTheQuery();
    void unpairedSurrogatesAndControlCharactersGoOutAsWellFormedText();
};

void Form1LookupTest::dispatchersNavigateAndAlwaysSetSilent()
{
    FormFixture f;
    auto& form = *f.form;
    form.Text1->setText(QStringLiteral("a&b 词"));
    form.sEncodedQuery = form.UTF8EncodeURI(form.Text1->text());
    const struct
    {
        void (app::Form1::*dispatcher)(std::int16_t);
        SiteTable table;
        int first, last;
    } tables[] = {{&app::Form1::LookupDictionary, SiteTable::Dictionary, 1, 12},
                  {&app::Form1::LookupTranslation, SiteTable::Translation, 1, 9},
                  {&app::Form1::LookupSearch, SiteTable::Search, 1, 13}};
    // Each number of a table opens one page and the site catalogue's addresses are its
    // own test; here: which numbers open a page, and that Silent follows every call.
    for (const auto& t : tables) {
        for (int n = -2; n <= t.last + 2; ++n) {
            if (t.table == SiteTable::Dictionary && n == 0)
                continue; // the contact entry has its own test
            f.log.clear();
            (form.*t.dispatcher)(static_cast<std::int16_t>(n));
            const bool opens = n >= t.first && n <= t.last;
            QCOMPARE(f.log.calls.size(), opens ? 2 : 1);
            QCOMPARE(f.log.calls.first().startsWith(QStringLiteral("WebBrowser1.Navigate http")),
                     opens);
            QCOMPARE(f.log.calls.last(), QStringLiteral("WebBrowser1.Silent true"));
        }
    }
    form.LookupSearch(3);
    QCOMPARE(f.browser(1)->navigations.last(),
             QStringLiteral("http://cn.bing.com/search?q=a%26b%20%E8%AF%8D"));
    // Encoded entries use the stored query as it stands, however stale.
    form.sEncodedQuery = "stale";
    f.log.clear();
    form.LookupDictionary(3);
    QCOMPARE(f.browser(1)->navigations.last(),
             QStringLiteral("http://dict.youdao.com/search?q=stale"));
}

void Form1LookupTest::contactFromTheButtonOrTheMenuLeavesTopmostAndOpensOnlyTheContactPage()
{
    FormFixture f;
    auto& form = *f.form;
    const QString notTopmost = QStringLiteral("SetWindowPos NOTOPMOST");
    const QString contact = QStringLiteral(
        "WebBrowser4.Navigate http://wpa.qq.com/msgrd?v=1&uin=4321&site=qq&menu=yes");
    // The button is dictionary entry 0, and the dictionary dispatcher sets Silent after it.
    const std::pair<std::function<void()>, QStringList> entries[] = {
        {[&] { form.Command1[0]->click(); },
         {notTopmost, contact, QStringLiteral("WebBrowser1.Silent true")}},
        {[&] { form.connect_->trigger(); }, {notTopmost, contact}},
    };
    for (const auto& [open, expected] : entries) {
        for (int round = 0; round < 2; ++round) { // from topmost, then from not topmost
            f.log.clear();
            open();
            QCOMPARE(f.log.calls, expected);
            QCOMPARE(form.zhiding->text(), QStringLiteral("窗口置顶"));
            QCOMPARE(form.bTopmost, 0);
            QVERIFY(!f.window->onTop);
        }
        form.zhiding->trigger();
        QVERIFY(f.window->onTop);
    }
    // The button is there in every category.
    form.Combo1->setCurrentIndex(4);
    QVERIFY(!form.Command1[0]->isHidden());
    f.log.clear();
    form.Command1[0]->click();
    QCOMPARE(f.log.matching(QStringLiteral("WebBrowser4.Navigate")), QStringList{contact});
}

void Form1LookupTest::functionKeysRearmOnlyWhereTheCategoryHasThem()
{
    // Which key opens which site is the key table's own test; here: a key the category
    // has looks up and re-arms, F14 in the search engines has no site but re-arms, and a
    // key of no category leaves the box as it was.
    ShownForm f;
    const struct
    {
        int category;
        Qt::Key key;
        QString address;
        bool rearms;
    } cases[] = {
        {0, Qt::Key_F3, QStringLiteral("http://dict.youdao.com/search?q=C%2B%2B%20%E8%AF%8D"), true},
        {3, Qt::Key_F14, QString(), true},
        {2, Qt::Key_F1, QString(), false},
        {4, Qt::Key_F5, QString(), false},
        {1, Qt::Key_F10, QString(), false},
    };
    for (const auto& c : cases) {
        f.form->Combo1->setCurrentIndex(c.category);
        f.type(QStringLiteral("C++ 词"));
        f.form->Text1->setCursorPosition(2);
        QTest::keyClick(f.form->Text1, c.key);
        QCOMPARE(f.browser(1)->navigations,
                 c.address.isEmpty() ? QStringList() : QStringList{c.address});
        QCOMPARE(f.rearmed(), c.rearms);
        if (!c.rearms)
            QCOMPARE(f.form->Text1->cursorPosition(), 2);
        QCOMPARE(f.form->sEncodedQuery, std::string("C%2B%2B%20%E8%AF%8D"));
    }
}

void Form1LookupTest::shiftAndCtrlDoNotChangeAFunctionKey()
{
    ShownForm f;
    const QString expected = QStringLiteral("http://dict.youdao.com/search?q=word");
    for (const auto mods : {Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier}) {
        f.type(QStringLiteral("word"));
        QTest::keyClick(f.form->Text1, Qt::Key_F3, mods);
        QCOMPARE(f.browser(1)->navigations, QStringList{expected});
    }
}

void Form1LookupTest::enterPerCategory_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("address"); // empty: nothing opens and the Enter is not consumed
    QTest::newRow("word lookup") << 0 << QStringLiteral("词 a&b")
                                 << QStringLiteral("http://www.dreye.com.cn/ews/%E8%AF%8D%20a%26b--01--.html");
    QTest::newRow("online translation")
        << 1 << QStringLiteral("词") << QStringLiteral("http://fy.iciba.com/");
    QTest::newRow("web browsing") << 2 << QStringLiteral("www.example.com/a b")
                                  << QStringLiteral("www.example.com/a b");
    QTest::newRow("search engines")
        << 3 << QStringLiteral("词 a&b") << QStringLiteral("http://www.baidu.com/s?wd=词%20a%26b");
    QTest::newRow("literature search") << 4 << QStringLiteral("word") << QString();
}

void Form1LookupTest::enterPerCategory()
{
    QFETCH(int, category);
    QFETCH(QString, text);
    QFETCH(QString, address);
    ShownForm f;
    f.form->Combo1->setCurrentIndex(category);
    f.type(text);
    int enter = 13;
    f.form->Text1_KeyPress(enter);
    QCOMPARE(enter, address.isEmpty() ? 13 : 0);
    QCOMPARE(f.browser(1)->navigations, address.isEmpty() ? QStringList() : QStringList{address});
    QCOMPARE(f.rearmed(), !address.isEmpty());
    // Only the dispatchers set Silent; typed addresses and the search default do not.
    const bool dispatched = category == 0 || category == 1;
    QCOMPARE(f.log.matching(QStringLiteral("Silent")).size(), dispatched ? 1 : 0);

    // The real key does the same, and a consumed Enter leaves the text as it was.
    f.type(text);
    QTest::keyClick(f.form->Text1, Qt::Key_Return);
    QCOMPARE(f.browser(1)->navigations, address.isEmpty() ? QStringList() : QStringList{address});
    QCOMPARE(f.form->Text1->text(), text);
}

void Form1LookupTest::keysRefreshTheQueryAndArmTheFocusReturnOnce()
{
    ShownForm f;
    auto& form = *f.form;
    form.WebBrowser1->setFocus(); // uses up the start-up arming
    QTRY_VERIFY(form.Text1->hasFocus());
    form.WebBrowser1->setFocus();
    QTest::qWait(10);
    QVERIFY(form.WebBrowser1->hasFocus());

    form.Text1->setFocus();
    form.Text1->clear();
    QTest::keyClicks(form.Text1, QStringLiteral("ab"));
    // Each key sees the text before its own character.
    QCOMPARE(form.sEncodedQuery, std::string("a"));
    QCOMPARE(form.bRefocusQuery, 1);
    form.WebBrowser1->setFocus();
    QTRY_VERIFY(form.Text1->hasFocus());
    QCOMPARE(form.bRefocusQuery, 0);
    form.WebBrowser1->setFocus();
    QTest::qWait(10);
    QVERIFY(form.WebBrowser1->hasFocus());

    // Keys the window gets itself run the same procedures.
    form.Combo1->setCurrentIndex(0);
    form.Text1->setText(QStringLiteral("word"));
    f.log.clear();
    form.setFocus();
    QTest::keyClick(&form, Qt::Key_F2);
    QCOMPARE(f.browser(1)->navigations.last(),
             QStringLiteral("http://www.google.com.hk/dictionary?langpair=en%7Czh-CN&q=word"));
    QVERIFY(f.rearmed());
}

void Form1LookupTest::keysGoToTheControlThatHasTheFocus_data()
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

void Form1LookupTest::keysGoToTheControlThatHasTheFocus()
{
    QFETCH(QString, focused);
    QFETCH(int, key);
    QFETCH(bool, keyProcedureRan);
    QFETCH(int, site);
    ShownForm f;
    auto& form = *f.form;
    form.Text1->setText(QStringLiteral("word"));
    QWidget* control =
        focused == QLatin1String("Form1") ? &form : form.findChild<QWidget*>(focused);
    QVERIFY(control);
    form.bRefocusQuery = 0; // a page taking the focus keeps it
    control->setFocus(Qt::TabFocusReason);
    QWidget* target = QApplication::focusWidget();
    QVERIFY(target == control || control->isAncestorOf(target));
    form.bRefocusQuery = 0;
    f.log.clear();
    QTest::keyClick(target, Qt::Key(key));
    QCOMPARE(form.bRefocusQuery, keyProcedureRan ? 1 : 0);
    const QStringList opened = f.log.matching(QStringLiteral(".Navigate"));
    if (site == 0) {
        QCOMPARE(opened, QStringList());
    } else {
        const QString address = site == 3
                                    ? QStringLiteral("http://dict.youdao.com/search?q=word")
                                    : QStringLiteral("http://www.dreye.com.cn/ews/word--01--.html");
        QCOMPARE(opened, QStringList(QStringLiteral("WebBrowser1.Navigate ") + address));
    }
}

void Form1LookupTest::aLoadedPageUsesUpTheFocusReturn()
{
    ShownForm f;
    auto& form = *f.form;
    f.type(QStringLiteral("word"));
    QTest::keyClick(form.Text1, Qt::Key_Return);
    QCOMPARE(form.bRefocusQuery, 1);
    emit form.WebBrowser1->loadFinished(true); // the page arrives while the user waits
    QCOMPARE(form.bRefocusQuery, 0);
    QVERIFY(f.rearmed());
    // The user's first click into the page keeps the focus there.
    form.WebBrowser1->setFocus(Qt::MouseFocusReason);
    QTest::qWait(10);
    QVERIFY(form.WebBrowser1->hasFocus());
    // A page that loads after a click of the user's changes nothing either.
    emit form.WebBrowser1->loadFinished(true);
    QVERIFY(form.WebBrowser1->hasFocus());

    // A user who picks a category while the page loads keeps the focus in the selector.
    form.Text1->setFocus();
    QTest::keyClick(form.Text1, Qt::Key_Return);
    QCOMPARE(form.bRefocusQuery, 1);
    form.Combo1->setFocus(Qt::MouseFocusReason);
    emit form.WebBrowser1->loadFinished(true);
    QCOMPARE(form.bRefocusQuery, 0);
    QVERIFY(form.Combo1->hasFocus());

    // A site button keeps the focus only until its page is in; the query box keeps the
    // selection it had meanwhile.
    form.Text1->clear();
    form.Text1->setFocus();
    TypeText(form.Text1, QStringLiteral("apple"));
    form.Text1->setSelection(5, -2);
    QTest::mouseClick(form.Command1[3], Qt::LeftButton);
    QVERIFY(form.Command1[3]->hasFocus());
    QCOMPARE(form.Text1->selectedText(), QStringLiteral("le"));
    emit form.WebBrowser1->loadFinished(true);
    QVERIFY(form.Text1->hasFocus());
    QCOMPARE(form.Text1->selectedText(), QStringLiteral("le"));
    QCOMPARE(form.Text1->cursorPosition(), 3);
}

void Form1LookupTest::clickSelectsAllAndDoubleClickPutsTheCaretLast()
{
    ShownForm f;
    auto& box = *f.form->Text1;
    box.setText(QStringLiteral("hello world"));
    box.setCursorPosition(3);
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(20, 10));
    QCOMPARE(box.selectedText(), box.text());

    QTest::mouseDClick(&box, Qt::LeftButton, {}, QPoint(20, 10));
    QVERIFY(!box.hasSelectedText());
    QCOMPARE(box.cursorPosition(), int(box.text().size()));
    QVERIFY(box.hasFocus());
}

void Form1LookupTest::categorySwitchShowsItsPanelAndPrompt()
{
    FormFixture f;
    auto& form = *f.form;
    const QString prompts[] = {
        QStringLiteral("请输入您要查询的内容，默认使用 ‘译典通’"),
        QStringLiteral("请点击以下按钮选择在线翻译方式，默认使用 ‘词霸’"),
        QStringLiteral("请输入您要访问的网址"),
        QStringLiteral("请输入您要搜索的内容，默认使用 ‘百度’"),
        QStringLiteral("开发中，敬请期待"),
    };
    for (int category : {1, 2, 3, 4, 0, 3, 2}) {
        form.Text1->setText(QStringLiteral("typed"));
        f.log.clear();
        form.Combo1->setCurrentIndex(category);
        QCOMPARE(form.Text1->text(), prompts[category]);
        // Assistive technology names the box by the prompt, whatever the user types.
        form.Text1->setText(QStringLiteral("typed"));
        QCOMPARE(QAccessible::queryAccessibleInterface(form.Text1)->text(QAccessible::Name),
                 prompts[category]);
        QCOMPARE(form.Command0->isHidden(), category != 2);
        for (std::size_t i = 1; i < form.Command1.size(); ++i)
            QCOMPARE(form.Command1[i]->isHidden(), category != 0);
        for (std::size_t i = 1; i < form.Command2.size(); ++i)
            QCOMPARE(form.Command2[i]->isHidden(), category != 1);
        for (std::size_t i = 1; i < form.Command3.size(); ++i)
            QCOMPARE(form.Command3[i]->isHidden(), category != 3);
        QVERIFY(!form.Command1[0]->isHidden());
        QVERIFY(f.log.calls.isEmpty()); // no page opens
    }
    QCOMPARE(QAccessible::queryAccessibleInterface(&form)->role(), QAccessible::Window);
}

void Form1LookupTest::editedCategoryTextSelectsNothing()
{
    ShownForm f;
    auto& form = *f.form;
    form.Combo1->lineEdit()->setFocus();
    QTest::keyClicks(form.Combo1->lineEdit(), QStringLiteral("x"));
    QCOMPARE(form.ListIndex(), -1);
    form.Text1->setFocus();
    f.type(QStringLiteral("word"));
    QTest::keyClick(form.Text1, Qt::Key_F5);
    QTest::keyClick(form.Text1, Qt::Key_Return);
    QVERIFY(f.browser(1)->navigations.isEmpty());
    QCOMPARE(form.sEncodedQuery, std::string("word"));

    // Choosing an item again brings the category back.
    form.Combo1->setCurrentIndex(3);
    QCOMPARE(form.ListIndex(), 3);
    f.type(QStringLiteral("word"));
    QTest::keyClick(form.Text1, Qt::Key_F5);
    QCOMPARE(f.browser(1)->navigations.size(), 1);
}

void Form1LookupTest::siteButtonsLookUpTheWholeTextWithoutRearming()
{
    ShownForm f;
    auto& form = *f.form;
    form.Text1->clear();
    TypeText(form.Text1, QStringLiteral("词典")); // no key after the last character
    const std::int16_t refocus = form.bRefocusQuery;
    // Every button opens a page of its own; the e2e walk checks each address.
    const auto clickRow = [&](const auto& row, std::size_t last) {
        QStringList opened;
        for (std::size_t i = 1; i <= last; ++i) {
            f.browser(1)->navigations.clear();
            QTest::mouseClick(row[i], Qt::LeftButton);
            if (f.browser(1)->navigations.size() != 1)
                return QStringList{QStringLiteral("button %1 opened %2").arg(i).arg(
                    f.browser(1)->navigations.join(u' '))};
            opened << f.browser(1)->navigations.first();
        }
        return opened;
    };
    QStringList opened = clickRow(form.Command1, 12);
    QCOMPARE(opened.size(), 12);
    QCOMPARE(opened.removeDuplicates(), 0);
    QCOMPARE(opened[4], QStringLiteral("http://www.dreye.com.cn/ews/%E8%AF%8D%E5%85%B8--01--.html"));
    QVERIFY(!form.Text1->hasFocus());
    QCOMPARE(form.bRefocusQuery, refocus);

    form.Combo1->setCurrentIndex(1);
    opened = clickRow(form.Command2, 9);
    QCOMPARE(opened.size(), 9);
    QCOMPARE(opened.removeDuplicates(), 0);
    QCOMPARE(opened[1], QStringLiteral("http://fanyi.youdao.com/translate?i=well&keyfrom=dict.top"));

    // Right after a category switch the prompt itself is looked up.
    form.Combo1->setCurrentIndex(3);
    opened = clickRow(form.Command3, 13);
    QCOMPARE(opened.size(), 13);
    QCOMPARE(opened.removeDuplicates(), 0);
    QCOMPARE(opened[2], QStringLiteral("http://cn.bing.com/search?q=") + Wire(form.Text1->text()));
}

void Form1LookupTest::arrowButtonOpensTheTypedAddress()
{
    ShownForm f;
    auto& form = *f.form;
    form.Combo1->setCurrentIndex(2);
    QVERIFY(!form.Command0->isHidden());
    form.Text1->setText(QStringLiteral("example.org/路径?q=1"));
    f.log.clear();
    QTest::mouseClick(form.Command0, Qt::LeftButton);
    QCOMPARE(f.log.calls, QStringList{QStringLiteral("WebBrowser1.Navigate example.org/路径?q=1")});
}

void Form1LookupTest::inputMethodTextRefreshesTheQuery()
{
    ShownForm f;
    auto& form = *f.form;
    form.Text1->clear();
    QInputMethodEvent compose;
    compose.setCommitString(QStringLiteral("词典"));
    QApplication::sendEvent(form.Text1, &compose);
    QCOMPARE(form.Text1->text(), QStringLiteral("词典"));
    QTRY_COMPARE(form.sEncodedQuery, std::string("%E8%AF%8D%E5%85%B8"));

    // Enter and function keys that the input method lets through while it composes
    // start nothing; once the text is committed they look it up.
    QInputMethodEvent preedit(QStringLiteral("shu"), {});
    QApplication::sendEvent(form.Text1, &preedit);
    const auto before = f.browser(1)->navigations.size();
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_F3, Qt::Key_F1})
        QTest::keyClick(form.Text1, key);
    QCOMPARE(f.browser(1)->navigations.size(), before);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("书"));
    QApplication::sendEvent(form.Text1, &commit);
    QTest::keyClick(form.Text1, Qt::Key_F3);
    QCOMPARE(f.browser(1)->navigations.size(), before + 1);
    QCOMPARE(f.browser(1)->navigations.last(),
             QStringLiteral("http://dict.youdao.com/search?q=%E8%AF%8D%E5%85%B8%E4%B9%A6"));
}

void Form1LookupTest::unpairedSurrogatesAndControlCharactersGoOutAsWellFormedText()
{
    ShownForm f;
    auto& form = *f.form;
    const QString text = QString(QChar(0xD840)) + QStringLiteral("a") + QChar(0xDC00) + QChar(0) +
                         QStringLiteral("\x1b");
    form.Text1->setText(text);
    int enter = 13;
    form.Text1_KeyPress(enter);
    QCOMPARE(f.browser(1)->navigations.last(),
             QStringLiteral("http://www.dreye.com.cn/ews/%EF%BF%BDa%EF%BF%BD%00%1B--01--.html"));
    int f1 = 112;
    form.Text1_KeyDown(f1, 0); // the raw Baidu entry
    QCOMPARE(f.browser(1)->navigations.last(),
             QStringLiteral("http://dict.baidu.com/s?wd=\uFFFDa\uFFFD%00%1B"));
}

QTEST_MAIN(Form1LookupTest)
#include "Form1LookupTest.moc"
