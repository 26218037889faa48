#pragma once

#include "Doubles.h"
#include "app/Form1.h"
#include "app/QueryBox.h"

#include <QApplication>
#include <QKeyEvent>
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

// A Form1 on recording doubles, with a notification area that is there.
struct FormFixture
{
    CallLog log;
    RecordingTray tray{log};
    RecordingWindowBackend* window = nullptr;
    std::unique_ptr<app::Form1> form;

    explicit FormFixture(std::string makerHost = {})
    {
        app::Form1Config config;
        config.makerHost = std::move(makerHost);
        config.makerNumber = kTestMakerNumber;
        form =
            std::make_unique<app::Form1>(std::move(config), RecordingPlatform(log, tray, window));
    }

    // Shows the window and waits until it is active with the query box focused.
    bool showActive()
    {
        form->show();
        form->activateWindow();
        return QTest::qWaitForWindowActive(form.get()) &&
               QTest::qWaitFor([this] { return form->Text1->hasFocus(); });
    }

    RecordingBrowser* browser(int n) const
    {
        return form->findChild<RecordingBrowser*>(QStringLiteral("WebBrowser%1").arg(n));
    }
};

} // namespace tovrin::testing
