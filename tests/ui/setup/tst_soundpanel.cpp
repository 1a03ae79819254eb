// The sound panel of the setup window over the recording media player: the file checks, the
// playing-time text, the test player's buttons, the loop rule, Start's and Stop's player steps
// and the alarm sound.
#include "core/ArmedAlarm.h"
#include "core/Error.h"
#include "platform/recording/RecordingMediaPlayer.h"
#include "platform/recording/RecordingPlatform.h"
#include "settings/Keys.h"
#include "settings/RecentList.h"
#include "settings/Store.h"
#include "support/Controls.h"
#include "support/FakeClock.h"
#include "support/FakeSetupHost.h"
#include "ui/setup/FileNameEdit.h"
#include "ui/setup/SetupWindow.h"
#include "ui/setup/SoundPlayer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace tockwell;
using platform::MediaMode;
using platform::Recorder;

namespace {

const QString FormatMessage =
    u"MessageBox \"Wybrany format pliku jest niepoprawny.\\rWybierz inny plik lub upewnij się, "
    "czy wybrany plik ma rozszerzenie typu WAV lub MP3\" \"Tockwell\" 0x0 -> 1"_qs;

QString errorBox(const QString &text)
{
    return u"MessageBox "_qs + Recorder::quoted(text) + u" \"Tockwell\" 0x10 -> 1"_qs;
}

QString openError(const QString &extension)
{
    return errorBox(u"Nie mogę otworzyć pliku o rozszerzeniu \""_qs + extension +
                    u"\" Sprawdź czy plik nie jest uszkodzony lub czy jego format danych jest "
                    "prawidłowy."_qs);
}

} // namespace

