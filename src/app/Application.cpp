#include "app/Application.h"

#include "app/FirstFrame.h"
#include "app/Form1.h"
#include "app/QueryBox.h"
#include "app/StartupTiming.h"
#include "app/Twips.h"
#include "maker/MakerPages.h"
#include "platform/BrowserMessages.h"
#include "platform/MessageBrowser.h"
#include "platform/QtTrayBackend.h"
#include "platform/SandboxCheck.h"
#include "platform/SessionPlatform.h"
#include "platform/TerminationSignals.h"
#include "platform/WebEngineBrowser.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QLoggingCategory>
#include <QMenu>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace tovrin::app {

void InstallFontSubstitutions()
{
    const QStringList song{QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC"),
                           QStringLiteral("WenQuanYi Zen Hei")};
    const QStringList kai{QStringLiteral("AR PL UKai CN"), QStringLiteral("Noto Serif CJK SC"),
                          QStringLiteral("Noto Sans CJK SC")};
    QFont::insertSubstitutions(QStringLiteral("宋体"), song);
    QFont::insertSubstitutions(QStringLiteral("楷体_GB2312"), kai);
    QFont::insertSubstitutions(QStringLiteral("华文楷体"), kai);
}

namespace {

// The longest the greeting balloon waits for the first page.
constexpr int kBalloonWaitMs = 1500;
// The longest the window's first frame waits for the window manager to activate it.
// Window managers usually activate a new window a few tens of milliseconds after it is
// shown.
constexpr int kFirstFrameWaitMs = 80;
// The longest the browser engine waits for the window to be ready to type in.
constexpr int kEngineWaitMs = 500;

// The window starts centred on the screen at its design outer size.
QPoint CentredPosition(const QWidget& window)
{
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return window.pos();
    const QSize outer(TwipsToPixels(layout::kMinimumWidth),
                      TwipsToPixels(layout::kMinimumHeightStripOpen));
    const QRect area = screen->availableGeometry();
    return area.topLeft() +
           QPoint((area.width() - outer.width()) / 2, (area.height() - outer.height()) / 2);
}

// Without its sandbox the engine would end the program; the window works on and says
// why it shows no pages. Looked at before any thread is started, as it forks.
platform::SandboxProblem CheckSandbox(int argc, char* argv[])
{
    const char* flags = std::getenv("QTWEBENGINE_CHROMIUM_FLAGS");
    std::string given = flags ? flags : "";
    for (int i = 1; i < argc; ++i)
        given.append(" ").append(argv[i]);
    if (platform::SandboxTurnedOff(std::getenv("QTWEBENGINE_DISABLE_SANDBOX"), given))
        return platform::SandboxProblem::None;
    return platform::ProbeSandbox();
}

} // namespace

