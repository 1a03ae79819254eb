#include "app/Application.h"
#include "app/TrayIcon.h"
#include "app/TrayWatcher.h"
#include "core/ArmedAlarm.h"
#include "platform/recording/RecordingPlatform.h"
#include "settings/Store.h"
#include "support/FakeClock.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tockwell;
using platform::Recorder;

namespace {

/// Counts the close events a widget receives.
class CloseCounter final : public QObject
{
public:
    int closes = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Close)
            ++closes;
        return false;
    }
};

} // namespace

class TestMainController : public QObject
{
    Q_OBJECT

    QTemporaryDir programDir;
    std::shared_ptr<Recorder> recorder;
    std::unique_ptr<platform::Platform> platform;
    test::FakeClock clock;
    std::unique_ptr<Application> app;
    std::unique_ptr<StoreFile> storeFile;

    SeedingPaths paths() const
    {
        return SeedingPaths::forProgram(programDir.filePath(u"tockwell"_qs));
    }

    TrayIcon &tray() { return *app->F_Glowna.findChild<TrayIcon *>(u"Tray"_qs); }

    void writeHelpFile()
    {
        QVERIFY(QDir(programDir.path()).mkpath(u"help"_qs));
        QFile page(programDir.filePath(u"help/tockwell.html"_qs));
        QVERIFY(page.open(QIODevice::WriteOnly));
    }

    // The program as it is after start-up, with an empty log.
    void startProgram(bool trayPresent = true)
    {
        app = std::make_unique<Application>(*platform, *storeFile, clock, paths());
        app->F_Glowna.setTrayProbe([trayPresent] { return trayPresent; });
        app->start();
        recorder->clear();
    }

    QStringList messageBoxes() const { return recorder->lines().filter(u"MessageBox"_qs); }

private slots:
    void init()
    {
        QVERIFY(programDir.isValid());
        recorder = std::make_shared<Recorder>();
        platform = platform::makeRecordingPlatform(recorder);
        storeFile = std::make_unique<StoreFile>(programDir.filePath(u"settings.db"_qs));
    }

    void cleanup()
    {
        app.reset();
        QDir(programDir.filePath(u"help"_qs)).removeRecursively();
    }

    void trayMenuHasItsItemsInOrder()
    {
        startProgram();
        QCOMPARE(tray().toolTip(), u"Kestrolab Tockwell"_qs);
        QCOMPARE(tray().icon().pixmap(16, 16).size(), QSize(16, 16));
        QCOMPARE(tray().contextMenu(), &tray().pm_Glowne);
        QCOMPARE(tray().pm_Glowne.objectName(), u"pm_Glowne"_qs);

        const QList<QPair<QString, QString>> expected = {
            {u"Ustawnowyczas1"_qs, u"Ustaw nowy czas"_qs},
            {u"N2"_qs, QString()},
            {u"Pomoc1"_qs, u"Pomoc"_qs},
            {u"Opcje1"_qs, u"Opcje"_qs},
            {u"Oprogramie1"_qs, u"O programie ..."_qs},
            {u"N1"_qs, QString()},
            {u"Zamknij1"_qs, u"Zamknij"_qs},
        };
        const QList<QAction *> items = tray().pm_Glowne.actions();
        QCOMPARE(items.size(), expected.size());
        for (qsizetype i = 0; i < items.size(); ++i) {
            const QAction *item = items[i];
            QCOMPARE(item->objectName(), expected[i].first);
            QCOMPARE(item->isSeparator(), expected[i].second.isEmpty());
            QCOMPARE(item->text(), expected[i].second);
            if (!item->isSeparator())
                QCOMPARE(item->icon().pixmap(16, 16).size(), QSize(16, 16));
        }
    }

    void helpItemOnlyWithTheHelpFile_data()
    {
        QTest::addColumn<bool>("helpFile");
        QTest::newRow("without the file") << false;
        QTest::newRow("with the file") << true;
    }
    void helpItemOnlyWithTheHelpFile()
    {
        QFETCH(bool, helpFile);
        if (helpFile)
            writeHelpFile();
        startProgram();
        QCOMPARE(tray().Pomoc1->isVisible(), helpFile);
    }

