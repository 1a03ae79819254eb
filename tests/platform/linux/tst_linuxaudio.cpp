// The volume without a sound server and the beep, which must never hold up its caller
// (tst_volume sets the volume on a real sound server).
#include "platform/linux/LinuxAudio.h"
#include "platform/linux/SoundLibrary.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

using namespace tockwell::platform;

class TestLinuxAudio : public QObject
{
    Q_OBJECT

private slots:
    void volumeWithoutASoundServerGivesUpQuickly()
    {
        qputenv("PULSE_SERVER", "unix:/nonexistent/tockwell/native");
        LinuxAudio audio(soundLibrary());
        QElapsedTimer timer;
        timer.start();
        audio.maximiseVolume(); // falls back to ALSA, which may or may not have a mixer
        QVERIFY(timer.elapsed() < 2500);
        qunsetenv("PULSE_SERVER");
    }

    void beepReturnsAtOnceAndRepeats_data()
    {
        QTest::addColumn<bool>("library");
        QTest::newRow("GStreamer") << true;
        QTest::newRow("no sound library: the X bell") << false;
    }
    void beepReturnsAtOnceAndRepeats()
    {
        QFETCH(bool, library);
        const QTemporaryDir dir;
        LinuxAudio audio(library ? soundLibrary()
                                 : std::make_shared<SoundLibrary>(dir.filePath(u"none.so"_qs)));
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < 3; ++i)
            audio.beep();
        QVERIFY(timer.elapsed() < 1000);
        QTest::qWait(400); // the tone ends and the pipeline is released
    }

private:
    static std::shared_ptr<SoundLibrary> soundLibrary()
    {
        return std::make_shared<SoundLibrary>(QStringLiteral(TOCKWELL_SOUND_LIBRARY));
    }
};

QTEST_MAIN(TestLinuxAudio)
#include "tst_linuxaudio.moc"
