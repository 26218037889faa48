#include "app/QueryBoxKeys.h"

#include "app/Form1.h"
#include "app/KeyCodes.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTimer>

namespace tovrin::app {

QueryBoxKeys::QueryBoxKeys(Form1& form) : QObject(&form), m_form(form) {}

bool QueryBoxKeys::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        // Tab moves the focus on before a control sees it as a key.
        if ((key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab) &&
            !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
            return false;
        if (m_composing)
            return false;
        int keyCode = VirtualKeyCode(key);
        m_form.Text1_KeyDown(keyCode, ShiftState(key));
        int charCode = CharacterCode(key);
        if (charCode < 0)
            return false;
        m_form.Text1_KeyPress(charCode);
        return charCode == 0;
    }
    case QEvent::InputMethod: {
        // Text composed with an input method arrives without key presses; refresh the
        // stored query once the box has taken the committed text.
        const auto& ime = static_cast<const QInputMethodEvent&>(*event);
        m_composing = !ime.preeditString().isEmpty();
        if (!ime.commitString().isEmpty())
            QTimer::singleShot(0, &m_form, [form = &m_form] {
                int none = 0;
                form->Text1_KeyDown(none, 0);
            });
        return false;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

} // namespace tovrin::app
