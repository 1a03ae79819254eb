// The GStreamer media player with real files made here (sox, lame, a MIDI file written byte by
// byte), played into a sink that keeps real time without a sound card.
#include "platform/linux/LinuxMediaPlayer.h"
#include "platform/linux/SoundLibrary.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace tockwell::platform;

Q_DECLARE_METATYPE(tockwell::platform::MediaNotification)

namespace {

const QString TestSink = u"fakeaudiosink sync=true"_qs;
constexpr int Patience = 10000; // ms: far beyond any sound here

bool run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

/// Half a second of middle C on a piano at 120 beats a minute, 480 ticks a beat.
QByteArray halfSecondMidi()
{
    const QByteArray track = QByteArray::fromHex("00FF510307A120" // tempo 500000 µs a beat
                                                 "00C000"         // program 0: piano
                                                 "00903C64"       // note on
                                                 "8360803C40"     // 480 ticks later: note off
                                                 "00FF2F00");     // end of track
    QByteArray file = QByteArray::fromHex("4D546864000000060000000101E0"); // MThd: format 0
    file += "MTrk";
    const auto size = quint32(track.size());
    file += char(size >> 24);
    file += char(size >> 16);
    file += char(size >> 8);
    file += char(size);
    return file + track;
}

} // namespace

class TestMediaPlayer : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    const std::shared_ptr<SoundLibrary> m_library =
        std::make_shared<SoundLibrary>(QStringLiteral(TOCKWELL_SOUND_LIBRARY));
    QString m_longWav, m_longMp3, m_shortWav, m_shortMp3, m_midi, m_brokenWav, m_brokenMid;

    QString path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    static QList<MediaNotification> values(const QSignalSpy &spy)
    {
        QList<MediaNotification> list;
        for (const QList<QVariant> &arguments : spy)
            list.append(arguments.at(0).value<MediaNotification>());
        return list;
    }