class TestSoundPanel : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<StoreFile> m_storeFile;
    std::shared_ptr<Recorder> m_recorder;
    std::unique_ptr<platform::Platform> m_platform;
    test::FakeClock m_clock;
    std::unique_ptr<test::FakeSetupHost> m_host;
    std::unique_ptr<SetupWindow> m_w;

    platform::RecordingMediaPlayer &device()
    {
        return static_cast<platform::RecordingMediaPlayer &>(m_platform->mediaPlayer());
    }

    QString makeFile(const QString &name)
    {
        QFile file(m_dir->filePath(name));
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(file.fileName()));
        file.write("x");
        return file.fileName();
    }

    /// The window with the sound kind chosen and `file` in the sound field, its lines cleared.
    void chooseSound(const QString &file, qint64 length = 3000)
    {
        m_recorder->script(u"MediaLength"_qs, QString::number(length));
        test::child<QComboBox>(*m_w, u"cb_Typ_Alarmu")
            ->setCurrentIndex(test::child<QComboBox>(*m_w, u"cb_Typ_Alarmu")
                                  ->findText(kinds::PlaySound.toString()));
        test::child<FileNameEdit>(*m_w, u"fne_PlikWAV")->setText(file);
        QVERIFY(device().isOpen());
        m_recorder->clear();
    }

    QString toolbar() const
    {
        return QString(test::child<QToolButton>(*m_w, u"Play")->isChecked() ? u"P"_qs : u"-"_qs) +
               (test::child<QToolButton>(*m_w, u"Pause")->isChecked() ? u"A"_qs : u"-"_qs) +
               (test::child<QToolButton>(*m_w, u"Stop")->isChecked() ? u"S"_qs : u"-"_qs);
    }

    /// Lets the posted notifications arrive.
    static void deliver() { QCoreApplication::processEvents(); }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_storeFile = std::make_unique<StoreFile>(m_dir->filePath(u"settings.db"_qs));
        m_recorder = std::make_shared<Recorder>();
        m_platform = platform::makeRecordingPlatform(m_recorder);
        m_host = std::make_unique<test::FakeSetupHost>();
        m_w = std::make_unique<SetupWindow>(*m_platform, *m_storeFile, m_clock, *m_host,
                                            m_dir->path());
        m_w->show();
        m_recorder->clear();
    }
    void cleanup() { m_w.reset(); }

    void playingTimeText_data()
    {
        QTest::addColumn<qint64>("length");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty sound") << qint64(0) << u"0:01s"_qs;
        QTest::newRow("a tenth") << qint64(100) << u"0:01s"_qs;
        QTest::newRow("3 s") << qint64(3000) << u"0:03s"_qs;
        QTest::newRow("9 s") << qint64(9000) << u"0:09s"_qs;
        QTest::newRow("10 s") << qint64(10000) << u"0:10s"_qs;
        QTest::newRow("one minute") << qint64(60000) << u"0:60s"_qs;
        QTest::newRow("65 s") << qint64(65000) << u"1:05s"_qs;
        QTest::newRow("ten minutes") << qint64(600000) << u"9:59s"_qs;
        QTest::newRow("an hour") << qint64(3600000) << u"59:53s"_qs;
        QTest::newRow("100 minutes") << qint64(6000000) << u"99:48s"_qs;
    }
    void playingTimeText()
    {
        QFETCH(qint64, length);
        QFETCH(QString, text);
        QCOMPARE(tockwell::playingTimeText(length), text);
    }

    void soundFileNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("taken");
        QTest::newRow(".wav") << u"/a/b.wav"_qs << true;
        QTest::newRow(".Wav") << u"/a/b.Wav"_qs << true;
        QTest::newRow(".MP3") << u"/a/b.MP3"_qs << true;
        QTest::newRow(".mid") << u"b.mid"_qs << true;
        QTest::newRow(".MIDI") << u"/a/b.MIDI"_qs << true;
        QTest::newRow(".oga") << u"/usr/share/sounds/bell.oga"_qs << true;
        QTest::newRow(".ogg") << u"/a/b.ogg"_qs << true;
        QTest::newRow(".wave") << u"/a/b.wave"_qs << false;
        QTest::newRow(".mp4") << u"/a/b.mp4"_qs << false;
        QTest::newRow(".xyz") << u"/a/b.xyz"_qs << false;
        QTest::newRow("no extension") << u"/a/wav"_qs << false;
        QTest::newRow("dotted folder") << u"/a.wav/b"_qs << false;
    }
    void soundFileNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, taken);
        QCOMPARE(isSoundFileName(name), taken);
    }

    void theToolbarButtonsShowTheirImages()
    {
        for (QToolButton *button :
             {test::child<QToolButton>(*m_w, u"Play"), test::child<QToolButton>(*m_w, u"Pause"),
              test::child<QToolButton>(*m_w, u"Stop")})
            QVERIFY2(!button->icon().pixmap(16, 16).isNull(), qPrintable(button->objectName()));
    }

    void aNameOfNoFileShowsNoFileAndDisables()
    {
        chooseSound(makeFile(u"a.wav"_qs));
        QVERIFY(test::child<ImageButton>(*m_w, u"ib_Start")->isEnabled());
        for (const QString &text : {QString(), m_dir->filePath(u"a.wa"_qs), m_dir->path()}) {
            test::child<FileNameEdit>(*m_w, u"fne_PlikWAV")->setText(text);
            QCOMPARE(test::child<QLabel>(*m_w, u"LabelCzas")->text(), u"(brak pliku)"_qs);
            for (QWidget *control :
                 std::initializer_list<QWidget *>{test::child<QToolButton>(*m_w, u"Play"),
                                                  test::child<QToolButton>(*m_w, u"Pause"),
                                                  test::child<QToolButton>(*m_w, u"Stop"),
                                                  test::child<QCheckBox>(*m_w, u"LoopCheckBox"),
                                                  test::child<ImageButton>(*m_w, u"ib_Start")})
                QVERIFY(!control->isEnabled());
        }
        QVERIFY(m_recorder->lines().isEmpty()); // not playing: the player is left alone
    }

    void aNameOfNoFileStopsAPlayingSound()
    {
        chooseSound(makeFile(u"a.wav"_qs));
        test::child<QToolButton>(*m_w, u"Play")->click();
        test::child<FileNameEdit>(*m_w, u"fne_PlikWAV")->setText(QString());
        QCOMPARE(toolbar(), u"--S"_qs);
        QCOMPARE(device().mode(), MediaMode::Stopped);
        QCOMPARE(m_recorder->lines(), (QStringList{u"MediaPlay"_qs, u"MediaStop"_qs}));
    }

    void aForeignExtensionShowsTheFormatMessageAndChangesNothing()
    {
        chooseSound(makeFile(u"a.wav"_qs), 65000);
        test::child<QToolButton>(*m_w, u"Play")->click();
        m_recorder->clear();
        test::child<FileNameEdit>(*m_w, u"fne_PlikWAV")->setText(makeFile(u"b.xyz"_qs));
        QCOMPARE(m_recorder->lines(), QStringList{FormatMessage});
        QCOMPARE(test::child<QLabel>(*m_w, u"LabelCzas")->text(), u"1:05s"_qs);
        QCOMPARE(toolbar(), u"P--"_qs);
        QCOMPARE(device().mode(), MediaMode::Playing);
        QVERIFY(test::child<ImageButton>(*m_w, u"ib_Start")->isEnabled());
    }

    void aSoundOpensAndShowsItsTime()
    {
        test::child<QComboBox>(*m_w, u"cb_Typ_Alarmu")
            ->setCurrentIndex(test::child<QComboBox>(*m_w, u"cb_Typ_Alarmu")
                                  ->findText(kinds::PlaySound.toString()));
        QVERIFY(!test::child<ImageButton>(*m_w, u"ib_Start")->isEnabled());
        const QString file = makeFile(u"Dzwonek długi.MIDI"_qs);
        m_recorder->script(u"MediaLength"_qs, u"65000"_qs);
        test::child<FileNameEdit>(*m_w, u"fne_PlikWAV")->setText(FileNameEdit::displayedPath(file));
        QCOMPARE(m_recorder->lines(),
                 (QStringList{u"MediaOpen "_qs + Recorder::quoted(file) + u" -> ok"_qs,
                              u"MediaLength -> 65000"_qs}));
        QCOMPARE(test::child<QLabel>(*m_w, u"LabelCzas")->text(), u"1:05s"_qs);
        QCOMPARE(toolbar(), u"--S"_qs);
        for (QWidget *control : std::initializer_list<QWidget *>{
                 test::child<QToolButton>(*m_w, u"Play"), test::child<QToolButton>(*m_w, u"Pause"),
                 test::child<QToolButton>(*m_w, u"Stop"),
                 test::child<QCheckBox>(*m_w, u"LoopCheckBox"),
                 test::child<ImageButton>(*m_w, u"ib_Start")})
            QVERIFY(control->isEnabled());
    }

    void aFileTheDeviceCannotOpenRaisesTheErrorWithItsExtension()
    {
        chooseSound(makeFile(u"a.wav"_qs), 3000);
        test::child<QToolButton>(*m_w, u"Play")->click();
        m_recorder->script(u"MediaOpen"_qs, u"error Could not determine type of stream."_qs);
        test::child<FileNameEdit>(*m_w, u"fne_PlikWAV")->setText(makeFile(u"broken.Mp3"_qs));
        QCOMPARE(m_recorder->lines().last(), openError(u".Mp3"_qs));
        QVERIFY(!device().isOpen());
        QCOMPARE(toolbar(), u"--S"_qs);
        QCOMPARE(test::child<QLabel>(*m_w, u"LabelCzas")->text(),
                 u"0:03s"_qs); // the label and the enabled states stay
        QVERIFY(test::child<QToolButton>(*m_w, u"Play")->isEnabled());
        QVERIFY(test::child<ImageButton>(*m_w, u"ib_Start")->isEnabled());
        deliver(); // the aborted play of a.wav: the toolbar stays stopped
        QCOMPARE(toolbar(), u"--S"_qs);
    }

    void aRememberedSoundIsCheckedOnceAndAFailureLeavesTheRestOfCreation_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("openAnswer");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<int>("opens");
        QTest::newRow("a good sound") << u"dobry.wav"_qs << u"ok"_qs << QStringList() << 1;
        QTest::newRow("a corrupt sound")
            << u"zepsuty.wav"_qs << u"error broken"_qs << QStringList{openError(u".wav"_qs)} << 1;
        QTest::newRow("a foreign extension")
            << u"notatka.txt"_qs << u"ok"_qs << QStringList{FormatMessage} << 0;
    }
    void aRememberedSoundIsCheckedOnceAndAFailureLeavesTheRestOfCreation()
    {
        QFETCH(QString, file);
        QFETCH(QString, openAnswer);
        QFETCH(QStringList, boxes);
        QFETCH(int, opens);
        m_w.reset();
        rememberEntry(*m_storeFile, keys::Sound_MRU, makeFile(file));
        {
            Store store(*m_storeFile);
            store.openKey(keys::Base);
            store.writeString(keys::LastAction, kinds::PlaySound.toString());
            store.writeInteger(keys::O_ZA, keys::O_ZA_Countdown);
        }
        for (int i = 0; i < 3; ++i)
            m_recorder->script(u"MediaOpen"_qs, openAnswer);
        m_recorder->clear();
        m_w = std::make_unique<SetupWindow>(*m_platform, *m_storeFile, m_clock, *m_host,
                                            m_dir->path());
        m_w->show();
        QStringList shownBoxes, openLines;
        for (const QString &line : m_recorder->lines()) {
            if (line.startsWith(u"MessageBox"_qs))
                shownBoxes.append(line);
            if (line.startsWith(u"MediaOpen"_qs))
                openLines.append(line);
        }
        QCOMPARE(shownBoxes, boxes);
        QCOMPARE(openLines.size(), opens);
        // The rest of creation ran: the kind's panel, the timing mode.
        QVERIFY(test::child<QWidget>(*m_w, u"p_k_PdegrajDzwiek")->isVisible());
        QVERIFY(!test::child<QPushButton>(*m_w, u"cb_Podglad")->isVisible());
        QVERIFY(test::child<QRadioButton>(*m_w, u"rb_ur_po_czasie")->isChecked());
        QVERIFY(test::child<QSpinBox>(*m_w, u"se_ur_po_czasie_sec")->isEnabled());
        QVERIFY(!test::child<QSpinBox>(*m_w, u"se_ur_o_godz_sec")->isEnabled());
    }

    void theButtonsWithNoSoundOpenRaiseTheirErrors_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("message");
        QTest::newRow("Play") << u"Play"_qs
                              << u"Najpierw musisz wybrac dźwięk do odtworzenia !!!"_qs;
        QTest::newRow("Pause") << u"Pause"_qs << u"Dźwięk nie jest odtwarzany !!!"_qs;
        QTest::newRow("Stop")
            << u"Stop"_qs << u"Nie można wyłączyć dźwięku ponieważ nie jest on odtwarzany !!!"_qs;
    }
    void theButtonsWithNoSoundOpenRaiseTheirErrors()
    {
        QFETCH(QString, button);
        QFETCH(QString, message);
        chooseSound(makeFile(u"a.wav"_qs));
        m_recorder->script(u"MediaOpen"_qs, u"error broken"_qs);
        test::child<FileNameEdit>(*m_w, u"fne_PlikWAV")->setText(makeFile(u"b.wav"_qs));
        m_recorder->clear();
        test::child<QToolButton>(*m_w, u"Stop")->setChecked(false);
        auto *clicked = m_w->findChild<QToolButton *>(button);
        QVERIFY(clicked && clicked->isEnabled());
        clicked->click();
        QCOMPARE(m_recorder->lines(), QStringList{errorBox(message)});
        QVERIFY(!clicked->isChecked());
    }

    void playToTheEndWithoutLoopShowsStopped()
    {
        chooseSound(makeFile(u"a.wav"_qs));
        test::child<QToolButton>(*m_w, u"Play")->click();
        QCOMPARE(toolbar(), u"P--"_qs);
        device().finishPlaying();
        deliver();
        QCOMPARE(toolbar(), u"--S"_qs);
        QCOMPARE(m_recorder->lines(), QStringList{u"MediaPlay"_qs});
    }

    void theLoopPlaysAgainFromTheStartUntilStop()
    {
        chooseSound(makeFile(u"a.wav"_qs));
        test::child<QCheckBox>(*m_w, u"LoopCheckBox")->setChecked(true);
        test::child<QToolButton>(*m_w, u"Play")->click();
        for (int pass = 0; pass < 2; ++pass) {
            device().finishPlaying();
            deliver();
            QCOMPARE(device().mode(), MediaMode::Playing);
            QCOMPARE(toolbar(), u"P--"_qs);
        }
        test::child<QToolButton>(*m_w, u"Stop")->click();
        deliver(); // the aborted play does not start the loop again
        QCOMPARE(device().mode(), MediaMode::Stopped);
        QCOMPARE(toolbar(), u"--S"_qs);
        QCOMPARE(m_recorder->lines(), (QStringList{u"MediaPlay"_qs, u"MediaPlay rewind"_qs,
                                                   u"MediaPlay rewind"_qs, u"MediaStop"_qs}));
    }

    void clearingTheLoopBoxEndsAfterTheCurrentPass()
    {
        chooseSound(makeFile(u"a.wav"_qs));
        test::child<QCheckBox>(*m_w, u"LoopCheckBox")->setChecked(true);
        test::child<QToolButton>(*m_w, u"Play")->click();
        test::child<QCheckBox>(*m_w, u"LoopCheckBox")->setChecked(false);
        device().finishPlaying();
        deliver();
        QCOMPARE(device().mode(), MediaMode::Stopped);
        QCOMPARE(toolbar(), u"--S"_qs);
    }

    void pausePausesAndResumes()
    {
        chooseSound(makeFile(u"a.wav"_qs));
        test::child<QToolButton>(*m_w, u"Play")->click();
        test::child<QToolButton>(*m_w, u"Pause")->click();
        QCOMPARE(toolbar(), u"-A-"_qs);
        QCOMPARE(device().mode(), MediaMode::Paused);
        test::child<QToolButton>(*m_w, u"Pause")->click();
        QCOMPARE(toolbar(), u"-A-"_qs); // also after a resume
        QCOMPARE(device().mode(), MediaMode::Playing);
        deliver();
        QCOMPARE(m_recorder->lines(),
                 (QStringList{u"MediaPlay"_qs, u"MediaPause"_qs, u"MediaResume"_qs}));
        device().finishPlaying();
        deliver();
        QCOMPARE(toolbar(), u"--S"_qs);
    }

    void choosingAnotherSoundWhilePlayingStartsItStopped()
    {
        chooseSound(makeFile(u"a.wav"_qs));
        test::child<QCheckBox>(*m_w, u"LoopCheckBox")->setChecked(true);
        test::child<QToolButton>(*m_w, u"Play")->click();
        m_recorder->script(u"MediaLength"_qs, u"10000"_qs);
        test::child<FileNameEdit>(*m_w, u"fne_PlikWAV")->setText(makeFile(u"b.mp3"_qs));
        deliver();
        QCOMPARE(device().mode(), MediaMode::Stopped);
        QCOMPARE(toolbar(), u"--S"_qs);
        QCOMPARE(test::child<QLabel>(*m_w, u"LabelCzas")->text(), u"0:10s"_qs);
        QCOMPARE(m_recorder->lines().mid(1, 2),
                 (QStringList{u"MediaClose"_qs, u"MediaOpen "_qs +
                                                    Recorder::quoted(m_dir->filePath(u"b.mp3"_qs)) +
                                                    u" -> ok"_qs}));
    }

    void startStopsTheTestSoundAndStopLeavesTheAlarmSoundAlone()
    {
        const QString file = makeFile(u"a.wav"_qs);
        chooseSound(file);
        test::child<QToolButton>(*m_w, u"Play")->click();
        m_w->ib_StartClick();
        QCOMPARE(device().mode(), MediaMode::Stopped);
        QCOMPARE(toolbar(), u"--S"_qs);
        for (QWidget *control : std::initializer_list<QWidget *>{
                 test::child<FileNameEdit>(*m_w, u"fne_PlikWAV"),
                 test::child<QToolButton>(*m_w, u"Play"), test::child<QToolButton>(*m_w, u"Pause"),
                 test::child<QToolButton>(*m_w, u"Stop"),
                 test::child<QCheckBox>(*m_w, u"LoopCheckBox"),
                 test::child<QLabel>(*m_w, u"LabelCzas")})
            QVERIFY(!control->isEnabled());
        QVERIFY(m_host->ticking);
        QCOMPARE(m_host->armed.MainParam, file);

        // The alarm goes off: the sound plays with Play down and Stop up, then the disarm.
        m_recorder->clear();
        m_w->playAlarmSound(file);
        QCOMPARE(toolbar(), u"P--"_qs);
        m_w->ib_StopClick();
        QCOMPARE(device().mode(), MediaMode::Playing);
        QCOMPARE(toolbar(), u"P--"_qs);
        QVERIFY(test::child<QToolButton>(*m_w, u"Stop")->isEnabled() &&
                test::child<QCheckBox>(*m_w, u"LoopCheckBox")->isEnabled());
        QCOMPARE(
            m_recorder->lines(),
            (QStringList{u"MediaClose"_qs, u"MediaOpen "_qs + Recorder::quoted(file) + u" -> ok"_qs,
                         u"MediaPlay"_qs}));
        // Its end with the loop box clear shows the toolbar stopped.
        device().finishPlaying();
        deliver();
        QCOMPARE(toolbar(), u"--S"_qs);
    }

    void stopWithStopDownStopsThePlayerAgain()
    {
        chooseSound(makeFile(u"a.wav"_qs));
        m_w->ib_StartClick();
        m_w->ib_StopClick();
        QCOMPARE(toolbar(), u"--S"_qs);
        QVERIFY(test::child<QToolButton>(*m_w, u"Play")->isEnabled());
        // With no sound open (the last open failed) there is nothing to stop and no error.
        m_recorder->script(u"MediaOpen"_qs, u"error broken"_qs);
        test::child<FileNameEdit>(*m_w, u"fne_PlikWAV")->setText(makeFile(u"b.wav"_qs));
        m_recorder->clear();
        m_w->ib_StartClick();
        m_w->ib_StopClick();
        QCOMPARE(toolbar(), u"--S"_qs);
        for (const QString &line : m_recorder->lines())
            QVERIFY2(!line.startsWith(u"MessageBox"_qs), qPrintable(line));
    }

    void anAlarmSoundThatCannotBeOpenedRaisesTheDeviceError()
    {
        m_recorder->script(u"MediaOpen"_qs, u"error Could not determine type of stream."_qs);
        QVERIFY_THROWS_EXCEPTION(MediaDeviceError, m_w->playAlarmSound(makeFile(u"x.xyz"_qs)));
        QVERIFY(!device().isOpen());
        QVERIFY(!test::child<QToolButton>(*m_w, u"Play")->isChecked());
    }
};

QTEST_MAIN(TestSoundPanel)
#include "tst_soundpanel.moc"
