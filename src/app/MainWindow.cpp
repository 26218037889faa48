#include "app/MainWindow.h"

#include "app/QtNegotiatedWindow.h"
#include "app/Tray.h"
#include "app/WindowManager.h"
#include "geometry/WindowSizeNegotiation.h"
#include "lookup/LookupBar.h"
#include "lookup/QueryBox.h"
#include "maker/MakerStrip.h"
#include "ui/DesignFont.h"
#include "ui/QtText.h"
#include "ui/TwipRect.h"

#include <QAction>
#include <QCursor>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>

namespace tovrin::app {

using browser::BrowserRole;
using ui::TwipRect;
using ui::Utf8;

namespace {

// The window's client area at design, in twips.
constexpr int kDesignClientWidth = 11910;
constexpr int kDesignClientHeight = 8085;

// What each of the window's own browsers is for.
constexpr BrowserRole kResultBrowser{.showsStartupProblem = true};
// 30 by 30 twips: nothing it shows can be seen.
constexpr BrowserRole kContactControl{.launchesMessenger = true, .outOfSight = true};

QIcon WindowIcon()
{
    return QIcon(QStringLiteral(":/app/tovrin.png"));
}

} // namespace

MainWindow::MainWindow(WindowConfig config, Platform platform, QWidget* parent)
    : QMainWindow(parent), m_config(std::move(config)), m_platform(std::move(platform)),
      m_windowManager(m_platform.windowManager(*this))
{
    setObjectName(QStringLiteral("Form1"));
    m_sizedWindow = std::make_unique<QtNegotiatedWindow>(
        *this, *m_windowManager, [this] { return state() == State::Normal; },
        [this] { m_size->watchFrame(); });
    m_size = std::make_unique<geometry::WindowSizeNegotiation>(*m_sizedWindow, SteadyClock());
    m_trayWatch.setInterval(500);
    connect(&m_trayWatch, &QTimer::timeout, this, &MainWindow::onTrayWatch);
    createControls();
    load();
}

MainWindow::~MainWindow()
{
    unload();
}

QWidget& MainWindow::queryBox() const
{
    return m_lookup->queryBox();
}

void MainWindow::createControls()
{
    setWindowTitle(Utf8(maker::WindowCaption(m_config.makerNumber)));
    setWindowIcon(WindowIcon());
    setFont(ui::DesignFont("楷体_GB2312", 10.5, true));
    setBackgroundRole(QPalette::Highlight);
    setAutoFillBackground(true);
    resize(geometry::TwipsToPixels(kDesignClientWidth),
           geometry::TwipsToPixels(kDesignClientHeight));
    auto* client = new QWidget(this);
    setCentralWidget(client);

    // Made first, so that the contact button and the tiny contact view lie on top.
    m_result = MakeBrowser(m_platform.browsers, client, kResultBrowser, "WebBrowser1", "查询结果");
    m_result->setGeometry(TwipRect(m_twips.webBrowser1));

    m_lookup = new lookup::LookupBar(m_config.hosts, client);
    connect(m_lookup, &lookup::LookupBar::open, m_result, &browser::BrowserControl::Navigate);
    connect(m_lookup, &lookup::LookupBar::dispatched, this, [this] { m_result->setSilent(true); });
    connect(m_result, &browser::BrowserControl::gotFocus, m_lookup,
            &lookup::LookupBar::resultViewFocused);
    connect(m_result, &browser::BrowserControl::loadFinished, this,
            [this] { m_lookup->resultPageLoaded(*m_result); });

    // The dictionary's entry 0: the maker's contact page, from its dispatcher.
    m_contactButton = new QPushButton(QStringLiteral("与我联系"), client);
    m_contactButton->setObjectName(QStringLiteral("Command1_0"));
    m_contactButton->setGeometry(TwipRect(m_twips.contact));
    m_contactButton->setFont(ui::DesignFont("宋体", 10.5));
    m_contactButton->setAutoDefault(true);
    connect(m_contactButton, &QPushButton::clicked, this, [this] {
        openContactPage();
        m_result->setSilent(true);
    });

    m_strip = new maker::MakerStrip(maker::MakerPages(m_config.makerHost), m_config.makerNumber,
                                    m_platform.browsers, client);
    connect(m_strip, &maker::MakerStrip::closed, this, &MainWindow::onStripClosed);

    m_contactView =
        MakeBrowser(m_platform.browsers, client, kContactControl, "WebBrowser4", "与我联系");
    m_contactView->setGeometry(TwipRect(5880, 5160, 30, 30));

    createTrayMenu();
    setTabOrder();
}

void MainWindow::createTrayMenu()
{
    m_trayMenu = new QMenu(QStringLiteral("trayMenu"), this);
    m_trayMenu->setObjectName(QStringLiteral("mnuTray"));
    const auto item = [this](const char* name, const char* caption, auto slot) {
        QAction* action = m_trayMenu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    m_showItem = item("mnuShow", "显示窗口", &MainWindow::onShowItem);
    m_topmostItem = item("zhiding", "取消置顶", [this] { setTopmost(!m_topmost); });
    item("connect", "与我联系", &MainWindow::openContactPage);
    m_trayMenu->addSeparator()->setObjectName(QStringLiteral("mnuSwp"));
    item("mnuExit", "退出", &QWidget::close);
    m_trayMenu->setDefaultAction(m_showItem);
}

void MainWindow::setTabOrder()
{
    QList<QWidget*> chain = m_lookup->leadingTabStops();
    chain << m_result << m_contactButton << m_strip->tabStops() << m_contactView
          << m_lookup->trailingTabStops();
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void MainWindow::load()
{
    // The word lookup is chosen and the focus return armed as the lookup bar is made.
    setTopmost(true);
    m_strip->loadAdvertisement();
    const maker::MakerPages pages(m_config.makerHost);
    m_result->setSilent(true); // the result view shows no dialogs of its own
    m_result->Navigate(Utf8(pages.instructionAddress()));
    if (m_platform.tray) {
        connect(m_platform.tray, &Tray::clicked, this, &MainWindow::onTrayClicked);
        connect(m_platform.tray, &Tray::menuRequested, this,
                [this] { m_trayMenu->popup(QCursor::pos()); });
        m_platform.tray->addIcon(
            WindowIcon(), QStringLiteral("欢迎使用Tovrin"),
            {QStringLiteral("欢迎使用Tovrin"), QStringLiteral("单击本图标将显示/隐藏主程序"), 100},
            m_trayMenu);
    }
}

void MainWindow::unload()
{
    if (std::exchange(m_unloaded, true))
        return;
    if (m_platform.tray) {
        m_platform.tray->removeIcon();
        disconnect(m_platform.tray, nullptr, this, nullptr);
    }
    emit unloaded();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    unload();
    QMainWindow::closeEvent(event);
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    // The window's own keys are those that reach it with no control holding the focus.
    // A key typed in a control belongs to that control, and keys a control left alone
    // (the query box's own, Enter in the category selector, keys in a page) come up here
    // too.
    if (QWidget* focused = focusWidget(); focused && focused != this) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    m_lookup->windowKey(*event);
    event->accept();
}

// The stay-on-top state and its menu caption change together.
void MainWindow::setTopmost(bool topmost)
{
    m_topmostItem->setText(topmost ? QStringLiteral("取消置顶") : QStringLiteral("窗口置顶"));
    m_windowManager->setStayOnTop(topmost);
    m_topmost = topmost;
}

// The tray item and the contact button: the window leaves the stay-on-top state and the
// contact view opens the maker's contact link.
void MainWindow::openContactPage()
{
    setTopmost(false);
    m_contactView->Navigate(Utf8(lookup::ContactAddress(m_config.hosts, m_config.makerNumber)));
}

} // namespace tovrin::app
