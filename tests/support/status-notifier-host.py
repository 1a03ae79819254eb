#!/usr/bin/python3
"""A stand-in StatusNotifier host on the session bus: the watcher that tray icons register with
and, with --notifications, a notification service. Each call is written to LOG as a line
("RegisterItem :1.5", "Notify SUMMARY | BODY"); "ready" once both names are owned.

Usage: status-notifier-host.py LOG [--notifications]
"""
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

WATCHER = 'org.kde.StatusNotifierWatcher'
NOTIFICATIONS = 'org.freedesktop.Notifications'


class Watcher(dbus.service.Object):
    def __init__(self, bus, log):
        super().__init__(bus, '/StatusNotifierWatcher')
        self.log = log

    @dbus.service.method(WATCHER, in_signature='s')
    def RegisterStatusNotifierItem(self, service):
        self.log.write(f'RegisterItem {service}\n')

    @dbus.service.method(WATCHER, in_signature='s')
    def RegisterStatusNotifierHost(self, service):
        pass

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature='ss', out_signature='v')
    def Get(self, interface, name):
        return self.GetAll(interface)[name]

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature='s', out_signature='a{sv}')
    def GetAll(self, interface):
        return {'IsStatusNotifierHostRegistered': True, 'ProtocolVersion': dbus.Int32(0),
                'RegisteredStatusNotifierItems': dbus.Array([], signature='s')}

    # Qt reads the properties through an interface built from this description.
    @dbus.service.method(dbus.INTROSPECTABLE_IFACE, out_signature='s')
    def Introspect(self):
        return f'''<node><interface name="{WATCHER}">
<method name="RegisterStatusNotifierItem"><arg type="s" direction="in"/></method>
<method name="RegisterStatusNotifierHost"><arg type="s" direction="in"/></method>
<property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
<property name="ProtocolVersion" type="i" access="read"/>
<property name="RegisteredStatusNotifierItems" type="as" access="read"/>
</interface></node>'''


class Notifications(dbus.service.Object):
    def __init__(self, bus, log):
        super().__init__(bus, '/org/freedesktop/Notifications')
        self.log = log

    @dbus.service.method(NOTIFICATIONS, in_signature='susssasa{sv}i', out_signature='u')
    def Notify(self, app, replaces, icon, summary, body, actions, hints, timeout):
        self.log.write(f'Notify {summary} | {body}\n')
        return 1

    @dbus.service.method(NOTIFICATIONS, out_signature='as')
    def GetCapabilities(self):
        return ['body']

    @dbus.service.method(NOTIFICATIONS, out_signature='ssss')
    def GetServerInformation(self):
        return ('stand-in', 'tests', '1', '1.2')


def main():
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    log = open(sys.argv[1], 'a', buffering=1, encoding='utf-8')
    objects = [Watcher(bus, log)]
    names = [dbus.service.BusName(WATCHER, bus)]
    if '--notifications' in sys.argv[2:]:
        objects.append(Notifications(bus, log))
        names.append(dbus.service.BusName(NOTIFICATIONS, bus))
    log.write('ready\n')
    GLib.MainLoop().run()


main()