    void helpItemOpensTheHelpFileMaximised()
    {
        writeHelpFile();
        startProgram();
        tray().Pomoc1->trigger();
        QCOMPARE(recorder->lines(),
                 QStringList{u"ShellOpen "_qs +
                             Recorder::quoted(programDir.filePath(u"help/tockwell.html"_qs)) +
                             u" \"\" maximized"_qs});
    }

    void everyStartShowsTheSetupWindowDisarmed()
    {
        app = std::make_unique<Application>(*platform, *storeFile, clock, paths());
        app->F_Glowna.setTrayProbe([] { return false; });
        app->F_Glowna.setTrayWait(std::chrono::milliseconds(0));
        QVERIFY(!app->F_Alarm.isVisible());
        app->start();
        QVERIFY(app->F_Alarm.isVisible());
        QVERIFY(app->F_Alarm.isEnabled());
        QVERIFY(!app->F_Glowna.isVisible());
        QVERIFY(!app->F_Glowna.isArmed());
        for (QWidget *form :
             {static_cast<QWidget *>(&app->F_About), static_cast<QWidget *>(&app->F_Opcje),
              static_cast<QWidget *>(&app->F_ALARMUJ)})
            QVERIFY(!form->isVisible());
        // Without a tray the user is told so once, when the wait for one has run out.
        QTRY_COMPARE(messageBoxes().size(), 1);
        QVERIFY(messageBoxes()[0].contains(u"\"INFORMACJA\" 0x40"_qs));
        QVERIFY(!app->F_Glowna.trayAvailable());
        QTest::qWait(50);
        QCOMPARE(messageBoxes().size(), 1);
    }

    void theStartWaitsForATrayThatIsNotThereYet_data()
    {
        QTest::addColumn<bool>("autoMinimize");
        QTest::addColumn<bool>("trayComes");
        QTest::addColumn<bool>("shownWhileWaiting");
        QTest::addColumn<bool>("shownAtTheEnd");
        QTest::addColumn<int>("notices");
        QTest::newRow("no tray comes") << false << false << true << true << 1;
        QTest::newRow("no tray comes, AutoMinimize") << true << false << false << true << 1;
        QTest::newRow("a tray comes") << false << true << true << true << 0;
        QTest::newRow("a tray comes, AutoMinimize") << true << true << false << false << 0;
    }
    void theStartWaitsForATrayThatIsNotThereYet()
    {
        QFETCH(bool, autoMinimize);
        QFETCH(bool, trayComes);
        QFETCH(bool, shownWhileWaiting);
        QFETCH(bool, shownAtTheEnd);
        QFETCH(int, notices);
        bool trayPresent = false;
        app = std::make_unique<Application>(*platform, *storeFile, clock, paths());
        app->F_Glowna.setTrayProbe([&trayPresent] { return trayPresent; });
        app->F_Glowna.setTrayWait(std::chrono::milliseconds(200));
        app->F_Glowna.alarm().AutoMinimize = autoMinimize;
        app->start();
        QVERIFY(app->F_Glowna.waitingForTray());
        QCOMPARE(app->F_Alarm.isVisible(), shownWhileWaiting);
        QVERIFY(messageBoxes().isEmpty());

        if (trayComes) {
            trayPresent = true;
            emit app->F_Glowna.findChild<TrayWatcher *>()->trayChanged();
            QVERIFY(!app->F_Glowna.waitingForTray());
        }
        QTRY_VERIFY(!app->F_Glowna.waitingForTray());
        QTest::qWait(250);
        QCOMPARE(app->F_Alarm.isVisible(), shownAtTheEnd);
        QCOMPARE(messageBoxes().size(), notices);
    }

    void aTrayThatComesTakesTheMinimisedSetupWindow()
    {
        bool trayPresent = false;
        app = std::make_unique<Application>(*platform, *storeFile, clock, paths());
        app->F_Glowna.setTrayProbe([&trayPresent] { return trayPresent; });
        app->start();
        // Without a tray closing the window minimises it to the taskbar.
        app->F_Alarm.close();
        QVERIFY(app->F_Alarm.isMinimized());
        TrayWatcher &watcher = *app->F_Glowna.findChild<TrayWatcher *>();
        emit watcher.trayChanged(); // something changed, but still no tray
        QVERIFY(app->F_Glowna.waitingForTray());
        QVERIFY(app->F_Alarm.isMinimized());

        trayPresent = true;
        emit watcher.trayChanged();
        QVERIFY(!app->F_Glowna.waitingForTray());
        QVERIFY(!app->F_Alarm.isVisible());
        QVERIFY(!app->F_Alarm.isMinimized());
        emit tray().activated(QSystemTrayIcon::Trigger);
        QVERIFY(app->F_Alarm.isVisible());
        QVERIFY(messageBoxes().isEmpty());
    }

