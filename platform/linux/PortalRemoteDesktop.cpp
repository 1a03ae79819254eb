#include "PortalRemoteDesktop.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>
#include <QEventLoop>
#include <QRandomGenerator>
#include <QTimer>

#include <algorithm>

namespace tockwell::platform {
namespace {

const QString Service = u"org.freedesktop.portal.Desktop"_qs;
const QString DesktopPath = u"/org/freedesktop/portal/desktop"_qs;
const QString RemoteDesktop = u"org.freedesktop.portal.RemoteDesktop"_qs;
const QString ScreenCast = u"org.freedesktop.portal.ScreenCast"_qs;
const QString RequestInterface = u"org.freedesktop.portal.Request"_qs;
const QString SessionInterface = u"org.freedesktop.portal.Session"_qs;

// The portal's codes: device and source types, persistence, answers.
constexpr uint KeyboardDevice = 1, PointerDevice = 2, MonitorSource = 1;
constexpr uint PersistUntilRevoked = 2;
constexpr uint Granted = 0, Cancelled = 1;
constexpr int LeftButton = 0x110; // BTN_LEFT of the kernel's input codes
// Asking what the portal offers starts it where it is not running yet.
constexpr int OfferWaitMs = 5000;

QDBusConnection bus()
{
    return QDBusConnection::sessionBus();
}

std::optional<uint> portalProperty(const QString &interface, const QString &name)
{
    QDBusMessage get = QDBusMessage::createMethodCall(
        Service, DesktopPath, u"org.freedesktop.DBus.Properties"_qs, u"Get"_qs);
    get.setArguments({interface, name});
    const QDBusReply<QDBusVariant> reply = bus().call(get, QDBus::Block, OfferWaitMs);
    bool number = false;
    const uint value = reply.isValid() ? reply.value().variant().toUInt(&number) : 0;
    return number ? std::optional(value) : std::nullopt;
}

// The object path of the request that `token` names, which the portal makes from the caller's
// unique bus name: the answer may come before the call returns the path.
QString requestPath(const QString &token)
{
    QString sender = bus().baseService().mid(1);
    sender.replace(u'.', u'_');
    return DesktopPath + u"/request/"_qs + sender + u'/' + token;
}

// A pair of integers, (ii), as a structure in a variant map's value.
QPoint pairOf(const QVariant &value)
{
    int first = 0, second = 0;
    if (value.userType() == qMetaTypeId<QDBusArgument>()) {
        const auto argument = value.value<QDBusArgument>();
        if (argument.currentType() == QDBusArgument::StructureType) {
            argument.beginStructure();
            argument >> first >> second;
            argument.endStructure();
        }
    }
    return {first, second};
}

// A name for a request or a session, which the portal makes part of an object path of the
// caller's: unique across the caller's connection, which other instances may share.
QString newToken()
{
    return u"tockwell%1"_qs.arg(QRandomGenerator::global()->generate64());
}

QString portalFailed(const QString &error)
{
    return u"portal pulpitu (org.freedesktop.portal.RemoteDesktop) odmówił: %1"_qs.arg(error);
}

} // namespace

PortalRemoteDesktop::PortalRemoteDesktop(std::chrono::milliseconds answerWait)
    : m_answerWait(answerWait)
{}

PortalRemoteDesktop::~PortalRemoteDesktop()
{
    if (!m_session.isEmpty())
        bus().call(
            QDBusMessage::createMethodCall(Service, m_session, SessionInterface, u"Close"_qs),
            QDBus::NoBlock);
}

PortalRemoteDesktop::Offer PortalRemoteDesktop::offered()
{
    const std::optional<uint> devices = portalProperty(RemoteDesktop, u"AvailableDeviceTypes"_qs);
    if (!devices)
        return {};
    const std::optional<uint> sources = portalProperty(ScreenCast, u"AvailableSourceTypes"_qs);
    return {(*devices & KeyboardDevice) != 0,
            (*devices & PointerDevice) != 0 && sources && (*sources & MonitorSource) != 0};
}

QString PortalRemoteDesktop::open(bool withPointer)
{
    if (!m_session.isEmpty() || !m_refusal.isEmpty())
        return m_refusal;
    // Asked again while the user is still answering (the wait runs the event loop).
    if (m_opening)
        return u"pulpit wciąż czeka na zgodę użytkownika"_qs;
    m_opening = true;
    m_refusal = openSession(withPointer);
    m_opening = false;
    return m_refusal;
}

QString PortalRemoteDesktop::openSession(bool withPointer)
{
    const std::optional<QVariantMap> made =
        request(RemoteDesktop, u"CreateSession"_qs, {}, {{u"session_handle_token"_qs, newToken()}});
    if (!made)
        return m_refusal;
    const QString session = made->value(u"session_handle"_qs).toString();
    if (session.isEmpty())
        return portalFailed(u"brak sesji"_qs);
    const QDBusObjectPath handle(session);
    QVariantMap devices{{u"types"_qs, KeyboardDevice | PointerDevice}};
    // Before version 2 the portal keeps no grant: it asks at every run.
    if (portalProperty(RemoteDesktop, u"version"_qs).value_or(1) >= 2) {
        devices.insert(u"persist_mode"_qs, PersistUntilRevoked);
        if (const QString token = m_keeper.read ? m_keeper.read() : QString(); !token.isEmpty())
            devices.insert(u"restore_token"_qs, token);
    }
    if (!request(RemoteDesktop, u"SelectDevices"_qs, {QVariant::fromValue(handle)}, devices))
        return m_refusal;
    // The monitors' streams, on which the pointer is placed; a portal without screen casts
    // still takes keys.
    if (withPointer && !request(ScreenCast, u"SelectSources"_qs, {QVariant::fromValue(handle)},
                                {{u"types"_qs, MonitorSource}, {u"multiple"_qs, true}}))
        return m_refusal;
    const std::optional<QVariantMap> started =
        request(RemoteDesktop, u"Start"_qs, {QVariant::fromValue(handle), QString()}, {});
    if (!started)
        return m_refusal;
    m_session = session;
    m_streams = streamsOf(started->value(u"streams"_qs));
    keepToken(*started);
    return {};
}

std::optional<QVariantMap> PortalRemoteDesktop::request(const QString &interface,
                                                        const QString &method,
                                                        QVariantList arguments, QVariantMap options)
{
    const QString token = newToken();
    options.insert(u"handle_token"_qs, token);
    arguments.append(options);
    const QString path = requestPath(token);
    const char *const slot = SLOT(onResponse(uint, QVariantMap));
    bus().connect(Service, path, RequestInterface, u"Response"_qs, this, slot);
    m_answer.reset();
    QDBusMessage call = QDBusMessage::createMethodCall(Service, DesktopPath, interface, method);
    call.setArguments(arguments);
    const QDBusMessage reply = bus().call(call);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        bus().disconnect(Service, path, RequestInterface, u"Response"_qs, this, slot);
        m_refusal = portalFailed(reply.errorMessage());
        return std::nullopt;
    }
    if (!m_answer) {
        QEventLoop loop;
        QTimer::singleShot(m_answerWait, &loop, &QEventLoop::quit);
        connect(this, &PortalRemoteDesktop::answered, &loop, &QEventLoop::quit);
        loop.exec();
    }
    bus().disconnect(Service, path, RequestInterface, u"Response"_qs, this, slot);
    if (!m_answer) {
        // Nobody answered: the question goes away.
        bus().call(QDBusMessage::createMethodCall(Service, path, RequestInterface, u"Close"_qs),
                   QDBus::NoBlock);
        m_refusal = u"nikt nie odpowiedział na pytanie pulpitu o zgodę"_qs;
        return std::nullopt;
    }
    const auto [code, results] = *std::exchange(m_answer, std::nullopt);
    if (code == Granted)
        return results;
    m_refusal = code == Cancelled ? u"użytkownik nie zgodził się na to w oknie pulpitu"_qs
                                  : portalFailed(u"błąd %1"_qs.arg(code));
    return std::nullopt;
}

