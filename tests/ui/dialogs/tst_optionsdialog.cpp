#include "core/ArmedAlarm.h"
#include "platform/recording/RecordingPlatform.h"
#include "settings/Keys.h"
#include "settings/Store.h"
#include "ui/dialogs/OptionsDialog.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace tockwell;
using platform::Recorder;

namespace {

constexpr std::array Boxes = {"CheckBox2", "CheckBox4", "CheckBox3", "CheckBox5", "CheckBox6"};

bool writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) &&
           file.write(contents) == contents.size();
}

} // namespace

class TestOptionsDialog : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<StoreFile> m_storeFile;
    std::shared_ptr<Recorder> m_recorder;
    std::unique_ptr<platform::Platform> m_platform;
    std::unique_ptr<QWidget> m_setupWindow;
    ArmedAlarm m_alarm;
    std::unique_ptr<OptionsDialog> m_dialog;

    QString programFile() const { return m_dir->filePath(u"bin dir/tock$well %1"_qs); }

    /// The recorded calls apart from the autostart entry's, which every showing and every OK
    /// makes (the autostart cases below look at those).
    QStringList calls() const
    {
        QStringList lines = m_recorder->lines();
        lines.removeIf([](const QString &line) { return line.startsWith(u"Autostart"_qs); });
        return lines;
    }

    void makeDialog(const QString &storePath = {})
    {
        m_storeFile = std::make_unique<StoreFile>(storePath.isEmpty() ? m_dir->filePath(u"s.db"_qs)
                                                                      : storePath);
        m_dialog = std::make_unique<OptionsDialog>(*m_platform, *m_storeFile, m_alarm,
                                                   *m_setupWindow, programFile());
    }

    /// Opens the dialog as the tray menu does.
    void open()
    {
        m_setupWindow->setEnabled(false);
        m_dialog->show();
        QVERIFY(m_dialog->isVisible());
    }

    QCheckBox *box(const char *name) const
    {
        return m_dialog->findChild<QCheckBox *>(QString::fromLatin1(name));
    }
    QPushButton *button(const char *name) const
    {
        return m_dialog->findChild<QPushButton *>(QString::fromLatin1(name));
    }
    void clickOk() { QTest::mouseClick(button("SpeedButton1"), Qt::LeftButton); }

    RawValue stored(QStringView name) const
    {
        Store store(*m_storeFile);
        store.openKey(keys::Base);
        return store.readRaw(name).value_or(RawValue{});
    }
    void store(QStringView name, int number) const
    {
        Store store(*m_storeFile);
        store.openKey(keys::Base);
        store.writeInteger(name, number);
    }

    std::array<bool, 5> flags() const
    {
        return {m_alarm.AutoMinimize, m_alarm.ScreenSaverOff, m_alarm.MinimizeAll,
                m_alarm.MinimizeProg, m_alarm.PlayBeep};
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_recorder = std::make_shared<Recorder>();
        m_platform = platform::makeRecordingPlatform(m_recorder);
        m_setupWindow = std::make_unique<QWidget>();
        m_alarm = ArmedAlarm{};
        QVERIFY(writeFile(programFile(), "#!/bin/sh\n"));
        makeDialog();
    }
    void cleanup()
    {
        m_dialog.reset();
        m_storeFile.reset();
    }

    void theControls()
    {
        QCOMPARE(m_dialog->windowTitle(), u"Opcje"_qs);
        QCOMPARE(m_dialog->size(), QSize(313, 249)); // 227 and the row of CheckBox7
        const std::pair<const char *, const char *> captions[] = {
            {"CheckBox1", "Uruchamiaj przy starcie &systemu"},
            {"CheckBox2", "&Po uruchomieniu minimalizuj do traya"},
            {"CheckBox4", "&Jeżeli wygaszacz ekranu jest włączony wyłącz go"},
            {"CheckBox3", "&Minimalizuj wszystkie okna"},
            {"CheckBox5", "&Uruchamiając podgląd alarmu minimalizuj okno główne"},
            {"CheckBox6", "Podczas najazdu domyślnego okna odgrywaj dźwięk (beep)"}};
        int lastTop = -1;
        for (const auto &[name, caption] : captions) {
            QCheckBox *b = box(name);
            QVERIFY2(b, name);
            QCOMPARE(b->text(), QString::fromUtf8(caption));
            // Top to bottom in the order of the table, each inside the dialog.
            const QRect inDialog(b->mapTo(m_dialog.get(), QPoint()), b->size());
            QVERIFY2(inDialog.top() > lastTop, name);
            QVERIFY2(m_dialog->rect().contains(inDialog), name);
            QVERIFY2(b->sizeHint().width() <= b->width(), name); // the caption is not cut
            lastTop = inDialog.top();
        }
        QCOMPARE(box("CheckBox6")->toolTip(),
                 u"Jest to dźwiek BEEP, który słyszysz zaznaczając tą opcję !!!"_qs);
        QCOMPARE(button("SpeedButton1")->text(), u"OK"_qs);
        QCOMPARE(button("SpeedButton2")->text(), u"Pomoc"_qs);
        QVERIFY(button("SpeedButton2")->x() < button("SpeedButton1")->x());
    }

    void aFreshStoreShowsClearBoxesAndOkWritesFiveIntegers()
    {
        open();
        for (const char *name : Boxes)
            QVERIFY(!box(name)->isChecked());
        QVERIFY(!box("CheckBox1")->isChecked());
        QVERIFY(calls().isEmpty()); // no beep: PlayBeep did not change the box
        clickOk();
        QVERIFY(!m_dialog->isVisible());
        QVERIFY(m_setupWindow->isEnabled());
        for (QStringView name : keys::OptionFlags)
            QCOMPARE(stored(name), (RawValue{regtype::Dword, {}, 0, {}}));
        QCOMPARE(m_recorder->lines().filter(u"Autostart"_qs),
                 (QStringList{u"AutostartActive -> no"_qs, u"AutostartRemove -> ok"_qs}));
    }

    void okWritesEachBoxToTheStoreAndToTheArmedAlarm_data()
    {
        QTest::addColumn<int>("ticked");
        for (int i = 0; i < 5; ++i)
            QTest::newRow(Boxes[size_t(i)]) << i;
    }
    void okWritesEachBoxToTheStoreAndToTheArmedAlarm()
    {
        QFETCH(int, ticked);
        // An armed alarm keeps everything but its flags.
        m_alarm.Mode = ModeCountdown.toString();
        m_alarm.ActionKind = kinds::DefaultWindow.toString();
        m_alarm.CountdownLeft = 42;
        open();
        box(Boxes[size_t(ticked)])->setChecked(true);
        clickOk();
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(stored(keys::OptionFlags[size_t(i)]).number, quint32(i == ticked));
            QCOMPARE(flags()[size_t(i)], i == ticked);
        }
        QCOMPARE(m_alarm.CountdownLeft, 42);
        QCOMPARE(m_alarm.Mode, ModeCountdown.toString());
        // The next showing reads them back.
        open();
        for (int i = 0; i < 5; ++i)
            QCOMPARE(box(Boxes[size_t(i)])->isChecked(), i == ticked);
    }

    void aFlagStoredAsTextShowsClearAndOkReplacesItByAnInteger()
    {
        {
            Store s(*m_storeFile);
            s.openKey(keys::Base);
            s.writeString(keys::PlayBeep, u"1"_qs);
        }
        store(keys::Wyg_Off, 7);
        open();
        QVERIFY(!box("CheckBox6")->isChecked());
        QVERIFY(box("CheckBox4")->isChecked()); // any number but 0 ticks
        clickOk();
        QCOMPARE(stored(keys::PlayBeep), (RawValue{regtype::Dword, {}, 0, {}}));
        QCOMPARE(stored(keys::Wyg_Off), (RawValue{regtype::Dword, {}, 1, {}}));
    }

    void theBeepSoundsWhenLoadingChangesCheckBox6AndAtEveryClick()
    {
        store(keys::PlayBeep, 1);
        open();
        QCOMPARE(calls(), QStringList{u"Beep"_qs});
        QTest::keyClick(m_dialog.get(), Qt::Key_Escape);
        open(); // the box is ticked already
        QCOMPARE(calls().size(), 1);
        m_dialog->close();
        store(keys::PlayBeep, 0);
        open();
        QCOMPARE(calls().size(), 2);

        m_recorder->clear();
        QTest::mouseClick(box("CheckBox6"), Qt::LeftButton);
        QVERIFY(box("CheckBox6")->isChecked());
        QTest::mouseClick(box("CheckBox6"), Qt::LeftButton);
        QVERIFY(!box("CheckBox6")->isChecked());
        QCOMPARE(calls(), (QStringList{u"Beep"_qs, u"Beep"_qs}));
        // The other boxes are silent.
        QTest::mouseClick(box("CheckBox5"), Qt::LeftButton);
        QCOMPARE(calls().size(), 2);
    }

    void escAndTheFrameDiscardChanges_data()
    {
        QTest::addColumn<bool>("byEsc");
        QTest::newRow("Esc") << true;
        QTest::newRow("frame") << false;
    }
    void escAndTheFrameDiscardChanges()
    {
        QFETCH(bool, byEsc);
        open();
        for (const char *name : Boxes)
            box(name)->setChecked(true);
        box("CheckBox1")->setChecked(true);
        m_recorder->clear();
        if (byEsc)
            QTest::keyClick(box("CheckBox3"), Qt::Key_Escape);
        else
            m_dialog->close();
        QVERIFY(!m_dialog->isVisible());
        QVERIFY(m_setupWindow->isEnabled());
        for (QStringView name : keys::OptionFlags)
            QCOMPARE(stored(name).type, regtype::None);
        QCOMPARE(flags(), (std::array<bool, 5>{}));
        QVERIFY(m_recorder->lines().isEmpty()); // the entry neither written nor removed
        // Unsaved changes are not carried over to the next showing.
        open();
        QVERIFY(!box("CheckBox2")->isChecked());
        QVERIFY(!box("CheckBox1")->isChecked());
        // CheckBox6 went back from ticked to clear: that beeps as a click would.
        QCOMPARE(calls(), QStringList{u"Beep"_qs});
    }

    void keysOnTheBoxes_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("closed");
        for (const char *name : {"CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4", "CheckBox5"}) {
            QTest::addRow("Enter on %s", name)
                << QString::fromLatin1(name) << int(Qt::Key_Return) << true << true;
            QTest::addRow("keypad Enter on %s", name)
                << QString::fromLatin1(name) << int(Qt::Key_Enter) << true << true;
        }
        QTest::newRow("Enter on the dialog") << QString() << int(Qt::Key_Return) << true << true;
        QTest::newRow("Esc on CheckBox2")
            << u"CheckBox2"_qs << int(Qt::Key_Escape) << false << true;
        QTest::newRow("Enter on CheckBox6")
            << u"CheckBox6"_qs << int(Qt::Key_Return) << false << false;
        QTest::newRow("keypad Enter on CheckBox6")
            << u"CheckBox6"_qs << int(Qt::Key_Enter) << false << false;
        QTest::newRow("Esc on CheckBox6")
            << u"CheckBox6"_qs << int(Qt::Key_Escape) << false << false;
        QTest::newRow("F1 on CheckBox6") << u"CheckBox6"_qs << int(Qt::Key_F1) << false << false;
    }
    void keysOnTheBoxes()
    {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(bool, saved);
        QFETCH(bool, closed);
        QVERIFY(writeFile(QFileInfo(programFile()).dir().filePath(u"help/tockwell.html"_qs), ""));
        open();
        box("CheckBox2")->setChecked(true);
        QWidget *target = focus.isEmpty() ? static_cast<QWidget *>(m_dialog.get())
                                          : m_dialog->findChild<QWidget *>(focus);
        // Whatever Shift, Ctrl or Alt.
        QTest::keyClick(target, Qt::Key(key), Qt::ShiftModifier);
        QCOMPARE(m_dialog->isVisible(), !closed);
        QCOMPARE(stored(keys::AutoMinimize).type, saved ? regtype::Dword : regtype::None);
        QCOMPARE(m_alarm.AutoMinimize, saved);
        QVERIFY(calls().isEmpty());
    }

    void helpButtonAndF1FollowTheHelpFile()
    {
        const QString help = QFileInfo(programFile()).dir().filePath(u"help/tockwell.html"_qs);
        open();
        QVERIFY(button("SpeedButton2")->isHidden());
        QTest::keyClick(box("CheckBox1"), Qt::Key_F1);
        QVERIFY(calls().isEmpty());
        m_dialog->close();

        // Decided anew at every showing.
        QVERIFY(writeFile(help, ""));
        open();
        QVERIFY(!button("SpeedButton2")->isHidden());
        QTest::keyClick(box("CheckBox1"), Qt::Key_F1, Qt::ControlModifier);
        QTest::mouseClick(button("SpeedButton2"), Qt::LeftButton);
        const QString line = u"ShellOpen \"%1\" \"\" maximized"_qs.arg(help);
        QCOMPARE(calls(), (QStringList{line, line}));
        QVERIFY(m_dialog->isVisible());
    }

    void theBoxShowsTheEntryAndOkWritesOrRemovesIt()
    {
        m_recorder->script(u"AutostartActive"_qs, u"yes"_qs);
        open();
        QVERIFY(box("CheckBox1")->isChecked());
        box("CheckBox1")->setChecked(false);
        clickOk();
        QCOMPARE(m_recorder->lines().filter(u"Autostart"_qs),
                 (QStringList{u"AutostartActive -> yes"_qs, u"AutostartRemove -> ok"_qs}));

        // Ticking writes the entry for this program's full path; the next showing finds it.
        m_recorder->clear();
        open();
        QVERIFY(!box("CheckBox1")->isChecked());
        box("CheckBox1")->setChecked(true);
        clickOk();
        open();
        QVERIFY(box("CheckBox1")->isChecked());
        QCOMPARE(
            m_recorder->lines().filter(u"Autostart"_qs),
            (QStringList{u"AutostartActive -> no"_qs,
                         u"AutostartWrite "_qs + Recorder::quoted(programFile()) + u" -> ok"_qs,
                         u"AutostartActive -> yes"_qs}));
    }

    void aRefusedAutostartRemovalIsShownAndTheDialogStaysOpen()
    {
        m_recorder->script(u"AutostartActive"_qs, u"yes"_qs);
        m_recorder->script(u"AutostartRemove"_qs, u"failed"_qs);
        open();
        box("CheckBox1")->setChecked(false);
        clickOk();
        QCOMPARE(calls(), QStringList{u"MessageBox \"Failed to delete value 'Alarm'\" "_qs
                                      u"\"Tockwell\" 0x10 -> 1"_qs});
        QVERIFY(m_dialog->isVisible());
    }

    void aRefusedStoreWriteIsShownAndTheDialogStaysOpen()
    {
        QFile blocker(m_dir->filePath(u"blocker"_qs));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        makeDialog(blocker.fileName() + u"/s.db"_qs);
        open();
        box("CheckBox2")->setChecked(true);
        clickOk();
        QCOMPARE(
            calls(),
            QStringList{
                u"MessageBox \"Nie można zapisać wartości 'AutoMinimize'.\\rPlik ustawień: "_qs +
                m_dir->filePath(u"blocker/s.db"_qs) +
                u"\\rPrzyczyna: nie można utworzyć folderu na plik ustawień.\" "
                u"\"Tockwell\" 0x10 -> 1"_qs});
        QVERIFY(m_dialog->isVisible());
        QVERIFY(!m_setupWindow->isEnabled());
        QVERIFY(!m_alarm.AutoMinimize);
    }

    void aRefusedAutostartWriteIsShownAndTheDialogStaysOpen()
    {
        m_recorder->script(u"AutostartWrite"_qs, u"failed"_qs);
        open();
        box("CheckBox1")->setChecked(true);
        box("CheckBox6")->setChecked(true);
        clickOk();
        QCOMPARE(
            calls(),
            QStringList{
                u"MessageBox \"Nie można zapisać wartości 'Alarm'.\" \"Tockwell\" 0x10 -> 1"_qs});
        QVERIFY(m_dialog->isVisible());
        // The options were written before the entry.
        QVERIFY(m_alarm.PlayBeep);
    }
};

QTEST_MAIN(TestOptionsDialog)
#include "tst_optionsdialog.moc"
