#include "startup/Startup.h"

#include "app/MainWindow.h"
#include "app/QtWindowManager.h"
#include "app/SystemTray.h"
#include "browser/BrowserMessages.h"
#include "browser/MessageBrowser.h"
#include "browser/WebEngine.h"
#include "instance/Launch.h"
#include "maker/MakerPages.h"
#include "startup/DriverCaches.h"
#include "startup/LaunchRequests.h"
#include "startup/SandboxCheck.h"
#include "startup/SessionPlatform.h"
#include "startup/StartupLog.h"
#include "startup/StartupSequence.h"
#include "startup/TerminationSignals.h"

#include <QApplication>
#include <QFont>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace tovrin::startup {

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

// Tovrin keeps no files: not even the graphics stack's shader caches, Qt's and the
// drivers' (set before the first GL context, for the engine's processes too).
void KeepNoFiles()
{
    QCoreApplication::setAttribute(Qt::AA_DisableShaderDiskCache);
    TurnOffDriverDiskCaches();
}

// Qt, on the windowing platform the session is best served by: asked for through the
// environment and taken back at once, so that the programs Tovrin starts (the desktop's
// browser among them) choose for themselves.
std::unique_ptr<QApplication> StartQt(int& argc, char* argv[], const BuildSettings& settings)
{
    QApplication::setApplicationName(QStringLiteral("Tovrin"));
    QApplication::setApplicationVersion(QString::fromUtf8(settings.version));
    QApplication::setDesktopFileName(QStringLiteral("tovrin"));
    const std::string preferred = PreferredPlatform(
        std::getenv("QT_QPA_PLATFORM"), std::getenv("WAYLAND_DISPLAY"), std::getenv("DISPLAY"));
    if (!preferred.empty())
        qputenv("QT_QPA_PLATFORM", preferred.c_str());
    auto app = std::make_unique<QApplication>(argc, argv);
    if (!preferred.empty())
        qunsetenv("QT_QPA_PLATFORM");
    // The window stays alive while hidden in the notification area: the program ends
    // when the window is unloaded, not when its last window is hidden.
    QApplication::setQuitOnLastWindowClosed(false);
    return app;
}

app::WindowConfig WindowConfig(const BuildSettings& settings)
{
    app::WindowConfig config;
    config.makerHost = settings.makerHost;
    config.makerNumber = settings.makerNumber;
    if (!config.hosts.applyOverrides(settings.hostOverrides))
        std::fprintf(stderr, "tovrin: ignoring malformed host overrides '%s'\n",
                     settings.hostOverrides);
    return config;
}

// The window's browsers: on the engine, or, where its sandbox cannot start, controls
// that say why in the result browser's place and show no pages.
browser::BrowserFactory Browsers(SandboxProblem sandbox, browser::WebEngine* engine,
                                 const BuildSettings& settings)
{
    if (sandbox != SandboxProblem::None) {
        const bool root = sandbox == SandboxProblem::RunningAsRoot;
        std::fprintf(stderr, "%s\n", qPrintable(browser::SandboxLogLine(root)));
        return browser::MessageBrowserFactory(browser::SandboxMessage(root));
    }
    const maker::MakerPages builtIn("");
    return browser::WebEngineBrowserFactory(
        *engine,
        {settings.contactScheme,
         {builtIn.advertisementAddress(), builtIn.instructionAddress(), builtIn.updateAddress()}});
}

std::unique_ptr<app::WindowManager> DesktopWindowManager(QWidget& window)
{
    return std::make_unique<app::QtWindowManager>(window);
}

} // namespace

int RunApplication(int argc, char* argv[], const BuildSettings& settings)
{
    const StartupLog log;
    // 0. The command line; one program a session: a later launch hands its request to the
    // one that runs and ends, before anything of a window is made.
    auto launch = instance::ClaimOrHandOver(argc, argv, settings.version);
    if (const int* status = std::get_if<int>(&launch))
        return *status;
    auto& [request, owner] = std::get<instance::FirstLaunch>(launch);
    // 1. The sandbox check, before any thread.
    const SandboxProblem sandbox = CheckSandbox(argc, argv);
    // 2. No files, before the first graphics context.
    KeepNoFiles();
    // 3. Qt and the fonts.
    const auto qt = StartQt(argc, argv, settings);
    InstallFontSubstitutions();
    qCInfo(lcStartup, "application: %lld ms on %s", log.elapsedMs(),
           qPrintable(QGuiApplication::platformName()));
    // 4. The notification area and the engine, held; made before the window and gone
    // after it, since the window's icon and views need them while they live.
    app::SystemTray tray;
    const auto engine = sandbox == SandboxProblem::None ? std::make_unique<browser::WebEngine>()
                                                        : std::unique_ptr<browser::WebEngine>();
    // A launch with something to look up has no typing to wait for: the engine starts at
    // once, and the lookup is its first page.
    StartupSequence::Waits waits;
    if (!request.words.empty() || request.selection)
        waits.engineMs = 0;
    StartupSequence startup(engine.get(), &tray, log, waits);
    // 5. The window, built on the holds.
    app::MainWindow window(
        WindowConfig(settings),
        startup.windowPlatform(Browsers(sandbox, engine.get(), settings), DesktopWindowManager));
    log.mark("window loaded");
    // What this launch asked for is the result browser's first page: it replaces the
    // instruction page the engine holds. Later launches are taken from now on.
    QObject::connect(
        owner.get(), &instance::SingleInstance::requested, &window,
        [&window](const instance::Request& handed) { CarryOut(window, handed, true); });
    owner->listen();
    CarryOut(window, request, false);
    // 6 to 8. Shown; the engine and the pages follow.
    startup.show(window);
    // 9. The program ends with its window, also when the session or a terminal asks it to.
    QObject::connect(&window, &app::MainWindow::unloaded, qt.get(), &QCoreApplication::quit,
                     Qt::QueuedConnection);
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::received, &window,
                     &app::MainWindow::unload);
    const int status = QApplication::exec();
    owner.reset(); // the endpoint goes while Qt is still there
    return status;
}

} // namespace tovrin::startup