void PortalRemoteDesktop::onResponse(uint code, const QVariantMap &results)
{
    m_answer.emplace(code, results);
    emit answered();
}

void PortalRemoteDesktop::keepToken(const QVariantMap &results)
{
    // A token serves once: each start hands out the next one.
    const QString token = results.value(u"restore_token"_qs).toString();
    if (!token.isEmpty() && m_keeper.write)
        m_keeper.write(token);
}

std::vector<PortalRemoteDesktop::Stream> PortalRemoteDesktop::streamsOf(const QVariant &streams)
{
    std::vector<Stream> found;
    if (streams.userType() != qMetaTypeId<QDBusArgument>())
        return found;
    const auto argument = streams.value<QDBusArgument>();
    if (argument.currentType() != QDBusArgument::ArrayType)
        return found;
    argument.beginArray();
    while (!argument.atEnd()) {
        uint node = 0;
        QVariantMap properties;
        argument.beginStructure();
        argument >> node >> properties;
        argument.endStructure();
        const QPoint size = pairOf(properties.value(u"size"_qs));
        found.push_back(
            {node, QRect(pairOf(properties.value(u"position"_qs)), QSize(size.x(), size.y()))});
    }
    argument.endArray();
    return found;
}

void PortalRemoteDesktop::notify(const QString &method, const QVariantList &arguments)
{
    if (m_session.isEmpty())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(Service, DesktopPath, RemoteDesktop, method);
    call.setArguments(QVariantList{QVariant::fromValue(QDBusObjectPath(m_session)), QVariantMap()} +
                      arguments);
    bus().call(call);
}

void PortalRemoteDesktop::pressKeys(const KeyCombination &keys)
{
    sendKeyEvents(keys, [this](quint32 keysym, bool down) {
        notify(u"NotifyKeyboardKeysym"_qs, {int(keysym), uint(down)});
    });
}

void PortalRemoteDesktop::movePointer(QPoint pos)
{
    if (m_streams.empty())
        return;
    // The monitor that holds the point; a point off every monitor goes to the first one's edge.
    auto stream = std::find_if(m_streams.cbegin(), m_streams.cend(),
                               [&](const Stream &each) { return each.area.contains(pos); });
    if (stream == m_streams.cend())
        stream = m_streams.cbegin();
    const QRect &area = stream->area;
    const QPoint onStream(std::clamp(pos.x(), area.left(), std::max(area.left(), area.right())),
                          std::clamp(pos.y(), area.top(), std::max(area.top(), area.bottom())));
    notify(u"NotifyPointerMotionAbsolute"_qs,
           {stream->node, double(onStream.x() - area.left()), double(onStream.y() - area.top())});
}

void PortalRemoteDesktop::leftButton(bool down)
{
    notify(u"NotifyPointerButton"_qs, {LeftButton, uint(down)});
}

} // namespace tockwell::platform
