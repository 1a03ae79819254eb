// Prints how long the media player takes to open and time a sound, and from play to the first
// buffer at the sink. The sounds are made here: a 3-minute MP3 (sox, lame) and a minute of MIDI.
// The sink is `fakeaudiosink sync=true`, which keeps real time without a sound card. Like the
// program, the benchmark does not link GStreamer: the first open loads the sound library and
// GStreamer with it, and the sink's hook is looked up in the library GStreamer came with.

#include "platform/linux/LinuxMediaPlayer.h"
#include "platform/linux/SoundLibrary.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <dlfcn.h>
#include <functional>
#include <gst/gst.h>
#include <vector>

using namespace tockwell::platform;

namespace {

constexpr int Runs = 11;
std::atomic<qint64> firstBufferAt{-1};
QElapsedTimer sinceStart;

gboolean onHandoff(GSignalInvocationHint *, guint, const GValue *, gpointer)
{
    qint64 none = -1;
    firstBufferAt.compare_exchange_strong(none, sinceStart.nsecsElapsed());
    return TRUE;
}

bool run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(120000) && process.exitCode() == 0;
}

/// A minute of a scale on a piano: 120 notes of half a second, 480 ticks a beat at 120 bpm.
QByteArray minuteOfMidi()
{
    QByteArray track = QByteArray::fromHex("00FF510307A12000C000");
    for (int i = 0; i < 120; ++i) {
        const char note = char(60 + i % 12);
        track += '\0';
        track += '\x90';
        track += note;
        track += '\x64';
        track += QByteArray::fromHex("8360"); // 480 ticks
        track += '\x80';
        track += note;
        track += '\x40';
    }
    track += QByteArray::fromHex("00FF2F00");
    QByteArray file = QByteArray::fromHex("4D546864000000060000000101E0") + "MTrk";
    const auto size = quint32(track.size());
    for (int shift = 24; shift >= 0; shift -= 8)
        file += char(size >> shift);
    return file + track;
}

/// The GStreamer functions that the hook needs, from the copy the sound library loaded.
struct Gst
{
    using FactoryMake = GstElement *(*)(const gchar *, const gchar *);
    using RefSink = gpointer (*)(gpointer);
    using Unref = void (*)(gpointer);
    using SignalLookup = guint (*)(const gchar *, GType);
    using AddHook = gulong (*)(guint, GQuark, GSignalEmissionHook, gpointer, GDestroyNotify);
    FactoryMake factoryMake = nullptr;
    RefSink refSink = nullptr;
    Unref unref = nullptr;
    SignalLookup signalLookup = nullptr;
    AddHook addHook = nullptr;

    bool load()
    {
        void *gstreamer = dlopen("libgstreamer-1.0.so.0", RTLD_NOW | RTLD_NOLOAD);
        void *gobject = dlopen("libgobject-2.0.so.0", RTLD_NOW | RTLD_NOLOAD);
        if (!gstreamer || !gobject)
            return false;
        factoryMake = reinterpret_cast<FactoryMake>(dlsym(gstreamer, "gst_element_factory_make"));
        refSink = reinterpret_cast<RefSink>(dlsym(gstreamer, "gst_object_ref_sink"));
        unref = reinterpret_cast<Unref>(dlsym(gstreamer, "gst_object_unref"));
        signalLookup = reinterpret_cast<SignalLookup>(dlsym(gobject, "g_signal_lookup"));
        addHook = reinterpret_cast<AddHook>(dlsym(gobject, "g_signal_add_emission_hook"));
        return factoryMake && refSink && unref && signalLookup && addHook;
    }
};

double median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + long(values.size() / 2), values.end());
    return values[values.size() / 2];
}

