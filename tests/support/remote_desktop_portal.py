"""A python3-dbusmock template: the desktop's remote-desktop portal
(org.freedesktop.portal.RemoteDesktop, with ScreenCast's monitors) as a desktop without means of
its own offers it. Every request is answered by a Response signal on the request's object path,
a moment after the call returns, as the portal does.

Parameters:
  log     the file that each call and what it carried is appended to, one line each;
  answer  what the user answers when asked: 0 allows, 1 cancels (default 0);
  tokens  restore tokens that the portal knows, which start a session without asking.
Each start that the user allows hands out a new token ("token1", "token2", …) and forgets the
one it was given, as a token serves once. The monitors are two: 1024x768 at the origin and
1280x800 to its right."""
import dbus
import dbusmock
from gi.repository import GLib

BUS_NAME = 'org.freedesktop.portal.Desktop'
MAIN_OBJ = '/org/freedesktop/portal/desktop'
MAIN_IFACE = 'org.freedesktop.portal.RemoteDesktop'
SYSTEM_BUS = False

SCREENCAST_IFACE = 'org.freedesktop.portal.ScreenCast'
REQUEST_IFACE = 'org.freedesktop.portal.Request'
SESSION_IFACE = 'org.freedesktop.portal.Session'
MONITORS = [(1, (0, 0), (1024, 768)), (2, (1024, 0), (1280, 800))]


def load(mock, parameters):
    mock.AddProperties(MAIN_IFACE, {'AvailableDeviceTypes': dbus.UInt32(3),
                                    'version': dbus.UInt32(2)})
    mock.AddProperties(SCREENCAST_IFACE, {'AvailableSourceTypes': dbus.UInt32(1),
                                          'version': dbus.UInt32(4)})
    mock.portal_log = parameters['log']
    mock.portal_answer = parameters.get('answer', 0)
    mock.portal_tokens = set(parameters.get('tokens', []))
    mock.portal_issued = 0
    mock.portal_sessions = {}


def record(mock, line):
    with open(mock.portal_log, 'a', encoding='utf-8') as log:
        log.write(line + '\n')


def object_path(kind, sender, token):
    return f'{MAIN_OBJ}/{kind}/{sender[1:].replace(".", "_")}/{token}'


def respond(mock, sender, options, code, results):
    path = object_path('request', sender, options['handle_token'])
    mock.AddObject(path, REQUEST_IFACE, {}, [('Close', '', '', '')])

    def emit():
        dbusmock.get_object(path).EmitSignal(
            REQUEST_IFACE, 'Response', 'ua{sv}',
            [dbus.UInt32(code), dbus.Dictionary(results, signature='sv')])
        return False
    GLib.timeout_add(20, emit)
    return dbus.ObjectPath(path)


@dbus.service.method(MAIN_IFACE, in_signature='a{sv}', out_signature='o', sender_keyword='sender')
def CreateSession(self, options, sender):
    session = object_path('session', sender, options['session_handle_token'])
    self.AddObject(session, SESSION_IFACE, {}, [('Close', '', '', '')])
    self.portal_sessions[session] = {}
    record(self, 'CreateSession')
    return respond(self, sender, options, 0, {'session_handle': session})


@dbus.service.method(MAIN_IFACE, in_signature='oa{sv}', out_signature='o',
                     sender_keyword='sender')
def SelectDevices(self, session, options, sender):
    self.portal_sessions[session]['token'] = str(options.get('restore_token', ''))
    record(self, f'SelectDevices types={int(options["types"])} '
                 f'persist={int(options.get("persist_mode", 0))} '
                 f'token={options.get("restore_token", "-")}')
    return respond(self, sender, options, 0, {})


@dbus.service.method(SCREENCAST_IFACE, in_signature='oa{sv}', out_signature='o',
                     sender_keyword='sender')
def SelectSources(self, session, options, sender):
    record(self, f'SelectSources types={int(options["types"])} '
                 f'multiple={bool(options.get("multiple", False))}')
    return respond(self, sender, options, 0, {})


@dbus.service.method(MAIN_IFACE, in_signature='osa{sv}', out_signature='o',
                     sender_keyword='sender')
def Start(self, session, parent_window, options, sender):
    token = self.portal_sessions[session]['token']
    restored = token in self.portal_tokens
    record(self, 'Start ' + ('restored' if restored else 'asked'))
    code = 0 if restored else self.portal_answer
    if code != 0:
        return respond(self, sender, options, code, {})
    self.portal_tokens.discard(token)
    self.portal_issued += 1
    new_token = f'token{self.portal_issued}'
    self.portal_tokens.add(new_token)
    streams = dbus.Array([dbus.Struct((dbus.UInt32(node), dbus.Dictionary(
        {'position': dbus.Struct(position, signature='ii'),
         'size': dbus.Struct(size, signature='ii')}, signature='sv')))
        for node, position, size in MONITORS], signature='(ua{sv})')
    return respond(self, sender, options, 0, {'devices': dbus.UInt32(3), 'streams': streams,
                                              'restore_token': new_token})


@dbus.service.method(MAIN_IFACE, in_signature='oa{sv}iu', out_signature='')
def NotifyKeyboardKeysym(self, session, options, keysym, state):
    record(self, f'key {keysym:#x} {state}')


@dbus.service.method(MAIN_IFACE, in_signature='oa{sv}udd', out_signature='')
def NotifyPointerMotionAbsolute(self, session, options, stream, x, y):
    record(self, f'motion {stream} {x:g} {y:g}')


@dbus.service.method(MAIN_IFACE, in_signature='oa{sv}iu', out_signature='')
def NotifyPointerButton(self, session, options, button, state):
    record(self, f'button {button:#x} {state}')
