// The volume without a sound server and the beep, which must never hold up its caller
// (tst_volume sets the volume on a real sound server).
#include "platform/linux/LinuxAudio.h"

#include <QElapsedTimer>
#include <QTest>

using namespace tockwell::platform;

class TestLinuxAudio : public QObject
{
    Q_OBJECT

private slots:
    void volumeWithoutASoundServerGivesUpQuickly()
    {
        qputenv("PULSE_SERVER", "unix:/nonexistent/tockwell/native");
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!maximisePulseVolume(std::chrono::milliseconds(2000)));
        QVERIFY(timer.elapsed() < 2500);
        LinuxAudio audio;
        audio.maximiseVolume(); // falls back to ALSA, which may or may not have a mixer
        qunsetenv("PULSE_SERVER");
    }

    void beepReturnsAtOnceAndRepeats()
    {
        LinuxAudio audio;
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < 3; ++i)
            audio.beep();
        QVERIFY(timer.elapsed() < 1000);
        QTest::qWait(400); // the tone ends and the pipeline is released
    }
};

QTEST_MAIN(TestLinuxAudio)
#include "tst_linuxaudio.moc"
