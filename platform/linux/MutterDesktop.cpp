#include "MutterDesktop.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace tockwell::platform {
namespace {

const QString RemoteDesktopService = u"org.gnome.Mutter.RemoteDesktop"_qs;
const QString SessionInterface = u"org.gnome.Mutter.RemoteDesktop.Session"_qs;
const QString ScreenCastService = u"org.gnome.Mutter.ScreenCast"_qs;
const QString DisplayConfigService = u"org.gnome.Mutter.DisplayConfig"_qs;
const QString IdleMonitorService = u"org.gnome.Mutter.IdleMonitor"_qs;
const QString IdleMonitorPath = u"/org/gnome/Mutter/IdleMonitor/Core"_qs;
constexpr int PowerOn = 0, PowerOff = 3;
constexpr uint LogicalLayout = 1; // DisplayConfig's layout-mode of fractional scaling
constexpr int LeftButton = 0x110; // BTN_LEFT of the kernel's input codes

QDBusConnection bus()
{
    return QDBusConnection::sessionBus();
}

bool registered(const QString &service)
{
    const QDBusConnectionInterface *names = bus().interface();
    return names && names->isServiceRegistered(service).value();
}

QDBusMessage call(const QString &service, const QString &path, const QString &interface,
                  const QString &method, const QVariantList &arguments = {})
{
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    return bus().call(message);
}

} // namespace

MutterDesktop::MutterDesktop() = default;

MutterDesktop::~MutterDesktop()
{
    for (const Session *session : {&m_keys, &m_pointer}) {
        if (!session->path.isEmpty())
            call(RemoteDesktopService, session->path, SessionInterface, u"Stop"_qs);
    }
}

bool MutterDesktop::offersRemoteDesktop()
{
    return registered(RemoteDesktopService);
}

bool MutterDesktop::offersDisplayConfig()
{
    return registered(DisplayConfigService);
}

bool MutterDesktop::offersScreenCast()
{
    return registered(ScreenCastService);
}

bool MutterDesktop::pipeWireRuns()
{
    // PipeWire's own rule for its socket: PIPEWIRE_REMOTE in PIPEWIRE_RUNTIME_DIR, else in
    // XDG_RUNTIME_DIR, named pipewire-0 by default.
    const QByteArray folder = qEnvironmentVariableIsSet("PIPEWIRE_RUNTIME_DIR")
                                  ? qgetenv("PIPEWIRE_RUNTIME_DIR")
                                  : qgetenv("XDG_RUNTIME_DIR");
    const QString name = qEnvironmentVariable("PIPEWIRE_REMOTE", u"pipewire-0"_qs);
    return !folder.isEmpty() &&
           QFileInfo::exists(QDir(QString::fromLocal8Bit(folder)).filePath(name));
}

QString MutterDesktop::recordLayout(const QString &session, QSize layout)
{
    if (!offersScreenCast() || !pipeWireRuns())
        return {};
    const QDBusReply<QDBusVariant> id =
        call(RemoteDesktopService, session, u"org.freedesktop.DBus.Properties"_qs, u"Get"_qs,
             {SessionInterface, u"SessionId"_qs});
    if (!id.isValid())
        return {};
    const QVariantMap linked{{u"remote-desktop-session-id"_qs, id.value().variant()}};
    const QDBusReply<QDBusObjectPath> cast =
        call(ScreenCastService, u"/org/gnome/Mutter/ScreenCast"_qs, ScreenCastService,
             u"CreateSession"_qs, {linked});
    if (!cast.isValid())
        return {};
    // An area from the layout's origin: a point on its stream is the point of the layout,
    // whichever monitor is primary (a monitor's stream counts from that monitor's corner).
    const QDBusReply<QDBusObjectPath> stream =
        call(ScreenCastService, cast.value().path(), ScreenCastService + u".Session"_qs,
             u"RecordArea"_qs, {0, 0, layout.width(), layout.height(), QVariantMap()});
    return stream.isValid() ? stream.value().path() : QString();
}

