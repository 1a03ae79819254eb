#include "app/AlarmSlot.h"
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

    QTemporaryDir m_programDir;
    std::shared_ptr<Recorder> m_recorder;
    std::unique_ptr<platform::Platform> m_platform;
    test::FakeClock m_clock;
    std::unique_ptr<Application> m_app;
    std::unique_ptr<StoreFile> m_storeFile;

    SeedingPaths paths() const
    {
        return SeedingPaths::forProgram(m_programDir.filePath(u"tockwell"_qs));
    }

    TrayIcon &tray() { return *m_app->controller.findChild<TrayIcon *>(u"Tray"_qs); }
    QAction *trayItem(const QString &name)
    {
        return tray().contextMenu()->findChild<QAction *>(name);
    }

    void writeHelpFile()
    {
        QVERIFY(QDir(m_programDir.path()).mkpath(u"help"_qs));
        QFile page(m_programDir.filePath(u"help/tockwell.html"_qs));
        QVERIFY(page.open(QIODevice::WriteOnly));
    }

    // The program as it is after start-up, with an empty log.
    void startProgram(bool trayPresent = true)
    {
        m_app = std::make_unique<Application>(*m_platform, *m_storeFile, m_clock, paths());
        m_app->controller.setTrayProbe([trayPresent] { return trayPresent; });
        m_app->start();
        m_recorder->clear();
    }

    QStringList messageBoxes() const { return m_recorder->lines().filter(u"MessageBox"_qs); }