double ms(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

void report(const char *what, double value, double target)
{
    std::printf("%-58s %8.1f ms  (target %g ms)%s\n", what, value, target,
                value <= target ? "" : "  OVER");
}

/// Plays the open sound and waits for its first buffer at the sink; the time in ms.
double playToFirstBuffer(MediaPlayer &player)
{
    firstBufferAt = -1;
    const qint64 start = sinceStart.nsecsElapsed();
    player.play(false);
    while (firstBufferAt.load() < 0 && sinceStart.nsecsElapsed() - start < 5'000'000'000)
        QThread::usleep(200);
    const double took = double(firstBufferAt.load() - start) / 1e6;
    player.stop(false);
    return took;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    sinceStart.start();
    QTemporaryDir dir;
    const QString wav = dir.filePath(QStringLiteral("long.wav"));
    const QString mp3 = dir.filePath(QStringLiteral("long.mp3"));
    const QString midi = dir.filePath(QStringLiteral("minute.mid"));
    std::printf("Making a 3-minute MP3 ...\n");
    if (!run(QStringLiteral("sox"),
             {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"),
              QStringLiteral("-c"), QStringLiteral("2"), wav, QStringLiteral("synth"),
              QStringLiteral("180"), QStringLiteral("sine"), QStringLiteral("440")}) ||
        !run(QStringLiteral("lame"),
             {QStringLiteral("--quiet"), QStringLiteral("-b"), QStringLiteral("128"), wav, mp3})) {
        std::fprintf(stderr, "sox and lame are needed\n");
        return 1;
    }
    QFile midiFile(midi);
    if (!midiFile.open(QIODevice::WriteOnly) || midiFile.write(minuteOfMidi()) < 0)
        return 1;
    midiFile.close();

    const auto library = std::make_shared<SoundLibrary>(QStringLiteral(TOCKWELL_SOUND_LIBRARY));
    LinuxMediaPlayer player(library,
                            QStringLiteral("fakeaudiosink sync=true signal-handoffs=true"));
    QElapsedTimer timer;
    timer.start();
    if (!library->backend()) {
        std::fprintf(stderr, "%s\n", qPrintable(library->error()));
        return 1;
    }
    report("first sound: loading the sound library", ms(timer), 150);
    player.open(mp3);
    const qint64 firstLength = player.length();
    report("first open + length of the MP3 (with the library, loads GStreamer)", ms(timer), 150);

    // Every buffer that reaches a fakeaudiosink passes this hook.
    Gst gst;
    if (!gst.load()) {
        std::fprintf(stderr, "the sound library did not load GStreamer\n");
        return 1;
    }
    GstElement *probe = gst.factoryMake("fakeaudiosink", nullptr);
    const guint handoff = probe ? gst.signalLookup("handoff", G_OBJECT_TYPE(probe)) : 0;
    if (probe)
        gst.unref(gst.refSink(probe));
    if (!handoff) {
        std::fprintf(stderr, "fakeaudiosink has no handoff signal\n");
        return 1;
    }
    gst.addHook(handoff, 0, onHandoff, nullptr, nullptr);

    for (const auto &[name, file] : {std::pair{"MP3, 3 minutes", mp3}, std::pair{"MIDI", midi}}) {
        std::vector<double> opens, plays, alarms;
        qint64 length = 0;
        for (int i = 0; i < Runs; ++i) {
            timer.restart();
            if (const auto error = player.open(file)) {
                std::fprintf(stderr, "%s: %s\n", name, qPrintable(*error));
                return 1;
            }
            length = player.length();
            opens.push_back(ms(timer));
            plays.push_back(playToFirstBuffer(player));
            // The alarm: open, then play at once.
            const qint64 start = sinceStart.nsecsElapsed();
            player.open(file);
            playToFirstBuffer(player);
            alarms.push_back(double(firstBufferAt.load() - start) / 1e6);
        }
        std::printf("%s: length %lld ms\n", name, static_cast<long long>(length));
        report(qPrintable(QStringLiteral("  open + length (median of %1)").arg(Runs)),
               median(opens), 150);
        report("  play to the first buffer at the sink (median)", median(plays), 100);
        std::printf("%-58s %8.1f ms\n", "  alarm: open, then play to the first buffer (median)",
                    median(alarms));
    }
    std::printf("(first MP3 length %lld ms)\n", static_cast<long long>(firstLength));
    return 0;
}
