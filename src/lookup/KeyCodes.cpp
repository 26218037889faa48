#include "lookup/KeyCodes.h"

#include "lookup/KeyTable.h"

#include <QKeyEvent>

namespace tovrin::lookup {

int VirtualKeyCode(const QKeyEvent& event)
{
    const int key = event.key();
    return key >= Qt::Key_F1 && key <= Qt::Key_F24 ? kVkF1 + (key - Qt::Key_F1) : 0;
}

int CharacterCode(const QKeyEvent& event)
{
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter)
        return kCharEnter;
    const QString text = event.text();
    return text.isEmpty() ? -1 : text.at(0).unicode();
}

} // namespace tovrin::lookup
