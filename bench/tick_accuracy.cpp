// Prints how accurate the alarm tick is on its real path: a precise 1000 ms QTimer, as the main
// form runs its tick timer (`t_TimerGlowny`), and AlarmTick with the system clock.
//
//   1. One timer ticks for DURATION seconds. Every tick's wall-clock time is kept: how many
//      wall-clock seconds saw no tick, and how late the ticks were against their schedule. The
//      phase of the ticks within the second is whatever arming gave; the same ticks are then
//      replayed at every phase (0.1 ms steps) to show at how many a second would be skipped.
//   2. TRIALS clock-time alarms, armed at random moments while the timer above ticks, each on a
//      timer of its own (as Start arms one: the tick reset, the timer started with the delay
//      that AlarmTick gives, re-aligned to the wall-clock second at each tick as the main form
//      does), with a target second 1 to 10 s ahead. A trial ends when AlarmTick reports the
//      alarm due: in its target second ("in its second"), in a later one thanks to the seconds
//      counted since the previous tick ("caught up"), or not by 3 s after it ("missed"). How
//      long after the beginning of its second each alarm fired is printed (median, 99th
//      percentile, max), and how many ticks each armed second had.
//
// Usage: tick_accuracy [DURATION_SECONDS=600] [TRIALS=200]
//   (environment: TICK_ALIGN=0 arms the trials with a plain 1000 ms timer instead, for a
//   comparison with a tick whose phase is wherever the alarm was armed)

#include "core/ArmedAlarm.h"
#include "engine/AlarmTick.h"
#include "engine/Clock.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <numeric>
#include <random>
#include <vector>

using namespace tockwell;

namespace {

using Steady = std::chrono::steady_clock;
using Wall = std::chrono::system_clock;

double msSinceEpoch(Wall::time_point time)
{
    return std::chrono::duration<double, std::milli>(time.time_since_epoch()).count();
}

double msSinceEpoch(Steady::time_point time)
{
    return std::chrono::duration<double, std::milli>(time.time_since_epoch()).count();
}

/// The tick as the main form sets it up.
void setUpTick(QTimer &timer)
{
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(1000);
}

/// The system clock, remembering what it told last.
class SeenClock final : public Clock
{
public:
    QDateTime now() const override
    {
        m_last = m_system.now();
        return m_last;
    }
    const QDateTime &last() const { return m_last; }

private:
    SystemClock m_system;
    mutable QDateTime m_last;
};

struct Tick
{
    double steadyMs;
    double wallMs;
};

/// Wall-clock seconds from the first tick's to the last tick's without a tick.
int secondsWithoutTick(const std::vector<double> &wallMs)
{
    int missing = 0;
    auto previous = static_cast<long long>(std::floor(wallMs.front() / 1000));
    for (const double ms : wallMs) {
        const auto second = static_cast<long long>(std::floor(ms / 1000));
        missing += int(std::max(0LL, second - previous - 1));
        previous = second;
    }
    return missing;
}

/// The ticks of one timer: when they came, against when they were due.
class TickRecorder
{
public:
    TickRecorder()
    {
        setUpTick(m_timer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { record(); });
    }

    void start()
    {
        m_start = Steady::now();
        m_timer.start();
    }
    void stop() { m_timer.stop(); }

    const std::vector<Tick> &ticks() const { return m_ticks; }

    /// How late each tick came after its place in the schedule, in ms.
    std::vector<double> lateness() const
    {
        std::vector<double> late;
        for (std::size_t k = 0; k < m_ticks.size(); ++k)
            late.push_back(m_ticks[k].steadyMs - msSinceEpoch(m_start) - 1000.0 * double(k + 1));
        return late;
    }

private:
    void record() { m_ticks.push_back({msSinceEpoch(Steady::now()), msSinceEpoch(Wall::now())}); }

