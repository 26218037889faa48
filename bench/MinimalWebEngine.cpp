// The yardstick for Tovrin's start-up: one browser view in one window, loading one page,
// reporting the same moments the same way, under the same rule of keeping no files.

#include "startup/DriverCaches.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <cstdio>

int main(int argc, char* argv[])
{
    QElapsedTimer clock;
    clock.start();
    // Like Tovrin, the yardstick keeps no files: no shader cache on disk, Qt's or the
    // drivers' (with one, its later starts would skip compiling shaders that Tovrin
    // compiles every time).
    QCoreApplication::setAttribute(Qt::AA_DisableShaderDiskCache);
    tovrin::startup::TurnOffDriverDiskCaches();
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s URL\n", argv[0]);
        return 2;
    }
    auto* profile = new QWebEngineProfile(&app); // off the record, as in Tovrin
    QWebEngineView view;
    view.setPage(new QWebEnginePage(profile, &view));
    view.resize(800, 600);
    QObject::connect(&view, &QWebEngineView::loadFinished, [&](bool ok) {
        std::printf("first page loaded (%s): %lld ms\n", ok ? "ok" : "failed", clock.elapsed());
        std::fflush(stdout);
    });
    view.load(QUrl(QString::fromLocal8Bit(argv[1])));
    view.show();
    std::printf("window shown: %lld ms\n", clock.elapsed());
    std::fflush(stdout);
    return QApplication::exec();
}
