#pragma once

#include "../Desktop.h"
#include "../Input.h"

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QVariantMap>

#include <chrono>
#include <optional>
#include <vector>

namespace tockwell::platform {

/// The desktop's remote-desktop portal (org.freedesktop.portal.RemoteDesktop), for a Wayland
/// session whose compositor offers the program no means of its own for keys and the pointer.
///
/// One session, opened at the first need and kept to the end, takes the keyboard and the pointer,
/// with a screen cast of every monitor (org.freedesktop.portal.ScreenCast) on whose streams the
/// pointer is placed. Opening it asks the user, in the desktop's own window; the portal's restore
/// token, kept by the GrantKeeper, lets later runs open it again without asking. Each request is
/// answered by a Response signal, which is waited for in a local event loop.
class PortalRemoteDesktop final : public QObject
{
    Q_OBJECT

public:
    /// What the portal can give: keys, and a pointer with monitors to place it on.
    struct Offer
    {
        bool keyboard = false;
        bool pointer = false;
    };

    /// `answerWait`: how long the user has to answer the portal's question.
    explicit PortalRemoteDesktop(std::chrono::milliseconds answerWait = std::chrono::minutes(2));
    ~PortalRemoteDesktop() override;

    /// What the portal on the session bus offers; nothing where there is none.
    static Offer offered();
    void keepGrantsWith(GrantKeeper keeper) { m_keeper = std::move(keeper); }

    /// Opens the session unless it is open, with the monitors' screen casts for the pointer where
    /// `withPointer` says the portal can give them: empty when it is open, else why not, as a
    /// phrase for the user. A refusal is remembered for the rest of the run, so that the user is
    /// asked once.
    QString open(bool withPointer);

    void pressKeys(const KeyCombination &keys);
    /// Moves the pointer to `pos` of the layout of all monitors.
    void movePointer(QPoint pos);
    void leftButton(bool down);

signals:
    /// A request was answered.
    void answered();

private slots:
    void onResponse(uint code, const QVariantMap &results);

private:
    /// A screen-cast stream: its PipeWire node and the monitor's place in the layout.
    struct Stream
    {
        uint node = 0;
        QRect area;
    };

    QString openSession(bool withPointer);
    /// Calls `method` with `arguments` and then the options, with a handle token added, and
    /// waits for the request's answer: its results, or nothing with m_refusal set.
    std::optional<QVariantMap> request(const QString &interface, const QString &method,
                                       QVariantList arguments, QVariantMap options);
    void notify(const QString &method, const QVariantList &arguments);
    void keepToken(const QVariantMap &results);
    static std::vector<Stream> streamsOf(const QVariant &streams);

    std::chrono::milliseconds m_answerWait;
    GrantKeeper m_keeper;
    QString m_session;
    std::vector<Stream> m_streams;
    QString m_refusal;
    bool m_opening = false;
    std::optional<std::pair<uint, QVariantMap>> m_answer;
};

} // namespace tockwell::platform
