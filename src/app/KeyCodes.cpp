#include "app/KeyCodes.h"

#include "lookup/KeyTable.h"

#include <QKeyEvent>

namespace tovrin::app {

int VirtualKeyCode(const QKeyEvent& event)
{
    const int key = event.key();
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return lookup::kVkF1 + (key - Qt::Key_F1);
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return key; // Qt uses the ASCII codes here, as Windows does
    switch (key) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return lookup::kVkReturn;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    default:
        return 0;
    }
}

int ShiftState(const QKeyEvent& event)
{
    const auto mods = event.modifiers();
    return (mods.testFlag(Qt::ShiftModifier) ? 1 : 0) |
           (mods.testFlag(Qt::ControlModifier) ? 2 : 0) | (mods.testFlag(Qt::AltModifier) ? 4 : 0);
}

int CharacterCode(const QKeyEvent& event)
{
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter)
        return lookup::kCharEnter;
    const QString text = event.text();
    if (text.isEmpty())
        return -1;
    return text.at(0).unicode();
}

} // namespace tovrin::app
