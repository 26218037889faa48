#include "browser/InSight.h"

#include <QWidget>

namespace tovrin::browser {

bool InSight(const QWidget& widget)
{
    if (!widget.isVisible() || widget.window()->isMinimized())
        return false;
    QRect area = widget.rect(); // what is left of it, in the coordinates of `at`
    for (const QWidget* at = &widget; !at->isWindow(); at = at->parentWidget()) {
        const QWidget* parent = at->parentWidget();
        area = area.translated(at->pos()) & parent->rect();
        if (area.isEmpty())
            return false;
        // Siblings later in the list are stacked above.
        const QObjectList& siblings = parent->children();
        for (qsizetype i = siblings.indexOf(at) + 1; i < siblings.size(); ++i) {
            const auto* above = qobject_cast<const QWidget*>(siblings[i]);
            if (above && !above->isWindow() && above->isVisible() &&
                above->geometry().contains(area))
                return false;
        }
    }
    return !area.isEmpty();
}

} // namespace tovrin::browser
