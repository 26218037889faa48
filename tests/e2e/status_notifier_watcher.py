"""A status-notifier watcher that says a host shows its items, as a dbusmock template
(python3 -m dbusmock --template this_file): the mock keeps every call it gets."""

import dbus

BUS_NAME = MAIN_IFACE = "org.kde.StatusNotifierWatcher"
MAIN_OBJ = "/StatusNotifierWatcher"
SYSTEM_BUS = False


def load(mock, parameters):
    mock.AddProperties(MAIN_IFACE, {"RegisteredStatusNotifierItems": dbus.Array([], "s"),
                                    "IsStatusNotifierHostRegistered": True,
                                    "ProtocolVersion": dbus.Int32(0)})
    mock.AddMethods(MAIN_IFACE, [
        ("RegisterStatusNotifierItem", "s", "",
         "self.props[self.interface]['RegisteredStatusNotifierItems'].append(args[0]);"
         "self.EmitSignal('', 'StatusNotifierItemRegistered', 's', args)"),
        ("RegisterStatusNotifierHost", "s", "", ""),
    ])
