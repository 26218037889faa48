#include "app/Accessibility.h"

#include "app/Form1.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace tovrin::app {

namespace {

QAccessibleInterface* MainWindowRole(const QString& className, QObject* object)
{
    if (className != QLatin1String(Form1::staticMetaObject.className()))
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
}

} // namespace

void InstallAccessibleRoles()
{
    static const bool installed = [] {
        QAccessible::installFactory(MainWindowRole);
        return true;
    }();
    (void)installed;
}

} // namespace tovrin::app