private slots:
    void initTestCase()
    {
        qRegisterMetaType<MediaNotification>();
        QVERIFY(m_dir.isValid());
        m_longWav = path("long.wav");
        m_longMp3 = path("long.mp3");
        m_shortWav = path("short.wav");
        m_shortMp3 = path("short.mp3");
        m_midi = path("tune.mid");
        m_brokenWav = path("broken.wav");
        m_brokenMid = path("broken.MID");
        const auto tone = [](const QString &file, const char *seconds) {
            return run(u"sox"_qs,
                       {u"-n"_qs, u"-r"_qs, u"44100"_qs, u"-c"_qs, u"1"_qs, u"-b"_qs, u"16"_qs,
                        file, u"synth"_qs, QString::fromLatin1(seconds), u"sine"_qs, u"440"_qs});
        };
        QVERIFY(tone(m_longWav, "5"));
        QVERIFY(tone(m_shortWav, "0.6"));
        QVERIFY(run(u"lame"_qs, {u"--quiet"_qs, u"-b"_qs, u"128"_qs, m_longWav, m_longMp3}));
        QVERIFY(run(u"lame"_qs, {u"--quiet"_qs, u"-b"_qs, u"128"_qs, m_shortWav, m_shortMp3}));
        writeFile(m_midi, halfSecondMidi());
        writeFile(m_brokenWav, QByteArray(4000, '\x5a'));
        writeFile(m_brokenMid, QByteArray("MThd") + QByteArray(200, '\x01'));
    }

    void lengthWithinTwoPercent_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("WAV") << m_longWav;
        QTest::newRow("MP3") << m_longMp3;
    }
    void lengthWithinTwoPercent()
    {
        QFETCH(QString, file);
        LinuxMediaPlayer player(m_library, TestSink);
        QCOMPARE(player.open(file), std::nullopt);
        QVERIFY(player.isOpen());
        QCOMPARE(player.mode(), MediaMode::Stopped);
        const qint64 length = player.length();
        QVERIFY2(qAbs(length - 5000) <= 100, qPrintable(QString::number(length)));
    }

    void playsToTheEndWithOneSuccessfulNotification_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("atLeast"); // ms of real time the play must take
        QTest::newRow("WAV") << m_shortWav << 500;
        QTest::newRow("MP3") << m_shortMp3 << 500;
        QTest::newRow("MIDI") << m_midi << 400;
    }
    void playsToTheEndWithOneSuccessfulNotification()
    {
        QFETCH(QString, file);
        QFETCH(int, atLeast);
        LinuxMediaPlayer player(m_library, TestSink);
        QCOMPARE(player.open(file), std::nullopt);
        QVERIFY(player.length() > 0);
        QSignalSpy spy(&player, &MediaPlayer::notified);
        QElapsedTimer clock;
        clock.start();
        player.play(true);
        QCOMPARE(player.mode(), MediaMode::Playing);
        QTRY_COMPARE_WITH_TIMEOUT(spy.size(), 1, Patience);
        QVERIFY2(clock.elapsed() >= atLeast, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(values(spy), QList{MediaNotification::Successful});
        QCOMPARE(player.mode(), MediaMode::Stopped);
        QTest::qWait(300);
        QCOMPARE(spy.size(), 1);
    }

    void playAfterTheEndStartsAgainFromTheStart()
    {
        LinuxMediaPlayer player(m_library, TestSink);
        QCOMPARE(player.open(m_shortWav), std::nullopt);
        QSignalSpy spy(&player, &MediaPlayer::notified);
        player.play(true);
        QTRY_COMPARE_WITH_TIMEOUT(spy.size(), 1, Patience);
        QElapsedTimer clock;
        clock.start();
        player.play(true);
        QTRY_COMPARE_WITH_TIMEOUT(spy.size(), 2, Patience);
        QVERIFY2(clock.elapsed() >= 500, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(values(spy), QList<MediaNotification>(2, MediaNotification::Successful));
    }

    void stopGivesOneAbortedAndPlaysNoFurther()
    {
        LinuxMediaPlayer player(m_library, TestSink);
        QCOMPARE(player.open(m_longWav), std::nullopt);
        QSignalSpy spy(&player, &MediaPlayer::notified);
        player.play(true);
        QTest::qWait(200);
        player.stop(false);
        QCOMPARE(player.mode(), MediaMode::Stopped);
        QTRY_COMPARE_WITH_TIMEOUT(spy.size(), 1, Patience);
        QCOMPARE(values(spy), QList{MediaNotification::Aborted});
        QTest::qWait(500);
        QCOMPARE(spy.size(), 1);
    }

    void pauseHoldsAndResumeContinues()
    {
        LinuxMediaPlayer player(m_library, TestSink);
        QCOMPARE(player.open(m_shortWav), std::nullopt);
        QSignalSpy spy(&player, &MediaPlayer::notified);
        player.play(true);
        QTest::qWait(200);
        player.pause();
        QCOMPARE(player.mode(), MediaMode::Paused);
        QTest::qWait(800); // longer than the rest of the sound: a pause holds
        QCOMPARE(spy.size(), 0);
        QElapsedTimer clock;
        clock.start();
        player.resume(true);
        QCOMPARE(player.mode(), MediaMode::Playing);
        QTRY_COMPARE_WITH_TIMEOUT(spy.size(), 1, Patience);
        // The rest of the sound, not all of it again.
        QVERIFY2(clock.elapsed() >= 200 && clock.elapsed() < 2000,
                 qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(values(spy), QList{MediaNotification::Successful});
    }

    void aNewPlayWithNotificationSupersedesThePendingOne()
    {
        LinuxMediaPlayer player(m_library, TestSink);
        QCOMPARE(player.open(m_shortWav), std::nullopt);
        QSignalSpy spy(&player, &MediaPlayer::notified);
        player.play(true);
        player.play(true);
        QTRY_COMPARE_WITH_TIMEOUT(spy.size(), 2, Patience);
        QCOMPARE(values(spy),
                 (QList{MediaNotification::Superseded, MediaNotification::Successful}));
    }

    void openingAnotherFileAbortsThePlayAndStartsStopped()
    {
        LinuxMediaPlayer player(m_library, TestSink);
        QCOMPARE(player.open(m_longWav), std::nullopt);
        QSignalSpy spy(&player, &MediaPlayer::notified);
        player.play(true);
        QTest::qWait(100);
        QCOMPARE(player.open(m_shortWav), std::nullopt);
        QCOMPARE(player.mode(), MediaMode::Stopped);
        QTRY_COMPARE_WITH_TIMEOUT(spy.size(), 1, Patience);
        QCOMPARE(values(spy), QList{MediaNotification::Aborted});
        QVERIFY(qAbs(player.length() - 600) <= 20);
    }

    void filesThatCannotBeOpenedGiveTheDeviceErrorAndLeaveNoneOpen_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("broken WAV") << m_brokenWav;
        QTest::newRow("broken MIDI") << m_brokenMid;
        QTest::newRow("missing") << path("missing.mp3");
    }
    void filesThatCannotBeOpenedGiveTheDeviceErrorAndLeaveNoneOpen()
    {
        QFETCH(QString, file);
        LinuxMediaPlayer player(m_library, TestSink);
        QCOMPARE(player.open(m_shortWav), std::nullopt);
        const std::optional<QString> error = player.open(file);
        QVERIFY(error.has_value());
        QVERIFY(!error->isEmpty());
        QVERIFY(!player.isOpen());
        QCOMPARE(player.length(), 0);
        player.play(true); // nothing open: nothing happens
        QCOMPARE(player.mode(), MediaMode::NotOpen);
    }

    void aSoundLibraryOfAnotherBuildIsRefused()
    {
        LibraryBackend<sound::Backend> other(QStringLiteral(TOCKWELL_SOUND_LIBRARY),
                                             sound::EntryPoint, sound::InterfaceVersion + 1);
        QCOMPARE(other.backend(), nullptr);
        QVERIFY2(other.error().contains(u"another build"_qs), qPrintable(other.error()));
    }

    void withoutTheSoundLibraryNothingOpens()
    {
        const auto missing = std::make_shared<SoundLibrary>(path("missing/tockwell-sound.so"));
        LinuxMediaPlayer player(missing, TestSink);
        for (int i = 0; i < 2; ++i) { // tried once, refused every time
            const std::optional<QString> error = player.open(m_shortWav);
            QVERIFY(error.has_value());
            QVERIFY2(error->contains(u"tockwell-sound.so"_qs), qPrintable(*error));
            QVERIFY(!player.isOpen());
        }
    }
};

QTEST_GUILESS_MAIN(TestMediaPlayer)
#include "tst_mediaplayer.moc"
