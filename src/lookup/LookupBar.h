#pragma once

#include "lookup/ServiceHosts.h"
#include "lookup/SiteButtons.h"
#include "lookup/SiteCatalogue.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <string>

class QComboBox;
class QKeyEvent;
class QPushButton;

namespace tovrin::lookup {

class QueryBox;

// The query line and the site buttons under it: the query box, the category selector, the
// arrow button and the three rows of site buttons, with the query box's keys and mouse.
// It turns what the user does into addresses; the window shows them. The design's names
// stay as object names ("Text1", "Combo1", "Command0", "Command1_3", ...).
class LookupBar : public QWidget
{
    Q_OBJECT

public:
    LookupBar(lookup::HostTable hosts, QWidget* parent);

    QueryBox& queryBox() const { return *m_query; }
    // The window's tab chain runs through the bar twice: the query box and the word-lookup
    // row first, the selector, the arrow and the other rows last.
    QList<QWidget*> leadingTabStops() const;
    QList<QWidget*> trailingTabStops() const;

    // A key the window received itself, with no control holding the focus: it does what
    // it does in the query box.
    void windowKey(const QKeyEvent& event);

    // The focus return: the result view has taken the focus, or has loaded a page.
    void resultViewFocused();
    void resultPageLoaded(const QWidget& resultView);

    // Selects the whole query and gives the box the focus, as after a lookup.
    void rearm();

    // Looks words up as the user would: category (1 to 5, 0 for the one chosen) picked in
    // the selector, the words typed into the box and Enter pressed. The box then holds
    // them, wholly selected.
    void lookUp(const QString& words, int category);

signals:
    // Shows an address in the result view.
    void open(const QString& address);
    // A dispatcher of the site catalogue has run: the result view is made silent.
    void dispatched();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createSiteButtons();
    void chooseCategory();
    void pickCategory(int index);
    int listIndex() const;
    void refreshEncodedQuery();
    void selectWholeQuery();
    // The key-down and key-press procedures; keyPress sets the character to 0 when it
    // consumes the key.
    void keyDown(int keyCode);
    void keyPress(int& charCode);
    void dispatch(SiteTable table, std::int16_t site);
    void openSite(SiteTable table, std::int16_t site);
    void openTyped();
    void lookupStarts();

    const HostTable m_hosts;
    QueryBox* m_query = nullptr;
    QPushButton* m_arrow = nullptr;
    QComboBox* m_category = nullptr;
    // Indexed by site number; index 0 is left empty.
    std::array<QPushButton*, kDictionaryButtons.size() + 1> m_dictionaryRow{};
    std::array<QPushButton*, kTranslationButtons.size() + 1> m_translationRow{};
    std::array<QPushButton*, kSearchButtons.size() + 1> m_searchRow{};
    bool m_categoryTextEdited = false;
    bool m_composing = false;
    std::string m_encodedQuery;
    // After a key in the query box, the result view's next focus goes back to the box once.
    bool m_focusReturnArmed = true;
    // Where the focus was when the last lookup started: the control the lookup came from.
    QPointer<QWidget> m_focusAtLookup;
};

} // namespace tovrin::lookup
