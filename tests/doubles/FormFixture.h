#pragma once

#include "Doubles.h"
#include "app/MainWindow.h"
#include "lookup/QueryBox.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace tovrin::testing {

inline constexpr const char* kTestMakerNumber = "4321";

// Types text key by key, Chinese included (QTest::keyClicks takes Latin-1 only).
inline void TypeText(QWidget* widget, const QString& text)
{
    for (const QChar ch : text) {
        const int key = ch.unicode() < 0x80 ? QChar(ch).toUpper().unicode() : 0;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &release);
    }
}

// The window on recording doubles, with a notification area that is there. Its controls
// are found by their design names, as a reader of the design finds them.
struct FormFixture
{
    CallLog log;
    RecordingTray tray{log};
    RecordingWindowManager* windowManager = nullptr;
    std::unique_ptr<app::MainWindow> window;

    explicit FormFixture(std::string makerHost = {})
    {
        app::WindowConfig config;
        config.makerHost = std::move(makerHost);
        config.makerNumber = kTestMakerNumber;
        window = std::make_unique<app::MainWindow>(std::move(config),
                                                   RecordingPlatform(log, tray, windowManager));
    }

    template <typename T = QWidget> T* find(const char* name) const
    {
        T* found = window->findChild<T*>(QLatin1String(name));
        if (!found)
            qFatal("no control named %s", name);
        return found;
    }
    lookup::QueryBox* query() const { return find<lookup::QueryBox>("Text1"); }
    QComboBox* category() const { return find<QComboBox>("Combo1"); }
    QPushButton* button(const char* name) const { return find<QPushButton>(name); }
    QAction* item(const char* name) const { return find<QAction>(name); }
    RecordingBrowser* browser(int n) const
    {
        return window->findChild<RecordingBrowser*>(QStringLiteral("WebBrowser%1").arg(n));
    }

    // Shows the window and waits until it is active with the query box focused.
    bool showActive()
    {
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get()) &&
               QTest::qWaitFor([this] { return query()->hasFocus(); });
    }

    // Whether the whole query is selected in the focused box, as after a lookup.
    bool rearmed() const
    {
        return query()->hasFocus() && query()->selectedText() == query()->text() &&
               query()->selectionStart() == 0;
    }
};

} // namespace tovrin::testing