    void autoMinimizeWithATrayStartsInTheTray()
    {
        app = std::make_unique<Application>(*platform, *storeFile, clock, paths());
        app->F_Glowna.setTrayProbe([] { return true; });
        app->F_Glowna.alarm().AutoMinimize = true;
        app->start();
        QVERIFY(!app->F_Glowna.waitingForTray());
        QVERIFY(!app->F_Alarm.isVisible());
        emit tray().activated(QSystemTrayIcon::Trigger);
        QVERIFY(app->F_Alarm.isVisible());
        QVERIFY(messageBoxes().isEmpty());
    }

    void trayClicksToggleTheSetupWindowAndCloseThePopup()
    {
        startProgram();
        app->F_Glowna.showAlarmPopup(false);
        QVERIFY(app->F_ALARMUJ.isVisible());
        QVERIFY(!app->F_Alarm.isEnabled());
        const QRect area = platform->display().workArea();
        QCOMPARE(app->F_ALARMUJ.geometry().bottomRight(), area.bottomRight());

        emit tray().activated(QSystemTrayIcon::Trigger);
        QVERIFY(!app->F_Alarm.isVisible());
        QVERIFY(!app->F_ALARMUJ.isVisible());
        QVERIFY(app->F_Alarm.isEnabled());

        QTest::qWait(QApplication::doubleClickInterval() + 50);
        emit tray().activated(QSystemTrayIcon::Trigger);
        QVERIFY(app->F_Alarm.isVisible());
    }

    void aTrayClickBringsBackAMinimisedSetupWindow()
    {
        startProgram();
        app->F_Alarm.showMinimized();
        QVERIFY(app->F_Alarm.isMinimized());
        emit tray().activated(QSystemTrayIcon::Trigger);
        QVERIFY(app->F_Alarm.isVisible());
        QVERIFY(!app->F_Alarm.isMinimized());
    }

    void aTrayClickGivesSuspendedInputBack()
    {
        startProgram();
        platform->input().suspendMouse();
        platform->input().suspendKeyboard();
        emit tray().activated(QSystemTrayIcon::Trigger);
        QCOMPARE(recorder->lines().last(), u"ResumeInput"_qs);
    }

    void aDoubleClickTogglesOnce()
    {
        startProgram();
        emit tray().activated(QSystemTrayIcon::Trigger);
        emit tray().activated(QSystemTrayIcon::DoubleClick);
        QVERIFY(!app->F_Alarm.isVisible());
        // A double click that comes alone (no click reported before it) toggles too.
        emit tray().activated(QSystemTrayIcon::DoubleClick);
        QVERIFY(app->F_Alarm.isVisible());
        // The other activations do nothing.
        emit tray().activated(QSystemTrayIcon::Context);
        emit tray().activated(QSystemTrayIcon::MiddleClick);
        QVERIFY(app->F_Alarm.isVisible());
    }

