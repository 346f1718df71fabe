#!/usr/bin/python3
"""The desktop's side of a tray icon, for tests on a private session bus: a
StatusNotifier watcher with a host registered, and a notification server. It records
what it receives and answers the test through the interface zorvan.test.Desktop at
/Desktop. It prints "ready" once it owns its names."""
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

WATCHER = "org.kde.StatusNotifierWatcher"
NOTIFICATIONS = "org.freedesktop.Notifications"
TEST = "zorvan.test.Desktop"


class Watcher(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, "/StatusNotifierWatcher")
        self.bus = bus
        self.items = []  # "service/path" of each registered item
        bus.add_signal_receiver(self.owner_changed, "NameOwnerChanged",
                                "org.freedesktop.DBus")

    @dbus.service.method(WATCHER, in_signature="s", sender_keyword="sender")
    def RegisterStatusNotifierItem(self, service, sender=None):
        # An item names itself by a bus name or by an object path on its connection.
        if service.startswith("/"):
            item = sender + service
        else:
            item = service + "/StatusNotifierItem"
        if item not in self.items:
            self.items.append(item)
            self.StatusNotifierItemRegistered(item)

    @dbus.service.method(WATCHER, in_signature="s")
    def RegisterStatusNotifierHost(self, service):
        pass

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemRegistered(self, item):
        pass

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemUnregistered(self, item):
        pass

    @dbus.service.signal(WATCHER, signature="")
    def StatusNotifierHostRegistered(self):
        pass

    def owner_changed(self, name, old, new):
        if new:
            return
        for item in [i for i in self.items if i.split("/")[0] in (name, old)]:
            self.items.remove(item)
            self.StatusNotifierItemUnregistered(item)

    def properties(self):
        return {"RegisteredStatusNotifierItems": dbus.Array(self.items, signature="s"),
                "IsStatusNotifierHostRegistered": True,
                "ProtocolVersion": dbus.Int32(0)}

    # Property readers that build their proxy from the introspection data need the
    # properties listed there, which the base class leaves out.
    @dbus.service.method(dbus.INTROSPECTABLE_IFACE, out_signature="s",
                         path_keyword="object_path", connection_keyword="connection")
    def Introspect(self, object_path, connection):
        xml = super().Introspect(object_path, connection)
        listed = ('<property name="RegisteredStatusNotifierItems" type="as" access="read"/>'
                  '<property name="IsStatusNotifierHostRegistered" type="b" access="read"/>'
                  '<property name="ProtocolVersion" type="i" access="read"/>')
        return xml.replace('<interface name="%s">' % WATCHER,
                           '<interface name="%s">%s' % (WATCHER, listed))

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return self.properties()[name]

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return self.properties()


class Notifications(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, "/org/freedesktop/Notifications")
        self.received = []
        self.closed = []
        self.next_id = 1

    @dbus.service.method(NOTIFICATIONS, in_signature="susssasa{sv}i", out_signature="u")
    def Notify(self, app, replaces, icon, summary, body, actions, hints, timeout):
        nid = replaces if replaces else self.next_id
        if not replaces:
            self.next_id += 1
        self.received.append((dbus.UInt32(nid), app, dbus.UInt32(replaces), icon, summary,
                              body, dbus.Int32(timeout)))
        return nid

    @dbus.service.method(NOTIFICATIONS, in_signature="u")
    def CloseNotification(self, nid):
        self.closed.append(nid)

    @dbus.service.method(NOTIFICATIONS, out_signature="as")
    def GetCapabilities(self):
        return ["body"]

    @dbus.service.method(NOTIFICATIONS, out_signature="ssss")
    def GetServerInformation(self):
        return ("test-desktop", "zorvan", "1", "1.2")


class Desktop(dbus.service.Object):
    def __init__(self, bus, watcher, notifications):
        super().__init__(bus, "/Desktop")
        self.watcher = watcher
        self.notifications = notifications

    @dbus.service.method(TEST, out_signature="as")
    def Items(self):
        return self.watcher.items

    @dbus.service.method(TEST, out_signature="a(usussi)")
    def Received(self):
        return [(n[0], n[1], n[2], n[4], n[5], n[6]) for n in self.notifications.received]

    @dbus.service.method(TEST, out_signature="as")
    def Icons(self):
        return [n[3] for n in self.notifications.received]

    # What a host does on a click: Activate for the primary button, ContextMenu for the
    # menu button, on every registered item, without waiting for the answer.
    @dbus.service.method(TEST, in_signature="s")
    def Click(self, method):
        for item in self.watcher.items:
            service, path = item.split("/", 1)
            self.watcher.bus.call_async(service, "/" + path, "org.kde.StatusNotifierItem",
                                        method, "ii", (10, 10), None, None)

    @dbus.service.method(TEST)
    def Clear(self):
        self.notifications.received.clear()


def main():
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    watcher = Watcher(bus)
    notifications = Notifications(bus)
    Desktop(bus, watcher, notifications)
    names = [dbus.service.BusName(n, bus, do_not_queue=True)
             for n in (WATCHER, NOTIFICATIONS, TEST)]
    watcher.StatusNotifierHostRegistered()
    print("ready", flush=True)
    loop = GLib.MainLoop()
    GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, 15, loop.quit)
    loop.run()
    del names


if __name__ == "__main__":
    sys.exit(main())
