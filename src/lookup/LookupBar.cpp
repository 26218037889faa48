#include "lookup/LookupBar.h"

#include "lookup/Categories.h"
#include "lookup/ColourButton.h"
#include "lookup/KeyCodes.h"
#include "lookup/KeyTable.h"
#include "lookup/QueryBox.h"
#include "lookup/Utf8EncodeUri.h"
#include "ui/DesignFont.h"
#include "ui/QtText.h"
#include "ui/TwipRect.h"

#include <QComboBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <limits>
#include <utility>

namespace tovrin::lookup {

using ui::DesignFont;
using ui::TwipRect;
using ui::Units;
using ui::Utf8;

LookupBar::LookupBar(HostTable hosts, QWidget* parent) : QWidget(parent), m_hosts(std::move(hosts))
{
    setObjectName(QStringLiteral("lookupBar"));
    setGeometry(TwipRect(0, 0, 11775, 730));

    m_query = new QueryBox(this);
    m_query->setObjectName(QStringLiteral("Text1"));
    m_query->setGeometry(TwipRect(0, 0, 7485, 360));
    m_query->setFont(DesignFont("宋体", 12));
    m_query->setText(QStringLiteral("请输入要查询的内容"));
    m_query->setCursor(Qt::ArrowCursor);
    m_query->setMaxLength(std::numeric_limits<int>::max()); // no limit, as the design has it
    m_query->installEventFilter(this);
    connect(m_query, &QueryBox::clicked, this, &LookupBar::selectWholeQuery);
    connect(m_query, &QueryBox::doubleClicked, this, [this] {
        m_query->setCursorPosition(static_cast<int>(m_query->text().size()));
        m_query->setFocus(Qt::MouseFocusReason);
    });

    m_arrow = new QPushButton(QStringLiteral("→"), this);
    m_arrow->setObjectName(QStringLiteral("Command0"));
    m_arrow->setGeometry(TwipRect(7560, 0, 375, 375));
    m_arrow->setFont(DesignFont("华文楷体", 10.5, true));
    m_arrow->setAutoDefault(true); // Enter clicks the focused button, as Space does
    m_arrow->hide();
    connect(m_arrow, &QPushButton::clicked, this, &LookupBar::openTyped);

    m_category = new QComboBox(this);
    m_category->setObjectName(QStringLiteral("Combo1"));
    m_category->setGeometry(TwipRect(8040, 0, 3735, 360));
    m_category->setFont(DesignFont("宋体", 12));
    m_category->setEditable(true);
    // Assistive technology names an editable selector by its text, the chosen category;
    // the text field inside says what it is for.
    m_category->lineEdit()->setAccessibleName(QStringLiteral("查询类别"));
    m_category->setInsertPolicy(QComboBox::NoInsert);
    for (const auto& category : kCategories)
        m_category->addItem(Utf8(category.item), 0);
    m_category->setCurrentIndex(-1);
    m_category->setEditText(Utf8(kCategories[0].item));
    connect(m_category, &QComboBox::currentIndexChanged, this, [this] {
        m_categoryTextEdited = false;
        chooseCategory();
    });
    connect(m_category, &QComboBox::activated, this, &LookupBar::pickCategory);
    connect(m_category->lineEdit(), &QLineEdit::textEdited, this,
            [this] { m_categoryTextEdited = true; });

    createSiteButtons();
    // The window opens on the word lookup, as if chosen: its row and its prompt.
    m_category->setCurrentIndex(0);
}

void LookupBar::createSiteButtons()
{
    const auto makeRow = [this](auto& row, const auto& table, const char* name, SiteTable sites,
                                bool readsQuery) {
        for (const SiteButton& site : table) {
            auto* button = new ColourButton(
                Utf8(site.caption), QColor(site.colour.r, site.colour.g, site.colour.b), this);
            button->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(site.index));
            button->setGeometry(TwipRect(static_cast<float>(site.left), kButtonRowTop,
                                         static_cast<float>(site.width), kButtonRowHeight));
            button->setFont(DesignFont("宋体", 9));
            button->setAutoDefault(true);
            const std::int16_t number = site.index;
            connect(button, &QPushButton::clicked, this, [this, sites, number, readsQuery] {
                if (readsQuery)
                    refreshEncodedQuery();
                dispatch(sites, number);
            });
            // Within bounds: each row matches its array's size, checked at compile time.
            row[static_cast<std::size_t>(site.index)] = button;
        }
    };
    // The translation sites use no query: their buttons leave the stored one as it is.
    makeRow(m_dictionaryRow, kDictionaryButtons, "Command1", SiteTable::Dictionary, true);
    makeRow(m_translationRow, kTranslationButtons, "Command2", SiteTable::Translation, false);
    makeRow(m_searchRow, kSearchButtons, "Command3", SiteTable::Search, true);
}

QList<QWidget*> LookupBar::leadingTabStops() const
{
    QList<QWidget*> stops{m_query};
    for (std::size_t i = 1; i < m_dictionaryRow.size(); ++i)
        stops.append(m_dictionaryRow[i]);
    return stops;
}

QList<QWidget*> LookupBar::trailingTabStops() const
{
    QList<QWidget*> stops{m_category, m_arrow};
    for (std::size_t i = 1; i < m_translationRow.size(); ++i)
        stops.append(m_translationRow[i]);
    for (const auto index : kSearchButtonTabOrder)
        stops.append(m_searchRow[static_cast<std::size_t>(index)]);
    return stops;
}

