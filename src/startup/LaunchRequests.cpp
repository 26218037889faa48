#include "startup/LaunchRequests.h"

#include "app/MainWindow.h"
#include "startup/EventWatch.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>

namespace tovrin::startup {

namespace {

// How long a window that came forward is waited for before the selection is read.
constexpr int kActivationWaitMs = 1000;

// The text the user has selected (X11's primary selection), else the clipboard's.
QString SelectedText()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    QString text;
    if (clipboard->supportsSelection())
        text = clipboard->text(QClipboard::Selection).trimmed();
    if (text.isEmpty())
        text = clipboard->text(QClipboard::Clipboard).trimmed();
    return text.left(static_cast<qsizetype>(instance::kMaxWordsBytes));
}

} // namespace

void CarryOut(app::MainWindow& window, const instance::Request& request, bool handedOver)
{
    if (handedOver)
        window.comeForward(QByteArray::fromStdString(request.startupId),
                           QByteArray::fromStdString(request.activationToken));
    if (!request.selection) {
        window.lookUp(QString::fromStdString(request.words), request.category);
        return;
    }
    const auto lookUpSelection = [target = QPointer(&window), category = request.category](bool) {
        if (target)
            target->lookUp(SelectedText(), category); // nothing selected: the window only
    };                                                // came forward
    // A Wayland program may read the selection only while it has the focus.
    if (QGuiApplication::platformName() != u"wayland" || window.isActiveWindow())
        return lookUpSelection(true);
    auto* watch = new EventWatch(
        window,
        [&window](const QEvent& event) {
            return event.type() == QEvent::ActivationChange && window.isActiveWindow();
        },
        lookUpSelection);
    QTimer::singleShot(kActivationWaitMs, watch, [watch] { watch->end(false); });
}

} // namespace tovrin::startup
