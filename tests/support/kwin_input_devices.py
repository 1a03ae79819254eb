"""A python3-dbusmock template: KWin's input devices on the session bus, as KWin lists them
(org.kde.KWin.InputDeviceManager and an org.kde.KWin.InputDevice object for each): a keyboard, a
pointer, and a keyboard that the user has switched off."""
import dbus

BUS_NAME = 'org.kde.KWin'
MAIN_OBJ = '/org/kde/KWin/InputDevice'
MAIN_IFACE = 'org.kde.KWin.InputDeviceManager'
SYSTEM_BUS = False

DEVICE_IFACE = 'org.kde.KWin.InputDevice'
# name: (keyboard, pointer, enabled)
DEVICES = {
    'event0': (True, False, True),
    'event1': (False, True, True),
    'event2': (True, False, False),
}


def load(mock, parameters):
    mock.AddProperty(MAIN_IFACE, 'devicesSysNames', dbus.Array(list(DEVICES), signature='s'))
    for name, (keyboard, pointer, enabled) in DEVICES.items():
        mock.AddObject(MAIN_OBJ + '/' + name, DEVICE_IFACE,
                       {'keyboard': dbus.Boolean(keyboard), 'pointer': dbus.Boolean(pointer),
                        'enabled': dbus.Boolean(enabled), 'sysName': name}, [])
