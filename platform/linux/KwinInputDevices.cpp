#include "KwinInputDevices.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>

namespace tockwell::platform {
namespace {

const QString KwinService = u"org.kde.KWin"_qs;
const QString ManagerPath = u"/org/kde/KWin/InputDevice"_qs;
const QString DeviceInterface = u"org.kde.KWin.InputDevice"_qs;
const QString Properties = u"org.freedesktop.DBus.Properties"_qs;

QDBusMessage propertyCall(const QString &path, const QString &method, const QVariantList &arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(KwinService, path, Properties, method);
    message.setArguments(arguments);
    return QDBusConnection::sessionBus().call(message);
}

QString devicePath(const QString &device)
{
    return ManagerPath + u'/' + device;
}

/// The device's properties; empty where KWin does not answer.
QVariantMap deviceProperties(const QString &device)
{
    const QDBusReply<QVariantMap> reply =
        propertyCall(devicePath(device), u"GetAll"_qs, {DeviceInterface});
    return reply.isValid() ? reply.value() : QVariantMap();
}

} // namespace

KwinInputDevices::KwinInputDevices(QString guardProgram) : m_guardProgram(std::move(guardProgram))
{}

KwinInputDevices::~KwinInputDevices()
{
    resume();
}

bool KwinInputDevices::offered()
{
    return !devices().isEmpty();
}

QStringList KwinInputDevices::devices()
{
    const QDBusReply<QDBusVariant> reply = propertyCall(
        ManagerPath, u"Get"_qs, {u"org.kde.KWin.InputDeviceManager"_qs, u"devicesSysNames"_qs});
    return reply.isValid() ? reply.value().variant().toStringList() : QStringList();
}

void KwinInputDevices::setEnabled(const QString &device, bool enabled)
{
    propertyCall(devicePath(device), u"Set"_qs,
                 {DeviceInterface, u"enabled"_qs, QVariant::fromValue(QDBusVariant(enabled))});
}

void KwinInputDevices::suspend(DeviceKind kind)
{
    const QString kindProperty = kind == DeviceKind::Keyboard ? u"keyboard"_qs : u"pointer"_qs;
    QStringList taken;
    for (const QString &device : devices()) {
        const QVariantMap properties = deviceProperties(device);
        if (properties.value(kindProperty).toBool() && properties.value(u"enabled"_qs).toBool())
            taken << device;
    }
    if (taken.isEmpty())
        return;
    // The guard first, so that the devices come back even if the program ends the moment they
    // have gone. Without a guard they are not taken at all.
    std::unique_ptr<InputGuard> guard =
        InputGuard::start(m_guardProgram, QStringList{u"--kwin"_qs} + taken);
    if (!guard)
        return;
    m_guards.push_back(std::move(guard));
    for (const QString &device : taken)
        setEnabled(device, false);
    m_suspended += taken;
}

void KwinInputDevices::resume()
{
    for (const QString &device : std::as_const(m_suspended))
        setEnabled(device, true);
    m_suspended.clear();
    m_guards.clear(); // each gives its devices back (again) and ends
}

} // namespace tockwell::platform