    QTimer m_timer;
    Steady::time_point m_start;
    std::vector<Tick> m_ticks;
};

/// Of `steps` phases spread over the second, those at which the recorded ticks would leave a
/// wall-clock second without a tick. The lateness and the drift of the wall clock against the
/// monotonic one are kept as they were; only the start moves.
int phasesSkippingASecond(const std::vector<Tick> &ticks, int steps)
{
    int skipping = 0;
    std::vector<double> shifted(ticks.size());
    const double first = ticks.front().wallMs;
    const double firstPhase = std::fmod(first, 1000.0);
    for (int step = 0; step < steps; ++step) {
        const double phase = 1000.0 * step / steps;
        // A whole day of seconds ahead keeps every time positive.
        const double shift = phase - firstPhase + 86'400'000.0;
        for (std::size_t k = 0; k < ticks.size(); ++k)
            shifted[k] = ticks[k].wallMs + shift;
        skipping += secondsWithoutTick(shifted) > 0 ? 1 : 0;
    }
    return skipping;
}

enum class Outcome
{
    Pending,
    InSecond,
    CaughtUp,
    Missed,
    Early
};

/// One clock-time alarm, armed on a timer of its own.
class Trial
{
public:
    explicit Trial(bool aligned) : m_tick(m_clock), m_aligned(aligned)
    {
        setUpTick(m_timer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { onTick(); });
    }

    /// Arms the alarm for the second `offset` seconds after the current one.
    void arm(int offset)
    {
        const QDateTime now = QDateTime::currentDateTime();
        m_target = now.toSecsSinceEpoch() + offset;
        const QTime time = QDateTime::fromSecsSinceEpoch(m_target).time();
        m_alarm.Mode = ModeClock.toString();
        m_alarm.Hour = time.hour();
        m_alarm.Minute = time.minute();
        m_alarm.Second = time.second();
        m_tick.reset();
        if (m_aligned)
            m_timer.start(m_tick.nextTick(m_alarm));
        else
            m_timer.start();
    }

    Outcome outcome() const { return m_outcome; }
    /// Milliseconds from the start of the target second to the tick that fired.
    double firedAfterMs() const { return m_firedAfterMs; }
    /// The ticks while armed, and the wall-clock seconds from the first tick's to the last's.
    int ticks() const { return m_ticks; }
    int tickedSeconds() const { return m_ticks ? int(m_lastSecond - m_firstSecond) + 1 : 0; }
    /// The most ticks that one wall-clock second had.
    int mostTicksInASecond() const { return m_mostInASecond; }

private:
    void onTick()
    {
        if (m_aligned)
            m_timer.start(m_tick.nextTick(m_alarm));
        const bool due = m_tick.tick(m_alarm);
        const qint64 nowMs = m_clock.last().toMSecsSinceEpoch();
        const qint64 second = nowMs / 1000;
        if (m_ticks++ == 0)
            m_firstSecond = second;
        m_inThisSecond = second == m_lastSecond ? m_inThisSecond + 1 : 1;
        m_mostInASecond = std::max(m_mostInASecond, m_inThisSecond);
        m_lastSecond = second;
        if (due) {
            m_firedAfterMs = double(nowMs - m_target * 1000);
            m_outcome = second == m_target  ? Outcome::InSecond
                        : second > m_target ? Outcome::CaughtUp
                                            : Outcome::Early;
        } else if (second > m_target + 3) {
            m_outcome = Outcome::Missed;
        }
        if (m_outcome != Outcome::Pending)
            m_timer.stop();
    }

    SeenClock m_clock;
    AlarmTick m_tick;
    ArmedAlarm m_alarm;
    QTimer m_timer;
    const bool m_aligned;
    qint64 m_target = 0;
    Outcome m_outcome = Outcome::Pending;
    double m_firedAfterMs = 0;
    int m_ticks = 0;
    qint64 m_firstSecond = 0;
    qint64 m_lastSecond = 0;
    int m_inThisSecond = 0;
    int m_mostInASecond = 0;
};

double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const auto index = std::size_t(std::ceil(fraction * double(values.size()))) - 1;
    return values[std::min(index, values.size() - 1)];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int duration = argc > 1 ? std::max(5, std::atoi(argv[1])) : 600;
    const int trialCount = argc > 2 ? std::max(1, std::atoi(argv[2])) : 200;
    const bool aligned = qEnvironmentVariable("TICK_ALIGN") != u"0"_qs;
    // Arming moments spread over the run, so that few trials tick at once; a short run spreads
    // them over at least 20 s.
    const int armWindowMs = 1000 * std::max(20, duration - 12);

    std::random_device seeder;
    std::mt19937 random(seeder());
    std::uniform_int_distribution<int> armAt(0, armWindowMs);
    std::uniform_int_distribution<int> offset(1, 10);

    std::printf("tick accuracy: %d s of ticks, %d clock-time alarms armed over %d s (%s)\n",
                duration, trialCount, armWindowMs / 1000,
                aligned ? "ticks aligned to the wall-clock second"
                        : "plain 1000 ms ticks from arming");
    std::fflush(stdout);

