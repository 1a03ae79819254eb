#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>
#include <map>
#include <utility>

namespace tockwell {

class Clock;

/// One timer for all that happens at each wall-clock second: the clock-time alarms' tick and the
/// setup windows' clocks, so that the program wakes once a second however many of them there
/// are. It comes a few ms after each second begins (AlarmTick::SecondOffset), is aligned afresh
/// at every second, and runs only while someone listens.
class SecondTicker final : public QObject
{
    Q_OBJECT

public:
    explicit SecondTicker(const Clock &clock, QObject *parent = nullptr);

    /// Runs `slot` of `listener` at every second from now until stopListening() or the
    /// listener's end.
    template <typename Slot> void listen(QObject *listener, Slot slot)
    {
        if (m_listeners.count(listener) != 0)
            return;
        m_listeners[listener] = {connect(this, &SecondTicker::second, listener, slot),
                                 connect(listener, &QObject::destroyed, this,
                                         [this, listener] { stopListening(listener); })};
        start();
    }
    void stopListening(QObject *listener);

    bool isRunning() const { return m_timer.isActive(); }
    /// The time until the next second's signal; only while running.
    std::chrono::milliseconds remaining() const;

signals:
    void second();

private:
    void start();
    void fire();

    const Clock &m_clock;
    QTimer m_timer;
    /// Each listener's connections: to second(), and to its end.
    std::map<QObject *, std::pair<QMetaObject::Connection, QMetaObject::Connection>> m_listeners;
};

} // namespace tockwell