private slots:
    void init()
    {
        QVERIFY(m_programDir.isValid());
        m_recorder = std::make_shared<Recorder>();
        m_platform = platform::makeRecordingPlatform(m_recorder);
        m_storeFile = std::make_unique<StoreFile>(m_programDir.filePath(u"settings.db"_qs));
    }

    void cleanup()
    {
        m_app.reset();
        QDir(m_programDir.filePath(u"help"_qs)).removeRecursively();
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
            {u"Nowyalarm1"_qs, u"Nowy alarm"_qs},
            {u"Alarmy1"_qs, u"Alarmy"_qs},
            {u"Drzemka1"_qs, u"Drzemka"_qs},
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
            if (!item->isSeparator() && !item->menu())
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
        QCOMPARE(m_recorder->lines(),
                 QStringList{u"ShellOpen "_qs +
                             Recorder::quoted(m_programDir.filePath(u"help/tockwell.html"_qs)) +
                             u" \"\" maximized"_qs});
    }

    void everyStartShowsTheSetupWindowDisarmed()
    {
        m_app = std::make_unique<Application>(*m_platform, *m_storeFile, m_clock, paths());
        m_app->controller.setTrayProbe([] { return false; });
        m_app->controller.setTrayWait(std::chrono::milliseconds(0));
        QVERIFY(!m_app->setup.isVisible());
        m_app->start();
        QVERIFY(m_app->setup.isVisible());
        QVERIFY(m_app->setup.isEnabled());
        QVERIFY(!m_app->controller.isVisible());
        QVERIFY(!m_app->controller.firstAlarm().isArmed());
        // The other forms come when first shown.
        QVERIFY(!m_app->about.created());
        QVERIFY(!m_app->options.created());
        QVERIFY(!m_app->popup.created());
        // Without a tray the user is told so once, when the wait for one has run out.
        QTRY_COMPARE(messageBoxes().size(), 1);
        QVERIFY(messageBoxes()[0].contains(u"\"INFORMACJA\" 0x40"_qs));
        QVERIFY(!m_app->controller.trayAvailable());
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
        m_app = std::make_unique<Application>(*m_platform, *m_storeFile, m_clock, paths());
        m_app->controller.setTrayProbe([&trayPresent] { return trayPresent; });
        m_app->controller.setTrayWait(std::chrono::milliseconds(200));
        m_app->controller.options().AutoMinimize = autoMinimize;
        m_app->start();
        QVERIFY(m_app->controller.waitingForTray());
        QCOMPARE(m_app->setup.isVisible(), shownWhileWaiting);
        QVERIFY(messageBoxes().isEmpty());

        if (trayComes) {
            trayPresent = true;
            emit m_app->controller.findChild<TrayWatcher *>()->trayChanged();
            QVERIFY(!m_app->controller.waitingForTray());
        }
        QTRY_VERIFY(!m_app->controller.waitingForTray());
        QTest::qWait(250);
        QCOMPARE(m_app->setup.isVisible(), shownAtTheEnd);
        QCOMPARE(messageBoxes().size(), notices);
    }

    void aTrayThatComesTakesTheMinimisedSetupWindow()
    {
        bool trayPresent = false;
        m_app = std::make_unique<Application>(*m_platform, *m_storeFile, m_clock, paths());
        m_app->controller.setTrayProbe([&trayPresent] { return trayPresent; });
        m_app->start();
        // Without a tray closing the window minimises it to the taskbar.
        m_app->setup.close();
        QVERIFY(m_app->setup.isMinimized());
        TrayWatcher &watcher = *m_app->controller.findChild<TrayWatcher *>();
        emit watcher.trayChanged(); // something changed, but still no tray
        QVERIFY(m_app->controller.waitingForTray());
        QVERIFY(m_app->setup.isMinimized());

        trayPresent = true;
        emit watcher.trayChanged();
        QVERIFY(!m_app->controller.waitingForTray());
        QVERIFY(!m_app->setup.isVisible());
        QVERIFY(!m_app->setup.isMinimized());
        emit tray().activated(QSystemTrayIcon::Trigger);
        QVERIFY(m_app->setup.isVisible());
        QVERIFY(messageBoxes().isEmpty());
    }

    void autoMinimizeWithATrayStartsInTheTray()
    {
        m_app = std::make_unique<Application>(*m_platform, *m_storeFile, m_clock, paths());
        m_app->controller.setTrayProbe([] { return true; });
        m_app->controller.options().AutoMinimize = true;
        m_app->start();
        QVERIFY(!m_app->controller.waitingForTray());
        QVERIFY(!m_app->setup.isVisible());
        emit tray().activated(QSystemTrayIcon::Trigger);
        QVERIFY(m_app->setup.isVisible());
        QVERIFY(messageBoxes().isEmpty());
    }

    void trayClicksToggleTheSetupWindowAndCloseThePopup()
    {
        startProgram();
        m_app->controller.firstAlarm().showAlarmPopup(false);
        QVERIFY(m_app->popup->isVisible());
        QVERIFY(!m_app->setup.isEnabled());
        const QRect area = m_platform->display().workArea();
        QCOMPARE(m_app->popup->geometry().bottomRight(), area.bottomRight());

        emit tray().activated(QSystemTrayIcon::Trigger);
        QVERIFY(!m_app->setup.isVisible());
        QVERIFY(!m_app->popup->isVisible());
        QVERIFY(m_app->setup.isEnabled());

        QTest::qWait(QApplication::doubleClickInterval() + 50);
        emit tray().activated(QSystemTrayIcon::Trigger);
        QVERIFY(m_app->setup.isVisible());
    }

    void aTrayClickBringsBackAMinimisedSetupWindow()
    {
        startProgram();
        m_app->setup.showMinimized();
        QVERIFY(m_app->setup.isMinimized());
        emit tray().activated(QSystemTrayIcon::Trigger);
        QVERIFY(m_app->setup.isVisible());
        QVERIFY(!m_app->setup.isMinimized());
    }

    void aTrayClickGivesSuspendedInputBack()
    {
        startProgram();
        m_platform->input().suspendMouse();
        m_platform->input().suspendKeyboard();
        emit tray().activated(QSystemTrayIcon::Trigger);
        QCOMPARE(m_recorder->lines().last(), u"ResumeInput"_qs);
        // Closing a popup that was never shown does not create it.
        QVERIFY(!m_app->popup.created());
    }

    void aDoubleClickTogglesOnce()
    {
        startProgram();
        emit tray().activated(QSystemTrayIcon::Trigger);
        emit tray().activated(QSystemTrayIcon::DoubleClick);
        QVERIFY(!m_app->setup.isVisible());
        // A double click that comes alone (no click reported before it) toggles too.
        emit tray().activated(QSystemTrayIcon::DoubleClick);
        QVERIFY(m_app->setup.isVisible());
        // The other activations do nothing.
        emit tray().activated(QSystemTrayIcon::Context);
        emit tray().activated(QSystemTrayIcon::MiddleClick);
        QVERIFY(m_app->setup.isVisible());
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
            m_app->setup.close();
        tray().contextMenu()->findChild<QAction *>(item)->trigger();
        QWidget *dialog = form == u"F_Opcje"_qs ? static_cast<QWidget *>(m_app->options.created())
                                                : static_cast<QWidget *>(m_app->about.created());
        QVERIFY(dialog);
        QCOMPARE(dialog->objectName(), form);
        QVERIFY(dialog->isVisible());
        QVERIFY(!m_app->setup.isEnabled());
        QCOMPARE(m_app->setup.isVisible(), setupShown);

        // A tray click meanwhile does not give the setup window back its input.
        emit tray().activated(QSystemTrayIcon::Trigger);
        QVERIFY(!m_app->setup.isEnabled());

        if (closeBy == 0)
            dialog->close();
        else if (closeBy == 1)
            QTest::keyClick(dialog, Qt::Key_Escape);
        else
            QTest::mouseClick(dialog->findChild<QPushButton *>(u"sb_OK"_qs), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QVERIFY(m_app->setup.isEnabled());
        // Only the options dialog's look at the autostart entry when it was shown.
        QCOMPARE(m_recorder->lines(),
                 form == u"F_Opcje"_qs ? QStringList{u"AutostartActive -> no"_qs} : QStringList{});
    }

    void popupClosesWithItsButton()
    {
        startProgram();
        m_app->setup.setEnabled(false);
        m_app->popup->show();
        QTest::mouseClick(m_app->popup->findChild<QPushButton *>(u"SpeedButton1"_qs),
                          Qt::LeftButton);
        QVERIFY(!m_app->popup->isVisible());
        QVERIFY(m_app->setup.isEnabled());
    }

    void setTimeItemShowsTheSetupWindow()
    {
        startProgram();
        m_app->setup.close();
        trayItem(u"Ustawnowyczas1"_qs)->trigger();
        QVERIFY(m_app->setup.isVisible());
        trayItem(u"Ustawnowyczas1"_qs)->trigger(); // already shown: stays shown
        QVERIFY(m_app->setup.isVisible());
    }

    void theExecutorsWindowsAreTheForms()
    {
        startProgram();
        AlarmHost &host = m_app->controller.firstAlarm();
        host.hideSetupWindow();
        QVERIFY(!m_app->setup.isVisible());
        m_app->controller.firstAlarm().startTick();
        host.disarm();
        QVERIFY(!m_app->controller.firstAlarm().isArmed());
    }

    // A store that cannot even be opened is told of once, with its file and cause, and nothing
    // else: no seeding error; Start still arms the alarm, though its settings are not kept.
    void storeThatCannotBeWrittenIsToldOnceAndAlarmsStillArm()
    {
        QFile blocker(m_programDir.filePath(u"blocker"_qs));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString path = blocker.fileName() + u"/settings.db"_qs;
        m_storeFile = std::make_unique<StoreFile>(path);
        m_app = std::make_unique<Application>(*m_platform, *m_storeFile, m_clock, paths());
        m_app->controller.setTrayProbe([] { return true; });
        m_app->start();
        const QStringList boxes = messageBoxes();
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes.front().contains(u"Nie można otworzyć pliku ustawień"_qs) &&
                     boxes.front().contains(path),
                 qPrintable(boxes.front()));
        m_recorder->clear();

        SetupWindow &setup = m_app->setup;
        auto *kind = setup.findChild<QComboBox *>(u"cb_Typ_Alarmu"_qs);
        kind->setCurrentIndex(kind->findText(kinds::DefaultWindow.toString()));
        setup.ib_StartClick();
        QVERIFY(m_app->controller.firstAlarm().isArmed());
        QVERIFY(messageBoxes().isEmpty());
        QVERIFY(QFile::remove(blocker.fileName()));
    }

    // Last: ending the program ends every event loop of this process.
    void closeItemEndsAtOnceEvenWhenArmed()
    {
        startProgram();
        CloseCounter counter;
        m_app->controller.installEventFilter(&counter);
        m_app->controller.firstAlarm().startTick();
        QVERIFY(m_app->controller.firstAlarm().isArmed());
        trayItem(u"Zamknij1"_qs)->trigger();
        QCOMPARE(counter.closes, 1);
        // The setup window's exit button, once it has asked, ends the program the same way.
        m_app->controller.firstAlarm().quit();
        QCOMPARE(counter.closes, 2);
        QVERIFY(messageBoxes().isEmpty());
    }
};

QTEST_MAIN(TestMainController)
#include "tst_maincontroller.moc"
