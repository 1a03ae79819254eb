#pragma once

#include <QSocketNotifier>

#include <memory>

namespace tockwell {

/// Ends the event loop when the process is asked to end (SIGTERM from the session or `kill`,
/// SIGINT, SIGHUP), so that the program ends as after "Zamknij": its forms are destroyed and
/// nothing it set in the system (a lock on sleep, a wake time) stays behind. One instance, made
/// after the application object.
class TerminationSignals final
{
public:
    TerminationSignals();
    TerminationSignals(const TerminationSignals &) = delete;
    TerminationSignals &operator=(const TerminationSignals &) = delete;
    ~TerminationSignals();

private:
    int m_readEnd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace tockwell
