#pragma once

#include "app/Form1Config.h"
#include "app/ResizeLayout.h"
#include "lookup/SiteButtons.h"
#include "lookup/SiteCatalogue.h"
#include "maker/MakerPages.h"
#include "browser/BrowserControl.h"
#include "platform/WinApi.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QAction;
class QComboBox;
class QMenu;
class QPushButton;

namespace tovrin::app {

class NoticeBox;
class QueryBox;
class QueryBoxKeys;
class QtNegotiatedWindow;
class WindowSizeNegotiation;

// The program's one window. Its event procedures are named after the control and the
// event; the logic they share lives in the lookup and maker code.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    // What the window is built on: the real desktop's, or test doubles.
    struct Platform
    {
        browser::BrowserFactory browsers;
        // The window as the window-manager calls see it.
        std::function<std::unique_ptr<platform::WindowBackend>(QWidget& window)> windows;
        // The notification area, outliving the window; nullptr when the desktop has none.
        platform::TrayBackend* tray = nullptr;
    };

    // The desktop's own window manager and notification area, and these browsers.
    static Platform DesktopPlatform(browser::BrowserFactory browsers,
                                    platform::TrayBackend* tray);

    // Builds the controls in their design state and runs Form_Load.
    Form1(Form1Config config, Platform platform, QWidget* parent = nullptr);
    ~Form1() override;

    platform::HWND hWnd() const { return m_hWnd; }

    // Form-level state.
    std::int16_t bNoticeShown = 0;
    std::int16_t bAdShown = 0;
    std::int16_t bTopmost = 0;
    std::int16_t bRefocusQuery = 0;
    std::string sEncodedQuery;
    platform::NOTIFYICONDATAA nidTray{};

    // Controls. The site buttons are indexed by site number, sized by their rows;
    // Command1[0] is the contact button, and the other arrays start at 1.
    QueryBox* Text1 = nullptr;
    QPushButton* Command0 = nullptr;
    QComboBox* Combo1 = nullptr;
    std::array<QPushButton*, lookup::kDictionaryButtons.size() + 1> Command1{};
    std::array<QPushButton*, lookup::kTranslationButtons.size() + 1> Command2{};
    std::array<QPushButton*, lookup::kSearchButtons.size() + 1> Command3{};
    browser::BrowserControl* WebBrowser1 = nullptr;
    browser::BrowserControl* WebBrowser2 = nullptr;
    browser::BrowserControl* WebBrowser3 = nullptr;
    browser::BrowserControl* WebBrowser4 = nullptr;
    QPushButton* Cd_update = nullptr;
    QPushButton* Cd_AD = nullptr;
    NoticeBox* Text2 = nullptr;
    QMenu* mnuTray = nullptr;
    QAction* mnuShow = nullptr;
    QAction* zhiding = nullptr;
    QAction* connect_ = nullptr; // "connect" is taken by QObject
    QAction* mnuSwp = nullptr;
    QAction* mnuExit = nullptr;

    // The selected category: Combo1's list index, -1 while its text has been edited.
    int ListIndex() const;

    std::string UTF8EncodeURI(const QString& szInput) const;
    void LookupDictionary(std::int16_t n);
    void LookupTranslation(std::int16_t n);
    void LookupSearch(std::int16_t n);

    // Event procedures.
    void Form_Load();
    void Form_Activate();
    void Form_KeyDown(int& KeyCode, int Shift);
    void Form_KeyPress(int& KeyAscii);
    void Text1_KeyDown(int& KeyCode, int Shift);
    void Text1_KeyPress(int& KeyAscii);
    void Text1_Click();
    void Text1_DblClick();
    void WebBrowser1_GotFocus();
    void Combo1_Click();
    void Command0_Click();
    void Command1_Click(std::int16_t Index);
    void Command2_Click(std::int16_t Index);
    void Command3_Click(std::int16_t Index);
    void Form_Resize();
    void Form_Unload();
    void mnuShow_Click();
    void mnuExit_Click();
    void zhiding_Click();
    void connect_Click();
    void Cd_update_Click();
    void Cd_AD_Click();

    // The window as the window procedure and the layout see it: state 0 normal,
    // 1 minimized, 2 maximized; size in twips, frame included.
    int WindowState() const;
    void SetWindowState(int state);
    float OuterWidth() const;
    float OuterHeight() const;
    void SetOuterSize(float W, float H);
    // Shows the tray menu with its left edge at the mouse.
    void PopupTrayMenu();
    // Shows the window again in the normal state, as the icon and the menu do.
    void ShowAgain();

    // Before the first showing, asks the window manager for the frame it will draw.
    void setVisible(bool visible) override;

signals:
    // The window has been unloaded; the program ends with it.
    void unloaded();

protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void createSiteButtons();
    void createMenu();
    void setTabOrder();
    browser::BrowserControl* makeBrowser(int number, const browser::BrowserRole& role,
                                         const char* accessibleName, QRect twips);
    void refreshEncodedQuery();
    void selectWholeQuery();
    void rearmQueryBox();
    void navigateTyped();
    void runSiteLookup(lookup::SiteTable table, std::int16_t n);
    void setTopmost(bool topmost);
    void openContactPage();
    void onComboTextEdited();
    void lookupStarts();
    void onResultPageLoaded();
    void setUpTrayAndHook();
    void applyLayout(const layout::Controls& controls);
    bool canHideToTray() const;
    void onTrayWatch();

    Form1Config m_config;
    maker::MakerPages m_makerPages;
    browser::BrowserFactory m_browsers;
    std::unique_ptr<platform::WindowBackend> m_windowBackend;
    platform::HWND m_hWnd = 0;
    QueryBoxKeys* m_queryKeys = nullptr;
    bool m_comboTextEdited = false;
    // The twip geometry of the controls that follow the window's size; the widgets
    // themselves stand on whole pixels.
    layout::Controls m_twips = layout::DesignControls();
    bool m_unloaded = false;
    bool m_shownOnce = false;
    // The program has shown the window (first showing, or back from the notification
    // area): its next activation is one of the program's own and runs Form_Activate.
    // Activations the user makes, coming back from another program, leave the focus where
    // it was; a showing that no activation followed is forgotten when the user switches
    // away.
    bool m_activationPending = false;
    // Where the focus was when the last lookup started: the control the lookup came from.
    QPointer<QWidget> m_focusAtLookup;
    bool m_inResize = false;
    // The window as its size negotiation with the window manager sees it, and the
    // negotiation: outer sizes are kept exact against a frame that arrives late.
    std::unique_ptr<QtNegotiatedWindow> m_sizedWindow;
    std::unique_ptr<WindowSizeNegotiation> m_size;
    QTimer m_trayWatch; // while hidden: is the notification area still there?
};

} // namespace tovrin::app
