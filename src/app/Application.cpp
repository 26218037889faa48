#include "app/Application.h"

#include "app/Form1.h"
#include "app/SessionPlatform.h"
#include "app/StartupLog.h"
#include "app/StartupSequence.h"
#include "app/TerminationSignals.h"
#include "browser/BrowserMessages.h"
#include "browser/DriverCaches.h"
#include "browser/MessageBrowser.h"
#include "browser/SandboxCheck.h"
#include "browser/WebEngine.h"
#include "maker/MakerPages.h"
#include "platform/QtTrayBackend.h"

#include <QApplication>
#include <QFont>
#include <QMenu>

#include <cstdio>
#include <cstdlib>
#include <memory>
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

void DescribeApplication(const BuildSettings& settings)
{
    QApplication::setApplicationName(QStringLiteral("Tovrin"));
    QApplication::setApplicationVersion(QString::fromUtf8(settings.version));
    QApplication::setDesktopFileName(QStringLiteral("tovrin"));
}

// Tovrin keeps no files: not even the graphics stack's shader caches, Qt's and the
// drivers' (set before the first GL context, for the engine's processes too).
void KeepNoFiles()
{
    QCoreApplication::setAttribute(Qt::AA_DisableShaderDiskCache);
    browser::TurnOffDriverDiskCaches();
}

// The windowing platform the session is best served by, asked for through the
// environment and taken back at once, so that the programs Tovrin starts (the desktop's
// browser among them) choose for themselves.
std::unique_ptr<QApplication> StartQt(int& argc, char* argv[])
{
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

Form1Config WindowConfig(const BuildSettings& settings)
{
    Form1Config config;
    config.makerHost = settings.makerHost;
    config.makerNumber = settings.makerNumber;
    if (!config.hosts.applyOverrides(settings.hostOverrides))
        std::fprintf(stderr, "tovrin: ignoring malformed host overrides '%s'\n",
                     settings.hostOverrides);
    return config;
}

// The notification area. Every icon handle the program hands out is its main window's:
// one icon. Panels that draw the tray menu themselves find it by the icon's window.
std::unique_ptr<platform::QtTrayBackend> NotificationArea()
{
    auto tray = std::make_unique<platform::QtTrayBackend>(
        [](platform::HICON) { return QIcon(QStringLiteral(":/app/tovrin.png")); });
    tray->setPanelMenus([](platform::HWND hWnd) -> QMenu* {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* form = qobject_cast<Form1*>(window); form && form->hWnd() == hWnd)
                return form->mnuTray;
        return nullptr;
    });
    return tray;
}

// The window's browsers: on the engine, or, where its sandbox cannot start, controls
// that say why in the result browser's place and show no pages.
browser::BrowserFactory Browsers(browser::SandboxProblem sandbox, browser::WebEngine* engine,
                                 const BuildSettings& settings)
{
    if (sandbox != browser::SandboxProblem::None) {
        const bool root = sandbox == browser::SandboxProblem::RunningAsRoot;
        std::fprintf(stderr, "%s\n", qPrintable(browser::SandboxLogLine(root)));
        return browser::MessageBrowserFactory(browser::SandboxMessage(root));
    }
    const maker::MakerPages builtIn("");
    return browser::WebEngineBrowserFactory(
        *engine, {settings.contactScheme,
                  {builtIn.advertisementAddress(), builtIn.instructionAddress(),
                   builtIn.updateAddress()}});
}

} // namespace

int RunApplication(int argc, char* argv[], const BuildSettings& settings)
{
    const StartupLog log;
    const browser::SandboxProblem sandbox = browser::CheckSandbox(argc, argv);
    DescribeApplication(settings);
    KeepNoFiles();
    const auto app = StartQt(argc, argv);
    InstallFontSubstitutions();
    qCInfo(lcStartup, "application: %lld ms on %s", log.elapsedMs(),
           qPrintable(QGuiApplication::platformName()));

    // Made before the window and gone after it: the views need both while they live.
    const auto tray = NotificationArea();
    const auto engine = sandbox == browser::SandboxProblem::None
                            ? std::make_unique<browser::WebEngine>()
                            : std::unique_ptr<browser::WebEngine>();
    StartupSequence startup(engine.get(), tray.get(), log, {});
    Form1 form(WindowConfig(settings),
               Form1::DesktopPlatform(Browsers(sandbox, engine.get(), settings), tray.get()));
    log.mark("window loaded");

    // The program ends with its window, also when the session or a terminal asks it to.
    QObject::connect(&form, &Form1::unloaded, app.get(), &QCoreApplication::quit,
                     Qt::QueuedConnection);
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::received, &form, &Form1::Form_Unload);

    startup.run(form);
    return QApplication::exec();
}

} // namespace tovrin::app
