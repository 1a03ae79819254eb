// Full volume against a PulseAudio server of the test's own with a null sink.
#include "platform/linux/LinuxAudio.h"
#include "platform/linux/SoundLibrary.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace tockwell::platform;

class TestVolume : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(u"pulseaudio"_qs).isEmpty() ||
            QStandardPaths::findExecutable(u"pactl"_qs).isEmpty())
            QSKIP("pulseaudio and pactl are not installed");
        QVERIFY(m_dir.isValid());
        const QString socket = m_dir.filePath(u"native"_qs);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString &name : {u"HOME"_qs, u"XDG_RUNTIME_DIR"_qs, u"PULSE_RUNTIME_PATH"_qs})
            environment.insert(name, m_dir.path());
        environment.remove(u"DISPLAY"_qs);
        m_server.setProcessEnvironment(environment);
        m_server.setProcessChannelMode(QProcess::MergedChannels);
        m_server.start(u"pulseaudio"_qs,
                       {u"-n"_qs, u"--daemonize=no"_qs, u"--exit-idle-time=-1"_qs,
                        u"--use-pid-file=no"_qs, u"--disable-shm=yes"_qs, u"-L"_qs,
                        u"module-native-protocol-unix auth-anonymous=1 socket="_qs + socket,
                        u"-L"_qs, u"module-null-sink sink_name=tockwell_null"_qs});
        QVERIFY(m_server.waitForStarted());
        qputenv("PULSE_SERVER", (u"unix:"_qs + socket).toUtf8());
        QTRY_VERIFY_WITH_TIMEOUT(pactl({u"info"_qs}).contains("tockwell_null"), 15000);
    }

    void defaultOutputEndsAtFullVolumeAndHeard_data()
    {
        QTest::addColumn<QString>("mute");
        QTest::newRow("not muted") << u"0"_qs;
        QTest::newRow("muted") << u"1"_qs;
    }
    void defaultOutputEndsAtFullVolumeAndHeard()
    {
        QFETCH(QString, mute);
        pactl({u"set-sink-volume"_qs, u"@DEFAULT_SINK@"_qs, u"30%"_qs});
        pactl({u"set-sink-mute"_qs, u"@DEFAULT_SINK@"_qs, mute});
        QVERIFY(pactl({u"get-sink-volume"_qs, u"@DEFAULT_SINK@"_qs}).contains(" 30% "));
        LinuxAudio(std::make_shared<SoundLibrary>(QStringLiteral(TOCKWELL_SOUND_LIBRARY)))
            .maximiseVolume();
        const QByteArray volume = pactl({u"get-sink-volume"_qs, u"@DEFAULT_SINK@"_qs});
        QVERIFY2(volume.count(" 100% ") == 2, volume.constData()); // both channels
        const QByteArray muted = pactl({u"get-sink-mute"_qs, u"@DEFAULT_SINK@"_qs});
        QVERIFY2(muted.contains("no"), muted.constData());
    }

    void cleanupTestCase()
    {
        m_server.kill();
        m_server.waitForFinished();
        qunsetenv("PULSE_SERVER");
    }

private:
    static QByteArray pactl(const QStringList &arguments)
    {
        QProcess process;
        process.start(u"pactl"_qs, arguments);
        process.waitForFinished(5000);
        return process.readAllStandardOutput();
    }

    QTemporaryDir m_dir;
    QProcess m_server;
};

QTEST_GUILESS_MAIN(TestVolume)
#include "tst_volume.moc"
