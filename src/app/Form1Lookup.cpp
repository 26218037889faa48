// The window's lookup procedures: the query box's keys and mouse, the category selector,
// the site buttons and the three dispatchers.

#include "app/Form1.h"

#include "app/KeyCodes.h"
#include "app/QtText.h"
#include "app/QueryBox.h"
#include "lookup/Categories.h"
#include "lookup/KeyTable.h"
#include "lookup/Utf8EncodeUri.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>

namespace tovrin::app {

using namespace tovrin::lookup;
using namespace tovrin::platform;

int Form1::ListIndex() const
{
    return m_comboTextEdited ? -1 : Combo1->currentIndex();
}

void Form1::onComboTextEdited()
{
    m_comboTextEdited = true;
}

std::string Form1::UTF8EncodeURI(const QString& szInput) const
{
    return lookup::UTF8EncodeURI(Units(szInput));
}

void Form1::refreshEncodedQuery()
{
    sEncodedQuery = UTF8EncodeURI(Text1->text());
}

void Form1::selectWholeQuery()
{
    Text1->setSelection(0, static_cast<int>(Text1->text().size()));
}

void Form1::rearmQueryBox()
{
    selectWholeQuery();
    Text1->setFocus(Qt::OtherFocusReason);
}

void Form1::lookupStarts()
{
    m_focusAtLookup = focusWidget();
}

void Form1::runSiteLookup(SiteTable table, std::int16_t n)
{
    lookupStarts();
    if (table == SiteTable::Dictionary && n == kContactEntry) {
        openContactPage();
    } else if (const SiteEntry* entry = FindSite(table, n)) {
        const QString raw = entry->query == QueryPart::Raw ? Text1->text() : QString();
        WebBrowser1->Navigate(
            Utf8(BuildAddress(*entry, m_config.hosts, sEncodedQuery, Units(raw))));
    }
    WebBrowser1->setSilent(true);
}

void Form1::LookupDictionary(std::int16_t n)
{
    runSiteLookup(SiteTable::Dictionary, n);
}
void Form1::LookupTranslation(std::int16_t n)
{
    runSiteLookup(SiteTable::Translation, n);
}
void Form1::LookupSearch(std::int16_t n)
{
    runSiteLookup(SiteTable::Search, n);
}

void Form1::navigateTyped()
{
    lookupStarts();
    WebBrowser1->Navigate(Text1->text());
}

void Form1::Text1_KeyDown(int& KeyCode, int)
{
    refreshEncodedQuery();
    bRefocusQuery = 1;
    const auto lookup = FunctionKeyLookup(ListIndex(), KeyCode);
    if (!lookup)
        return;
    runSiteLookup(lookup->table, lookup->site);
    rearmQueryBox();
}

void Form1::Text1_KeyPress(int& KeyAscii)
{
    refreshEncodedQuery();
    bRefocusQuery = 1;
    if (KeyAscii != kCharEnter)
        return;
    const EnterRule rule = EnterKeyRule(ListIndex());
    switch (rule.action) {
    case EnterAction::Nothing:
        return;
    case EnterAction::Lookup:
        KeyAscii = 0;
        runSiteLookup(rule.lookup.table, rule.lookup.site);
        break;
    case EnterAction::NavigateTyped:
        KeyAscii = 0;
        navigateTyped();
        break;
    case EnterAction::BaiduSearch: {
        KeyAscii = 0;
        lookupStarts();
        if (const SiteEntry* baidu = FindSite(rule.lookup.table, rule.lookup.site))
            WebBrowser1->Navigate(
                Utf8(BuildAddress(*baidu, m_config.hosts, sEncodedQuery, Units(Text1->text()))));
        break;
    }
    }
    rearmQueryBox();
}

// The window's own pair does what the query box's pair does.
void Form1::Form_KeyDown(int& KeyCode, int Shift)
{
    Text1_KeyDown(KeyCode, Shift);
}
void Form1::Form_KeyPress(int& KeyAscii)
{
    Text1_KeyPress(KeyAscii);
}

void Form1::keyPressEvent(QKeyEvent* event)
{
    // The window's own procedures take only keys that reach it with no control holding
    // the focus. A key typed in a control belongs to that control, and keys a control
    // left alone (the query box's own, Enter in the category selector, keys in a page)
    // come up here too.
    if (QWidget* focused = focusWidget(); focused && focused != this) {
        QWidget::keyPressEvent(event);
        return;
    }
    int keyCode = VirtualKeyCode(*event);
    Form_KeyDown(keyCode, ShiftState(*event));
    int charCode = CharacterCode(*event);
    if (charCode >= 0)
        Form_KeyPress(charCode);
    event->accept();
}

void Form1::Text1_Click()
{
    selectWholeQuery();
}

void Form1::Text1_DblClick()
{
    Text1->setCursorPosition(static_cast<int>(Text1->text().size()));
    Text1->setFocus(Qt::MouseFocusReason);
}

void Form1::WebBrowser1_GotFocus()
{
    if (bRefocusQuery == 1) {
        bRefocusQuery = 0;
        Text1->setFocus(Qt::OtherFocusReason);
    }
}

void Form1::onResultPageLoaded()
{
    // A loaded page takes the focus by design, and the focus return sends it back. Pages
    // here never take it, so that they do not steal it while the user types: the page
    // that has loaded uses the return up all the same, and the user's own first click
    // into the page keeps the focus there. The focus comes back from where the lookup
    // started (the query box, the site button clicked); a user who has meanwhile moved
    // on to another control keeps the focus where they put it.
    if (bRefocusQuery != 1)
        return;
    const QWidget* focused = focusWidget();
    if (focused && focused != Text1 && focused != m_focusAtLookup &&
        !WebBrowser1->isAncestorOf(focused)) {
        bRefocusQuery = 0;
        return;
    }
    WebBrowser1_GotFocus();
}

void Form1::Combo1_Click()
{
    const CategoryInfo* category = FindCategory(ListIndex());
    if (!category)
        return;
    const Panel panel = category->panel;
    Command0->setVisible(panel == Panel::Arrow);
    for (std::size_t i = 1; i < Command1.size(); ++i)
        Command1[i]->setVisible(panel == Panel::Dictionary);
    for (std::size_t i = 1; i < Command2.size(); ++i)
        Command2[i]->setVisible(panel == Panel::Translation);
    for (std::size_t i = 1; i < Command3.size(); ++i)
        Command3[i]->setVisible(panel == Panel::Search);
    Text1->setText(Utf8(category->prompt));
    Text1->setAccessibleName(Text1->text());
}

void Form1::Command0_Click()
{
    navigateTyped();
}

void Form1::Command1_Click(std::int16_t Index)
{
    refreshEncodedQuery();
    LookupDictionary(Index);
}

void Form1::Command2_Click(std::int16_t Index)
{
    LookupTranslation(Index);
}

void Form1::Command3_Click(std::int16_t Index)
{
    refreshEncodedQuery();
    LookupSearch(Index);
}

} // namespace tovrin::app