int RunApplication(int argc, char* argv[], const BuildSettings& settings)
{
    StartupTiming::begin();
    const platform::SandboxProblem sandbox = CheckSandbox(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tovrin"));
    QApplication::setApplicationVersion(QString::fromUtf8(settings.version));
    QApplication::setDesktopFileName(QStringLiteral("tovrin"));
    // Tovrin keeps no files: not even the graphics stack's shader caches, Qt's and the
    // drivers' (set before the first GL context, for the engine's processes too).
    QCoreApplication::setAttribute(Qt::AA_DisableShaderDiskCache);
    platform::TurnOffDriverDiskCaches();
    // Asked for through the environment, and taken back at once, so that the programs
    // Tovrin starts (the desktop's browser among them) choose for themselves.
    const std::string preferred = platform::PreferredPlatform(
        std::getenv("QT_QPA_PLATFORM"), std::getenv("WAYLAND_DISPLAY"), std::getenv("DISPLAY"));
    if (!preferred.empty())
        qputenv("QT_QPA_PLATFORM", preferred.c_str());
    QApplication app(argc, argv);
    if (!preferred.empty())
        qunsetenv("QT_QPA_PLATFORM");
    InstallFontSubstitutions();
    qCInfo(lcStartup, "application: %lld ms on %s", StartupTiming::elapsedMs(),
           qPrintable(QGuiApplication::platformName()));

    Form1Config config;
    config.makerHost = settings.makerHost;
    config.makerNumber = settings.makerNumber;
    if (!config.hosts.applyOverrides(settings.hostOverrides))
        std::fprintf(stderr, "tovrin: ignoring malformed host overrides '%s'\n",
                     settings.hostOverrides);

    // The window stays alive while hidden in the notification area: the program ends
    // when the window is unloaded, not when its last window is hidden.
    QApplication::setQuitOnLastWindowClosed(false);
    // Every icon handle the program hands out is its main window's: one icon.
    platform::QtTrayBackend tray(
        [](platform::HICON) { return QIcon(QStringLiteral(":/app/tovrin.png")); });
    tray.setPanelMenus([](platform::HWND hWnd) -> QMenu* {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* form = qobject_cast<Form1*>(window); form && form->hWnd() == hWnd)
                return form->mnuTray;
        return nullptr;
    });
    tray.holdBalloons();

    platform::BrowserSettings browsers;
    // The advertisement waits for the result browser's first page: the page the user
    // came for is shown sooner, and the strip fills a moment later.
    browsers.startAfterOthers = {QStringLiteral("WebBrowser2")};
    browsers.contactControl = QStringLiteral("WebBrowser4");
    browsers.launchScheme = settings.contactScheme;
    const maker::MakerPages builtIn("");
    browsers.builtInPages = {builtIn.advertisementAddress(), builtIn.instructionAddress(),
                             builtIn.updateAddress()};
    Form1::Platform platform =
        Form1::DesktopPlatform(platform::WebEngineBrowserFactory(std::move(browsers)), &tray);
    if (sandbox != platform::SandboxProblem::None) {
        const bool root = sandbox == platform::SandboxProblem::RunningAsRoot;
        std::fprintf(stderr, "%s\n", qPrintable(platform::SandboxLogLine(root)));
        platform.browsers = platform::MessageBrowserFactory(QStringLiteral("WebBrowser1"),
                                                            platform::SandboxMessage(root));
    }
    // The window is built, painted and ready to type in first; the browser engine
    // starts right after, with the pages Form_Load asked for.
    platform::WebEngineBrowser::holdEngine();
    Form1 form(std::move(config), std::move(platform));
    qCInfo(lcStartup, "window loaded: %lld ms", StartupTiming::elapsedMs());
    // The greeting balloon, like the advertisement, waits for the first result page.
    const auto releaseBalloons = [&tray] { tray.releaseBalloons(); };
    QObject::connect(form.WebBrowser1, &platform::BrowserControl::loadFinished, &tray,
                     releaseBalloons,
                     Qt::ConnectionType(Qt::QueuedConnection | Qt::SingleShotConnection));
    QTimer::singleShot(kBalloonWaitMs, &tray, releaseBalloons);
    QObject::connect(&form, &Form1::unloaded, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    platform::TerminationSignals termination;
    QObject::connect(&termination, &platform::TerminationSignals::received, &form,
                     &Form1::Form_Unload);
    form.move(CentredPosition(form));
    RunWhenReadyToType(
        form, *form.Text1,
        [](bool ready) {
            if (ready)
                qCInfo(lcStartup, "ready to type: %lld ms", StartupTiming::elapsedMs());
            platform::WebEngineBrowser::startEngine();
            qCInfo(lcStartup, "engine started: %lld ms", StartupTiming::elapsedMs());
        },
        kEngineWaitMs);
    StartupTiming::watch(form);
    HoldFirstFrameUntilActive(form, kFirstFrameWaitMs);
    form.show();
    qCInfo(lcStartup, "show returned: %lld ms", StartupTiming::elapsedMs());
    return QApplication::exec();
}

} // namespace tovrin::app