    void secondaryWindowsDisableTheSetupWindowUntilClosed_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("form");
        QTest::addColumn<bool>("setupShown");
        QTest::addColumn<int>("closeBy"); // 0 close(), 1 Esc, 2 the OK button
        QTest::newRow("Opcje, closed") << u"Opcje1"_qs << u"F_Opcje"_qs << true << 0;
        QTest::newRow("Opcje, Esc, setup hidden") << u"Opcje1"_qs << u"F_Opcje"_qs << false << 1;
        QTest::newRow("O programie, OK") << u"Oprogramie1"_qs << u"F_About"_qs << true << 2;
        QTest::newRow("O programie, Esc, setup hidden")
            << u"Oprogramie1"_qs << u"F_About"_qs << false << 1;
    }
    void secondaryWindowsDisableTheSetupWindowUntilClosed()
    {
        QFETCH(QString, item);
        QFETCH(QString, form);
        QFETCH(bool, setupShown);
        QFETCH(int, closeBy);
        startProgram();
        if (!setupShown)
            app->F_Alarm.close();
        QWidget *dialog = form == u"F_Opcje"_qs ? static_cast<QWidget *>(&app->F_Opcje)
                                                : static_cast<QWidget *>(&app->F_About);
        QCOMPARE(dialog->objectName(), form);

        tray().pm_Glowne.findChild<QAction *>(item)->trigger();
        QVERIFY(dialog->isVisible());
        QVERIFY(!app->F_Alarm.isEnabled());
        QCOMPARE(app->F_Alarm.isVisible(), setupShown);

        // A tray click meanwhile does not give the setup window back its input.
        emit tray().activated(QSystemTrayIcon::Trigger);
        QVERIFY(!app->F_Alarm.isEnabled());

        if (closeBy == 0)
            dialog->close();
        else if (closeBy == 1)
            QTest::keyClick(dialog, Qt::Key_Escape);
        else
            QTest::mouseClick(dialog->findChild<QPushButton *>(u"sb_OK"_qs), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QVERIFY(app->F_Alarm.isEnabled());
        // Only the options dialog's look at the autostart entry when it was shown.
        QCOMPARE(recorder->lines(),
                 form == u"F_Opcje"_qs ? QStringList{u"AutostartActive -> no"_qs} : QStringList{});
    }

    void popupClosesWithItsButton()
    {
        startProgram();
        app->F_Alarm.setEnabled(false);
        app->F_ALARMUJ.show();
        QTest::mouseClick(app->F_ALARMUJ.findChild<QPushButton *>(u"SpeedButton1"_qs),
                          Qt::LeftButton);
        QVERIFY(!app->F_ALARMUJ.isVisible());
        QVERIFY(app->F_Alarm.isEnabled());
    }

    void setTimeItemShowsTheSetupWindow()
    {
        startProgram();
        app->F_Alarm.close();
        tray().Ustawnowyczas1->trigger();
        QVERIFY(app->F_Alarm.isVisible());
        tray().Ustawnowyczas1->trigger(); // already shown: stays shown
        QVERIFY(app->F_Alarm.isVisible());
    }

    void theExecutorsWindowsAreTheForms()
    {
        startProgram();
        AlarmHost &host = app->F_Glowna;
        host.hideSetupWindow();
        QVERIFY(!app->F_Alarm.isVisible());
        app->F_Glowna.startTick();
        host.disarm();
        QVERIFY(!app->F_Glowna.isArmed());
    }

    // A store that cannot even be opened is told of once, with its file and cause, and nothing
    // else: no seeding error; Start still arms the alarm, though its settings are not kept.
    void storeThatCannotBeWrittenIsToldOnceAndAlarmsStillArm()
    {
        QFile blocker(programDir.filePath(u"blocker"_qs));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString path = blocker.fileName() + u"/settings.db"_qs;
        storeFile = std::make_unique<StoreFile>(path);
        app = std::make_unique<Application>(*platform, *storeFile, clock, paths());
        app->F_Glowna.setTrayProbe([] { return true; });
        app->start();
        const QStringList boxes = messageBoxes();
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes.front().contains(u"Nie można otworzyć pliku ustawień"_qs) &&
                     boxes.front().contains(path),
                 qPrintable(boxes.front()));
        recorder->clear();

        SetupWindow &setup = app->F_Alarm;
        setup.cb_Typ_Alarmu->setCurrentIndex(
            setup.cb_Typ_Alarmu->findText(kinds::DefaultWindow.toString()));
        setup.ib_StartClick();
        QVERIFY(app->F_Glowna.isArmed());
        QVERIFY(messageBoxes().isEmpty());
        QVERIFY(QFile::remove(blocker.fileName()));
    }

    // Last: ending the program ends every event loop of this process.
    void closeItemEndsAtOnceEvenWhenArmed()
    {
        startProgram();
        CloseCounter counter;
        app->F_Glowna.installEventFilter(&counter);
        app->F_Glowna.startTick();
        QVERIFY(app->F_Glowna.isArmed());
        tray().Zamknij1->trigger();
        QCOMPARE(counter.closes, 1);
        // The setup window's exit button, once it has asked, ends the program the same way.
        static_cast<SetupHost &>(app->F_Glowna).quit();
        QCOMPARE(counter.closes, 2);
        QVERIFY(messageBoxes().isEmpty());
    }
};

QTEST_MAIN(TestMainController)
#include "tst_maincontroller.moc"