double MutterDesktop::layoutStreamScale()
{
    const QDBusMessage state = call(DisplayConfigService, u"/org/gnome/Mutter/DisplayConfig"_qs,
                                    DisplayConfigService, u"GetCurrentState"_qs);
    const QVariantList parts = state.arguments();
    if (state.type() == QDBusMessage::ErrorMessage || parts.size() != 4)
        return 1.0;
    const auto properties = qdbus_cast<QVariantMap>(parts[3]);
    if (properties.value(u"layout-mode"_qs).toUInt() != LogicalLayout)
        return 1.0;
    // Each logical monitor: x, y, scale, transform, primary, its monitors, its properties.
    double scale = 1.0;
    const auto monitors = parts[2].value<QDBusArgument>();
    if (monitors.currentType() != QDBusArgument::ArrayType)
        return 1.0;
    monitors.beginArray();
    while (!monitors.atEnd()) {
        int x = 0, y = 0;
        double monitorScale = 1.0;
        monitors.beginStructure();
        monitors >> x >> y >> monitorScale;
        while (!monitors.atEnd())
            monitors.asVariant();
        monitors.endStructure();
        scale = std::max(scale, monitorScale);
    }
    monitors.endArray();
    return scale;
}

MutterDesktop::Session MutterDesktop::startSession(QSize layout)
{
    const QDBusReply<QDBusObjectPath> made =
        call(RemoteDesktopService, u"/org/gnome/Mutter/RemoteDesktop"_qs, RemoteDesktopService,
             u"CreateSession"_qs);
    if (!made.isValid())
        return {};
    Session session{made.value().path(), {}};
    // The stream must be there before the session starts; starting starts the screen cast too.
    if (!layout.isEmpty()) {
        session.stream = recordLayout(session.path, layout);
        session.streamScale = layoutStreamScale();
    }
    const QDBusMessage started =
        call(RemoteDesktopService, session.path, SessionInterface, u"Start"_qs);
    return started.type() == QDBusMessage::ErrorMessage ? Session() : session;
}

void MutterDesktop::pressKeys(const KeyCombination &keys)
{
    if (m_keys.path.isEmpty())
        m_keys = startSession({});
    if (m_keys.path.isEmpty())
        return;
    sendKeyEvents(keys, [this](quint32 keysym, bool down) {
        call(RemoteDesktopService, m_keys.path, SessionInterface, u"NotifyKeyboardKeysym"_qs,
             {QVariant::fromValue(uint(keysym)), down});
    });
}

void MutterDesktop::movePointer(QPoint pos, QSize layout)
{
    if (m_pointer.path.isEmpty() && !layout.isEmpty())
        m_pointer = startSession(layout);
    if (m_pointer.stream.isEmpty())
        return;
    call(RemoteDesktopService, m_pointer.path, SessionInterface, u"NotifyPointerMotionAbsolute"_qs,
         {m_pointer.stream, pos.x() * m_pointer.streamScale, pos.y() * m_pointer.streamScale});
}

void MutterDesktop::leftButton(bool down)
{
    if (m_pointer.stream.isEmpty())
        return;
    call(RemoteDesktopService, m_pointer.path, SessionInterface, u"NotifyPointerButton"_qs,
         {LeftButton, down});
}

void MutterDesktop::monitorOff()
{
    setPowerSaveMode(PowerOff);
    // Back on at the user's next input: mutter's idle monitor tells once.
    const QDBusReply<uint> watch =
        call(IdleMonitorService, IdleMonitorPath, IdleMonitorService, u"AddUserActiveWatch"_qs);
    if (!watch.isValid())
        return;
    m_activeWatch = watch.value();
    bus().connect(IdleMonitorService, IdleMonitorPath, IdleMonitorService, u"WatchFired"_qs, this,
                  SLOT(onWatchFired(uint)));
}

void MutterDesktop::onWatchFired(uint id)
{
    if (id != m_activeWatch)
        return;
    m_activeWatch = 0;
    bus().disconnect(IdleMonitorService, IdleMonitorPath, IdleMonitorService, u"WatchFired"_qs,
                     this, SLOT(onWatchFired(uint)));
    setPowerSaveMode(PowerOn);
}

void MutterDesktop::setPowerSaveMode(int mode)
{
    call(DisplayConfigService, u"/org/gnome/Mutter/DisplayConfig"_qs,
         u"org.freedesktop.DBus.Properties"_qs, u"Set"_qs,
         {DisplayConfigService, u"PowerSaveMode"_qs, QVariant::fromValue(QDBusVariant(mode))});
}

} // namespace tockwell::platform
