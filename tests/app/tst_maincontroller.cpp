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

    TrayIcon &tray() { return *app->controller.findChild<TrayIcon *>(u"Tray"_qs); }
    QAction *trayItem(const QString &name)
    {
        return tray().contextMenu()->findChild<QAction *>(name);
    }

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
        app->controller.setTrayProbe([trayPresent] { return trayPresent; });
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
        QVERIFY(tray().contextMenu() != nullptr);
        QCOMPARE(tray().contextMenu()->objectName(), u"pm_Glowne"_qs);

        const QList<QPair<QString, QString>> expected = {
            {u"Ustawnowyczas1"_qs, u"Ustaw nowy czas"_qs},
            {u"N2"_qs, QString()},
            {u"Pomoc1"_qs, u"Pomoc"_qs},
            {u"Opcje1"_qs, u"Opcje"_qs},
            {u"Oprogramie1"_qs, u"O programie ..."_qs},
            {u"N1"_qs, QString()},
            {u"Zamknij1"_qs, u"Zamknij"_qs},
        };
        const QList<QAction *> items = tray().contextMenu()->actions();
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
        QCOMPARE(trayItem(u"Pomoc1"_qs)->isVisible(), helpFile);
    }

    void helpItemOpensTheHelpFileMaximised()
    {
        writeHelpFile();
        startProgram();
        trayItem(u"Pomoc1"_qs)->trigger();
        QCOMPARE(recorder->lines(),
                 QStringList{u"ShellOpen "_qs +
                             Recorder::quoted(programDir.filePath(u"help/tockwell.html"_qs)) +
                             u" \"\" maximized"_qs});
    }

    void everyStartShowsTheSetupWindowDisarmed()
    {
        app = std::make_unique<Application>(*platform, *storeFile, clock, paths());
        app->controller.setTrayProbe([] { return false; });
        app->controller.setTrayWait(std::chrono::milliseconds(0));
        QVERIFY(!app->setup.isVisible());
        app->start();
        QVERIFY(app->setup.isVisible());
        QVERIFY(app->setup.isEnabled());
        QVERIFY(!app->controller.isVisible());
        QVERIFY(!app->controller.isArmed());
        // The other forms come when first shown.
        QVERIFY(!app->about.created());
        QVERIFY(!app->options.created());
        QVERIFY(!app->popup.created());
        // Without a tray the user is told so once, when the wait for one has run out.
        QTRY_COMPARE(messageBoxes().size(), 1);
        QVERIFY(messageBoxes()[0].contains(u"\"INFORMACJA\" 0x40"_qs));
        QVERIFY(!app->controller.trayAvailable());
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
        app->controller.setTrayProbe([&trayPresent] { return trayPresent; });
        app->controller.setTrayWait(std::chrono::milliseconds(200));
        app->controller.alarm().AutoMinimize = autoMinimize;
        app->start();
        QVERIFY(app->controller.waitingForTray());
        QCOMPARE(app->setup.isVisible(), shownWhileWaiting);
        QVERIFY(messageBoxes().isEmpty());

        if (trayComes) {
            trayPresent = true;
            emit app->controller.findChild<TrayWatcher *>()->trayChanged();
            QVERIFY(!app->controller.waitingForTray());
        }
        QTRY_VERIFY(!app->controller.waitingForTray());
        QTest::qWait(250);
        QCOMPARE(app->setup.isVisible(), shownAtTheEnd);
        QCOMPARE(messageBoxes().size(), notices);
    }

    void aTrayThatComesTakesTheMinimisedSetupWindow()
    {
        bool trayPresent = false;
        app = std::make_unique<Application>(*platform, *storeFile, clock, paths());
        app->controller.setTrayProbe([&trayPresent] { return trayPresent; });
        app->start();
        // Without a tray closing the window minimises it to the taskbar.
        app->setup.close();
        QVERIFY(app->setup.isMinimized());
        TrayWatcher &watcher = *app->controller.findChild<TrayWatcher *>();
        emit watcher.trayChanged(); // something changed, but still no tray
        QVERIFY(app->controller.waitingForTray());
        QVERIFY(app->setup.isMinimized());

        trayPresent = true;
        emit watcher.trayChanged();
        QVERIFY(!app->controller.waitingForTray());
        QVERIFY(!app->setup.isVisible());
        QVERIFY(!app->setup.isMinimized());
        emit tray().activated(QSystemTrayIcon::Trigger);
        QVERIFY(app->setup.isVisible());
        QVERIFY(messageBoxes().isEmpty());
    }

    void autoMinimizeWithATrayStartsInTheTray()
    {
        app = std::make_unique<Application>(*platform, *storeFile, clock, paths());
        app->controller.setTrayProbe([] { return true; });
        app->controller.alarm().AutoMinimize = true;
        app->start();
        QVERIFY(!app->controller.waitingForTray());
        QVERIFY(!app->setup.isVisible());
        emit tray().activated(QSystemTrayIcon::Trigger);
        QVERIFY(app->setup.isVisible());
        QVERIFY(messageBoxes().isEmpty());
    }

    void trayClicksToggleTheSetupWindowAndCloseThePopup()
    {
        startProgram();
        app->controller.showAlarmPopup(false);
        QVERIFY(app->popup->isVisible());
        QVERIFY(!app->setup.isEnabled());
        const QRect area = platform->display().workArea();
        QCOMPARE(app->popup->geometry().bottomRight(), area.bottomRight());

        emit tray().activated(QSystemTrayIcon::Trigger);
        QVERIFY(!app->setup.isVisible());
        QVERIFY(!app->popup->isVisible());
        QVERIFY(app->setup.isEnabled());

        QTest::qWait(QApplication::doubleClickInterval() + 50);
        emit tray().activated(QSystemTrayIcon::Trigger);
        QVERIFY(app->setup.isVisible());
    }

    void aTrayClickBringsBackAMinimisedSetupWindow()
    {
        startProgram();
        app->setup.showMinimized();
        QVERIFY(app->setup.isMinimized());
        emit tray().activated(QSystemTrayIcon::Trigger);
        QVERIFY(app->setup.isVisible());
        QVERIFY(!app->setup.isMinimized());
    }

    void aTrayClickGivesSuspendedInputBack()
    {
        startProgram();
        platform->input().suspendMouse();
        platform->input().suspendKeyboard();
        emit tray().activated(QSystemTrayIcon::Trigger);
        QCOMPARE(recorder->lines().last(), u"ResumeInput"_qs);
        // Closing a popup that was never shown does not create it.
        QVERIFY(!app->popup.created());
    }

    void aDoubleClickTogglesOnce()
    {
        startProgram();
        emit tray().activated(QSystemTrayIcon::Trigger);
        emit tray().activated(QSystemTrayIcon::DoubleClick);
        QVERIFY(!app->setup.isVisible());
        // A double click that comes alone (no click reported before it) toggles too.
        emit tray().activated(QSystemTrayIcon::DoubleClick);
        QVERIFY(app->setup.isVisible());
        // The other activations do nothing.
        emit tray().activated(QSystemTrayIcon::Context);
        emit tray().activated(QSystemTrayIcon::MiddleClick);
        QVERIFY(app->setup.isVisible());
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
            app->setup.close();
        tray().contextMenu()->findChild<QAction *>(item)->trigger();
        QWidget *dialog = form == u"F_Opcje"_qs ? static_cast<QWidget *>(app->options.created())
                                                : static_cast<QWidget *>(app->about.created());
        QVERIFY(dialog);
        QCOMPARE(dialog->objectName(), form);
        QVERIFY(dialog->isVisible());
        QVERIFY(!app->setup.isEnabled());
        QCOMPARE(app->setup.isVisible(), setupShown);

        // A tray click meanwhile does not give the setup window back its input.
        emit tray().activated(QSystemTrayIcon::Trigger);
        QVERIFY(!app->setup.isEnabled());

        if (closeBy == 0)
            dialog->close();
        else if (closeBy == 1)
            QTest::keyClick(dialog, Qt::Key_Escape);
        else
            QTest::mouseClick(dialog->findChild<QPushButton *>(u"sb_OK"_qs), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QVERIFY(app->setup.isEnabled());
        // Only the options dialog's look at the autostart entry when it was shown.
        QCOMPARE(recorder->lines(),
                 form == u"F_Opcje"_qs ? QStringList{u"AutostartActive -> no"_qs} : QStringList{});
    }

    void popupClosesWithItsButton()
    {
        startProgram();
        app->setup.setEnabled(false);
        app->popup->show();
        QTest::mouseClick(app->popup->findChild<QPushButton *>(u"SpeedButton1"_qs), Qt::LeftButton);
        QVERIFY(!app->popup->isVisible());
        QVERIFY(app->setup.isEnabled());
    }

    void setTimeItemShowsTheSetupWindow()
    {
        startProgram();
        app->setup.close();
        trayItem(u"Ustawnowyczas1"_qs)->trigger();
        QVERIFY(app->setup.isVisible());
        trayItem(u"Ustawnowyczas1"_qs)->trigger(); // already shown: stays shown
        QVERIFY(app->setup.isVisible());
    }

    void theExecutorsWindowsAreTheForms()
    {
        startProgram();
        AlarmHost &host = app->controller;
        host.hideSetupWindow();
        QVERIFY(!app->setup.isVisible());
        app->controller.startTick();
        host.disarm();
        QVERIFY(!app->controller.isArmed());
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
        app->controller.setTrayProbe([] { return true; });
        app->start();
        const QStringList boxes = messageBoxes();
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes.front().contains(u"Nie można otworzyć pliku ustawień"_qs) &&
                     boxes.front().contains(path),
                 qPrintable(boxes.front()));
        recorder->clear();

        SetupWindow &setup = app->setup;
        auto *kind = setup.findChild<QComboBox *>(u"cb_Typ_Alarmu"_qs);
        kind->setCurrentIndex(kind->findText(kinds::DefaultWindow.toString()));
        setup.ib_StartClick();
        QVERIFY(app->controller.isArmed());
        QVERIFY(messageBoxes().isEmpty());
        QVERIFY(QFile::remove(blocker.fileName()));
    }

    // Last: ending the program ends every event loop of this process.
    void closeItemEndsAtOnceEvenWhenArmed()
    {
        startProgram();
        CloseCounter counter;
        app->controller.installEventFilter(&counter);
        app->controller.startTick();
        QVERIFY(app->controller.isArmed());
        trayItem(u"Zamknij1"_qs)->trigger();
        QCOMPARE(counter.closes, 1);
        // The setup window's exit button, once it has asked, ends the program the same way.
        static_cast<SetupHost &>(app->controller).quit();
        QCOMPARE(counter.closes, 2);
        QVERIFY(messageBoxes().isEmpty());
    }
};

QTEST_MAIN(TestMainController)
#include "tst_maincontroller.moc"
