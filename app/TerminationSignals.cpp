#include "TerminationSignals.h"

#include <QCoreApplication>

#include <array>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace tockwell {
namespace {

constexpr std::array Signals{SIGTERM, SIGINT, SIGHUP};

// The one thing a signal handler may reach: the end of the pair that wakes the event loop.
volatile sig_atomic_t writeEnd = -1;

void wakeEventLoop(int)
{
    const char byte = 1;
    // Nothing to do when the pipe is full: the loop has been woken already.
    [[maybe_unused]] const auto written = ::write(writeEnd, &byte, 1);
}

} // namespace

TerminationSignals::TerminationSignals()
{
    std::array<int, 2> ends{};
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, ends.data()) != 0)
        return; // the default action still ends the program
    m_readEnd = ends[0];
    writeEnd = ends[1];
    m_notifier = std::make_unique<QSocketNotifier>(m_readEnd, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] {
        char byte = 0;
        while (::read(m_readEnd, &byte, 1) > 0) {
        }
        QCoreApplication::exit(0); // at once: quit() would first ask every window to close
    });
    struct sigaction action = {};
    action.sa_handler = wakeEventLoop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : Signals)
        ::sigaction(signal, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    if (m_readEnd < 0)
        return;
    for (const int signal : Signals)
        ::signal(signal, SIG_DFL);
    m_notifier.reset();
    ::close(writeEnd);
    writeEnd = -1;
    ::close(m_readEnd);
}

} // namespace tockwell