void LookupBar::pickCategory(int index)
{
    // Choosing the item that was already current after editing the text brings the
    // category back.
    if (m_categoryTextEdited && index == m_category->currentIndex()) {
        m_categoryTextEdited = false;
        m_category->setEditText(m_category->itemText(index));
        chooseCategory();
    }
    m_category->setCurrentIndex(index);
}

void LookupBar::lookUp(const QString& words, int category)
{
    if (category >= 1 && category <= static_cast<int>(kCategories.size()))
        pickCategory(category - 1);
    if (words.isEmpty())
        return;
    m_query->setText(words);
    int enter = kCharEnter;
    keyPress(enter);
    rearm(); // also where Enter opens nothing (literature search)
}

int LookupBar::listIndex() const
{
    // While its text is edited, the selector has no category.
    return m_categoryTextEdited ? -1 : m_category->currentIndex();
}

void LookupBar::chooseCategory()
{
    const CategoryInfo* category = FindCategory(listIndex());
    if (!category)
        return;
    const Panel panel = category->panel;
    m_arrow->setVisible(panel == Panel::Arrow);
    const auto showRow = [](const auto& row, bool shown) {
        for (std::size_t i = 1; i < row.size(); ++i)
            row[i]->setVisible(shown);
    };
    showRow(m_dictionaryRow, panel == Panel::Dictionary);
    showRow(m_translationRow, panel == Panel::Translation);
    showRow(m_searchRow, panel == Panel::Search);
    m_query->setText(Utf8(category->prompt));
    m_query->setAccessibleName(m_query->text()); // the prompt names the box, as a label would
}

void LookupBar::refreshEncodedQuery()
{
    m_encodedQuery = UTF8EncodeURI(Units(m_query->text()));
}

void LookupBar::selectWholeQuery()
{
    m_query->setSelection(0, static_cast<int>(m_query->text().size()));
}

void LookupBar::rearm()
{
    selectWholeQuery();
    m_query->setFocus(Qt::OtherFocusReason);
}

bool LookupBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_query)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::InputMethod) {
        // Text composed with an input method arrives without key presses; the stored
        // query is refreshed once the box has taken the committed text.
        const auto& ime = static_cast<const QInputMethodEvent&>(*event);
        m_composing = !ime.preeditString().isEmpty();
        if (!ime.commitString().isEmpty())
            QTimer::singleShot(0, this, [this] { keyDown(0); });
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto& key = static_cast<const QKeyEvent&>(*event);
    // Tab moves the focus on before a control sees it as a key; keys an input method lets
    // through while it composes (Enter, function keys) are the box's own.
    const bool tab = (key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab) &&
                     !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (tab || m_composing)
        return false;
    keyDown(VirtualKeyCode(key));
    int charCode = CharacterCode(key);
    if (charCode < 0)
        return false;
    keyPress(charCode);
    return charCode == 0; // a consumed key never reaches the box
}

void LookupBar::windowKey(const QKeyEvent& event)
{
    keyDown(VirtualKeyCode(event));
    if (int charCode = CharacterCode(event); charCode >= 0)
        keyPress(charCode);
}

void LookupBar::keyDown(int keyCode)
{
    refreshEncodedQuery();
    m_focusReturnArmed = true;
    if (const auto lookup = FunctionKeyLookup(listIndex(), keyCode)) {
        dispatch(lookup->table, lookup->site);
        rearm();
    }
}

void LookupBar::keyPress(int& charCode)
{
    refreshEncodedQuery();
    m_focusReturnArmed = true;
    if (charCode != kCharEnter)
        return;
    const EnterRule rule = EnterKeyRule(listIndex());
    switch (rule.action) {
    case EnterAction::Nothing:
        return;
    case EnterAction::Lookup:
        dispatch(rule.lookup.table, rule.lookup.site);
        break;
    case EnterAction::NavigateTyped:
        openTyped();
        break;
    case EnterAction::BaiduSearch: // the dispatcher's address, without the dispatcher
        openSite(rule.lookup.table, rule.lookup.site);
        break;
    }
    charCode = 0;
    rearm();
}

void LookupBar::dispatch(SiteTable table, std::int16_t site)
{
    openSite(table, site);
    emit dispatched();
}

void LookupBar::openSite(SiteTable table, std::int16_t site)
{
    lookupStarts();
    if (const SiteEntry* entry = FindSite(table, site)) {
        const QString raw = entry->query == QueryPart::Raw ? m_query->text() : QString();
        emit open(Utf8(BuildAddress(*entry, m_hosts, m_encodedQuery, Units(raw))));
    }
}

void LookupBar::openTyped()
{
    lookupStarts();
    emit open(m_query->text());
}

void LookupBar::lookupStarts()
{
    m_focusAtLookup = window()->focusWidget();
}

void LookupBar::resultViewFocused()
{
    if (std::exchange(m_focusReturnArmed, false))
        m_query->setFocus(Qt::OtherFocusReason);
}

void LookupBar::resultPageLoaded(const QWidget& resultView)
{
    // A loaded page takes the focus by design, and the focus return sends it back. Pages
    // here never take it, so that they do not steal it while the user types: the page
    // that has loaded uses the return up all the same, and the user's own first click
    // into the page keeps the focus there. The focus comes back from where the lookup
    // started (the query box, the site button clicked); a user who has meanwhile moved
    // on to another control keeps the focus where they put it.
    if (!m_focusReturnArmed)
        return;
    const QWidget* focused = window()->focusWidget();
    if (focused && focused != m_query && focused != m_focusAtLookup &&
        !resultView.isAncestorOf(focused)) {
        m_focusReturnArmed = false;
        return;
    }
    resultViewFocused();
}

} // namespace tovrin::lookup