    TickRecorder recorder;
    std::vector<std::unique_ptr<Trial>> trials;
    for (int i = 0; i < trialCount; ++i) {
        auto &trial = *trials.emplace_back(std::make_unique<Trial>(aligned));
        const int ahead = offset(random);
        QTimer::singleShot(armAt(random), Qt::PreciseTimer, &app,
                           [&trial, ahead] { trial.arm(ahead); });
    }
    const auto allDone = [&] {
        return std::none_of(trials.begin(), trials.end(),
                            [](const auto &trial) { return trial->outcome() == Outcome::Pending; });
    };
    bool ticking = true;
    QTimer::singleShot(duration * 1000 + 500, Qt::PreciseTimer, &app, [&] {
        recorder.stop();
        ticking = false;
        if (allDone())
            app.quit();
    });
    QTimer finished;
    QObject::connect(&finished, &QTimer::timeout, [&] {
        if (!ticking && allDone())
            app.quit();
    });
    finished.start(500);
    recorder.start();
    app.exec();

    const auto &ticks = recorder.ticks();
    if (ticks.size() < 2) {
        std::fprintf(stderr, "the timer did not tick\n");
        return 1;
    }
    std::vector<double> wallMs;
    for (const Tick &tick : ticks)
        wallMs.push_back(tick.wallMs);
    const std::vector<double> late = recorder.lateness();
    const double meanLate = std::accumulate(late.begin(), late.end(), 0.0) / double(late.size());
    constexpr int phaseSteps = 10000;

    std::printf("ticks: %zu in %.1f s; phase in the second %.1f ms\n", ticks.size(),
                (wallMs.back() - wallMs.front()) / 1000 + 1, std::fmod(wallMs.front(), 1000.0));
    std::printf("wall-clock seconds without a tick: %d\n", secondsWithoutTick(wallMs));
    std::printf("lateness: mean %.2f ms, 99th percentile %.2f ms, max %.2f ms\n", meanLate,
                percentile(late, 0.99), *std::max_element(late.begin(), late.end()));
    std::printf("phases at which these ticks would skip a wall-clock second: %d of %d "
                "(%.2f %%)\n",
                phasesSkippingASecond(ticks, phaseSteps), phaseSteps,
                100.0 * phasesSkippingASecond(ticks, phaseSteps) / phaseSteps);

    const auto count = [&](Outcome outcome) {
        return int(std::count_if(trials.begin(), trials.end(), [outcome](const auto &trial) {
            return trial->outcome() == outcome;
        }));
    };
    std::vector<double> caughtUpAfter;
    for (const auto &trial : trials)
        if (trial->outcome() == Outcome::CaughtUp)
            caughtUpAfter.push_back(trial->firedAfterMs());
    const int inSecond = count(Outcome::InSecond);
    std::printf("clock-time alarms: %d trials, %d in their second (%.1f %%), %d caught up at the "
                "next tick, %d missed, %d early\n",
                trialCount, inSecond, 100.0 * inSecond / trialCount, count(Outcome::CaughtUp),
                count(Outcome::Missed), count(Outcome::Early));
    if (!caughtUpAfter.empty())
        std::printf("caught up: latest %.0f ms after the start of the target second\n",
                    *std::max_element(caughtUpAfter.begin(), caughtUpAfter.end()));
    std::vector<double> firedAfter;
    int armedTicks = 0;
    int armedSeconds = 0;
    int mostInASecond = 0;
    for (const auto &trial : trials) {
        if (trial->outcome() == Outcome::InSecond || trial->outcome() == Outcome::CaughtUp)
            firedAfter.push_back(trial->firedAfterMs());
        armedTicks += trial->ticks();
        armedSeconds += trial->tickedSeconds();
        mostInASecond = std::max(mostInASecond, trial->mostTicksInASecond());
    }
    if (!firedAfter.empty())
        std::printf("fired after the start of their second: median %.0f ms, 99th percentile "
                    "%.0f ms, max %.0f ms\n",
                    percentile(firedAfter, 0.5), percentile(firedAfter, 0.99),
                    *std::max_element(firedAfter.begin(), firedAfter.end()));
    std::printf("ticks while armed: %d in %d wall-clock seconds from each alarm's first tick to "
                "its last (%.2f per second), at most %d in one second\n",
                armedTicks, armedSeconds,
                armedSeconds > 0 ? double(armedTicks) / armedSeconds : 0.0, mostInASecond);
    return 0;
}
