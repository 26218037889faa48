#pragma once

#include "app/WindowConfig.h"
#include "browser/BrowserControl.h"
#include "geometry/ResizeLayout.h"

#include <QMainWindow>
#include <QTimer>

#include <functional>
#include <memory>

class QAction;
class QMenu;
class QPushButton;

namespace tovrin::geometry {
class WindowSizeNegotiation;
}
namespace tovrin::lookup {
class LookupBar;
}
namespace tovrin::maker {
class MakerStrip;
}

namespace tovrin::app {

class QtNegotiatedWindow;
class Tray;
class WindowManager;

// The program's one window: the lookup bar over the result view, the maker's strip at the
// bottom, the contact button and the contact view, the icon in the notification area with
// its menu, and the frame that keeps its design sizes. Controls keep the design's names
// as object names ("Form1", "WebBrowser1", "Command1_0", "mnuShow", ...).
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // What the window is built on: the desktop's, or test doubles.
    struct Platform
    {
        browser::BrowserFactory browsers;
        std::function<std::unique_ptr<WindowManager>(QWidget& window)> windowManager;
        Tray* tray = nullptr; // outlives the window; nullptr on a desktop without one
    };

    // Builds the controls in their design state and loads the window: the advertisement
    // and the instruction page are asked for, and the icon goes into the notification area.
    MainWindow(WindowConfig config, Platform platform, QWidget* parent = nullptr);
    ~MainWindow() override;

    // What start-up waits for: the box the user types into, and the first page.
    QWidget& queryBox() const;
    browser::BrowserControl& resultView() const { return *m_result; }

    // The window as the notification area and the layout see it.
    enum class State { Normal, Minimized, Maximized };
    State state() const;

    void setVisible(bool visible) override;

    // A launch of the program asked for the window: it comes forward, shown from the
    // notification area if it was hidden, raised and active, with the query armed as
    // after the icon. The desktop's token for the launch lets it past focus-stealing
    // prevention: the X11 startup id or the Wayland activation token.
    void comeForward(const QByteArray& startupId, const QByteArray& activationToken);
    // Looks words up as the user would type them (category 1 to 5, or 0: as it is).
    void lookUp(const QString& words, int category);

public slots:
    // Ends the window: the icon leaves the notification area. The program ends with it.
    void unload();

signals:
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
    void createTrayMenu();
    void setTabOrder();
    void load();

    // The frame: window state, size and the notification area (MainWindowFrame.cpp).
    void setState(State state);
    void showFromTray();
    void hideToTray();
    void onTrayClicked();
    void onShowItem();
    void onTrayWatch();
    bool canHideToTray() const;
    geometry::Size outerSize() const;
    void setOuterSize(geometry::Size outer);
    void layOut();
    void applyLayout(const geometry::Controls& controls);
    void onStripClosed();

    void setTopmost(bool topmost);
    void openContactPage();

    const WindowConfig m_config;
    Platform m_platform;
    std::unique_ptr<WindowManager> m_windowManager;

    lookup::LookupBar* m_lookup = nullptr;
    browser::BrowserControl* m_result = nullptr;
    QPushButton* m_contactButton = nullptr;
    maker::MakerStrip* m_strip = nullptr;
    browser::BrowserControl* m_contactView = nullptr;
    QMenu* m_trayMenu = nullptr;
    QAction* m_showItem = nullptr;
    QAction* m_topmostItem = nullptr;

    bool m_topmost = false;
    // Shown last through the icon or the menu: minimizing leaves the window on the
    // taskbar instead of sending it to the notification area.
    bool m_shownFromTray = false;
    bool m_shownOnce = false;
    bool m_unloaded = false;
    bool m_inLayout = false;
    // The program has shown the window (first showing, or back from the notification
    // area): its next activation is one of the program's own and selects the query.
    // Activations the user makes, coming back from another program, leave the focus where
    // it was; a showing that no activation followed is forgotten when the user switches
    // away.
    bool m_activationPending = false;
    // The twip geometry of the controls that follow the window's size; the widgets
    // themselves stand on whole pixels.
    geometry::Controls m_twips = geometry::DesignControls();
    // Outer sizes kept exact against a frame that the window manager draws late.
    std::unique_ptr<QtNegotiatedWindow> m_sizedWindow;
    std::unique_ptr<geometry::WindowSizeNegotiation> m_size;
    QTimer m_trayWatch; // while hidden: is the notification area still there?
};

} // namespace tovrin::app
