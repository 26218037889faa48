#include "app/Application.h"

#include "app/Form1.h"
#include "app/StartupTiming.h"
#include "platform/WebEngineBrowser.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QLoggingCategory>
#include <QMessageBox>

#include <cstdio>

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

int RunApplication(int argc, char* argv[], const BuildSettings& settings)
{
    StartupTiming::begin();
    QApplication::setApplicationName(QStringLiteral("Tovrin"));
    QApplication::setApplicationVersion(QString::fromUtf8(settings.version));
    QApplication::setDesktopFileName(QStringLiteral("tovrin"));
    // The window lives on in the notification area; closing it ends the program.
    QApplication app(argc, argv);
    InstallFontSubstitutions();

    Form1Config config;
    config.makerHost = settings.makerHost;
    config.makerNumber = settings.makerNumber;
    if (!config.hosts.applyOverrides(settings.hostOverrides))
        std::fprintf(stderr, "tovrin: ignoring malformed host overrides '%s'\n",
                     settings.hostOverrides);

    Form1::Platform platform{platform::WebEngineBrowserFactory(), nullptr};
    Form1 form(std::move(config), std::move(platform));
    StartupTiming::watch(form);
    form.show();
    return QApplication::exec();
}

} // namespace tovrin::app
