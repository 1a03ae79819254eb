#include "core/ArmedAlarm.h"
#include "core/Error.h"
#include "engine/Executor.h"
#include "platform/recording/RecordingPlatform.h"
#include "support/FakeHost.h"

#include <QScopeGuard>
#include <QTest>

using namespace tockwell;
using platform::Recorder;

class TestExecutor : public QObject
{
    Q_OBJECT

    std::shared_ptr<Recorder> m_recorder;
    std::unique_ptr<platform::Platform> m_platform;
    std::unique_ptr<test::FakeHost> m_host;
    ArmedAlarm m_alarm;

    ArmedAlarm &arm(QStringView kind, const QString &main = QString(),
                    const QString &second = QString())
    {
        m_alarm.Mode = u"D"_qs;
        m_alarm.ActionKind = kind.toString();
        m_alarm.MainParam = main;
        m_alarm.SecondParam = second;
        return m_alarm;
    }

    // Fires the alarm and returns the calls it made, without the after-firing disarm.
    QStringList fire()
    {
        Executor(*m_platform, *m_host, m_alarm).fire();
        QStringList lines = m_recorder->lines();
        if (!lines.isEmpty() && lines.back() == u"Host disarm"_qs)
            lines.removeLast();
        return lines;
    }

    QString firingError()
    {
        try {
            Executor(*m_platform, *m_host, m_alarm).fire();
        } catch (const Error &e) {
            return e.text();
        }
        return QString();
    }

private slots:
    void init()
    {
        m_recorder = std::make_shared<Recorder>();
        m_platform = platform::makeRecordingPlatform(m_recorder);
        m_host = std::make_unique<test::FakeHost>(m_recorder);
        m_alarm = ArmedAlarm();
    }

    void dispatchByKind_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("main");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("popup") << kinds::DefaultWindow.toString() << QString()
                               << QStringList{u"Host showAlarmPopup beep=off"_qs};
        QTest::newRow("message") << kinds::Message.toString() << u"UWAGA !!!¶Już czas"_qs
                                 << QStringList{
                                        u"MessageBox \"Już czas\" \"UWAGA !!!\" 0x40030 -> 1"_qs};
        QTest::newRow("sound") << kinds::PlaySound.toString() << u"/home/u/Budzik.mp3"_qs
                               << QStringList{u"Host playAlarmSound \"/home/u/Budzik.mp3\""_qs};
        for (const QStringView kind :
             {kinds::RunProgram, kinds::OpenFile, kinds::OpenFolder, kinds::OpenWebPage}) {
            QTest::newRow(kind.toUtf8().constData())
                << kind.toString() << u"/tmp/a b;$(x)"_qs
                << QStringList{u"ShellOpen \"/tmp/a b;$(x)\" \"\" normal"_qs};
        }
        QTest::newRow("lower-case kind") << u"komunikat"_qs << u"T¶M"_qs << QStringList{};
        QTest::newRow("trailing blank") << u"Uruchom plik "_qs << u"/x"_qs << QStringList{};
        QTest::newRow("empty kind") << QString() << QString() << QStringList{};
    }
    void dispatchByKind()
    {
        QFETCH(QString, kind);
        QFETCH(QString, main);
        QFETCH(QStringList, calls);
        arm(kind, main);
        QCOMPARE(fire(), calls);
    }

    void shutdownChoices_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QStringList>("middle");
        QTest::newRow("log off") << shutdowns::LogOff.toString()
                                 << QStringList{u"ExitSession logoff force"_qs};
        QTest::newRow("power off")
            << shutdowns::PowerOff.toString() << QStringList{u"ExitSession poweroff force"_qs};
        QTest::newRow("restart") << shutdowns::Restart.toString()
                                 << QStringList{u"ExitSession reboot force"_qs};
        QTest::newRow("shut down")
            << shutdowns::ShutDown.toString() << QStringList{u"ExitSession shutdown force"_qs};
        QTest::newRow("suspend") << shutdowns::Suspend.toString()
                                 << QStringList{
                                        u"UsesPrivileges -> yes"_qs,
                                        u"AdjustPrivilege \"SeShutdownPrivilege\" enable -> ok"_qs,
                                        u"SetPowerState suspend force -> ok"_qs};
        QTest::newRow("hibernate")
            << shutdowns::Hibernate.toString()
            << QStringList{u"UsesPrivileges -> yes"_qs,
                           u"AdjustPrivilege \"SeShutdownPrivilege\" enable -> ok"_qs,
                           u"SetPowerState hibernate force -> ok"_qs};
        QTest::newRow("unknown") << u"Wyłącz Komputer"_qs << QStringList{};
    }
    void shutdownChoices()
    {
        QFETCH(QString, choice);
        QFETCH(QStringList, middle);
        arm(kinds::Shutdown, choice);
        const QStringList expected =
            QStringList{u"AdjustPrivilege \"SeShutdownPrivilege\" enable -> ok"_qs} + middle +
            QStringList{u"AdjustPrivilege \"SeShutdownPrivilege\" disable -> ok"_qs};
        QCOMPARE(fire(), expected);
    }

    void otherActions_data()
    {
        QTest::addColumn<QString>("subAction");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QStringList>("calls");
        using namespace others;
        QTest::newRow("monitor") << MonitorOff.toString() << QString()
                                 << QStringList{u"MonitorLowPower"_qs};
        QTest::newRow("control panel")
            << ControlPanel.toString() << QString() << QStringList{u"OpenControlPanel"_qs};
        QTest::newRow("explorer") << Explorer.toString() << QString()
                                  << QStringList{u"OpenFileManager"_qs};
        QTest::newRow("browser") << Browser.toString() << QString()
                                 << QStringList{u"OpenBlankBrowser"_qs};
        QTest::newRow("minimise all")
            << MinimizeAll.toString() << QString() << QStringList{u"MinimizeAllWindows"_qs};
        QTest::newRow("volume") << MaxVolume.toString() << QString()
                                << QStringList{u"MaximiseVolume"_qs};
        QTest::newRow("screen saver")
            << ScreenSaver.toString() << QString() << QStringList{u"StartScreenSaver"_qs};
        QTest::newRow("keyboard") << SuspendKeyboard.toString() << QString()
                                  << QStringList{u"SuspendKeyboard"_qs};
        QTest::newRow("mouse") << SuspendMouse.toString() << QString()
                               << QStringList{u"SuspendMouse"_qs};
        QTest::newRow("mouse and keyboard")
            << SuspendMouseAndKeyboard.toString() << QString()
            << QStringList{u"SuspendMouse"_qs, u"SuspendKeyboard"_qs};
        QTest::newRow("single click")
            << SingleClick.toString() << u"100;200"_qs
            << QStringList{u"SetCursorPos 100 200"_qs, u"MouseButton left-down 100 200"_qs,
                           u"MouseButton left-up 100 200"_qs};
        QTest::newRow("double click")
            << DoubleClick.toString() << u"0;0"_qs
            << QStringList{u"SetCursorPos 0 0"_qs, u"MouseButton left-down 0 0"_qs,
                           u"MouseButton left-up 0 0"_qs, u"MouseButton left-down 0 0"_qs,
                           u"MouseButton left-up 0 0"_qs};
        QTest::newRow("cd close") << CdTray.toString() << u"D;0"_qs
                                  << QStringList{u"CdDoor \"D\" close"_qs};
        QTest::newRow("cd open") << CdTray.toString() << u"E;1"_qs
                                 << QStringList{u"CdDoor \"E\" open"_qs};
        QTest::newRow("cd other operation closes")
            << CdTray.toString() << u"D;;"_qs << QStringList{u"CdDoor \"D\" close"_qs};
        QTest::newRow("key press") << PressKey.toString() << u"[ALT + F4]"_qs
                                   << QStringList{u"PressKeys 0xffe9 0xffc1"_qs};
        QTest::newRow("key press, copy") << PressKey.toString() << u"[CTRL+C] Kopiuj"_qs
                                         << QStringList{u"PressKeys 0xffe3 0x63"_qs};
        QTest::newRow("key press, unknown key")
            << PressKey.toString() << u"[PAUZA]"_qs << QStringList{};
        QTest::newRow("unknown") << u"Wygaś Monitor"_qs << QString() << QStringList{};
        QTest::newRow("click text ignored by others")
            << MonitorOff.toString() << u"not a point"_qs << QStringList{u"MonitorLowPower"_qs};
    }
    void otherActions()
    {
        QFETCH(QString, subAction);
        QFETCH(QString, second);
        QFETCH(QStringList, calls);
        arm(kinds::Other, subAction, second);
        QCOMPARE(fire(), calls);
    }

    // In a Wayland session each action goes to the compositor's own means, recorded with the
    // back end's name, or the user is told why this desktop cannot do it.
    void otherActionsInAWaylandSession_data()
    {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QString>("subAction");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QStringList>("calls");
        using namespace others;
        const auto told = [](const char *desktop, const char *what, const char *why) {
            return QStringList{u"MessageBox \"Na tym pulpicie (%1, Wayland) nie da się %2: %3.\" "
                               "\"Tockwell\" 0x40030 -> 1"_qs.arg(QString::fromUtf8(desktop),
                                                                  QString::fromUtf8(what),
                                                                  QString::fromUtf8(why))};
        };
        const char *refused = "kompozytor nie pozwala na to innym programom";
        QTest::newRow("sway: keys") << u"sway"_qs << PressKey.toString() << u"[CTRL+C]"_qs
                                    << QStringList{u"PressKeys wayland-wlroots 0xffe3 0x63"_qs};
        QTest::newRow("sway: click")
            << u"sway"_qs << SingleClick.toString() << u"100;200"_qs
            << QStringList{u"SetCursorPos wayland-wlroots 100 200"_qs,
                           u"MouseButton wayland-wlroots left-down 100 200"_qs,
                           u"MouseButton wayland-wlroots left-up 100 200"_qs};
        QTest::newRow("sway: monitor") << u"sway"_qs << MonitorOff.toString() << QString()
                                       << QStringList{u"MonitorLowPower wayland-wlroots"_qs};
        QTest::newRow("sway: keyboard") << u"sway"_qs << SuspendKeyboard.toString() << QString()
                                        << told("sway", "wyłączyć klawiatury ani myszy", refused);
        QTest::newRow("sway: minimise all")
            << u"sway"_qs << MinimizeAll.toString() << QString()
            << told("sway", "zminimalizować wszystkich okien", refused);
        QTest::newRow("GNOME: minimise all, as on X11")
            << u"ubuntu:GNOME"_qs << MinimizeAll.toString() << QString()
            << QStringList{u"MinimizeAllWindows"_qs};
        QTest::newRow("GNOME: mouse") << u"GNOME"_qs << SuspendMouse.toString() << QString()
                                      << told("GNOME", "wyłączyć klawiatury ani myszy", refused);
        QTest::newRow("GNOME: keys") << u"GNOME"_qs << PressKey.toString() << u"a"_qs
                                     << QStringList{u"PressKeys wayland-mutter 0x61"_qs};
        QTest::newRow("GNOME: monitor") << u"GNOME"_qs << MonitorOff.toString() << QString()
                                        << QStringList{u"MonitorLowPower wayland-mutter"_qs};
        QTest::newRow("GNOME: click") << u"GNOME"_qs << SingleClick.toString() << u"1;2"_qs
                                      << QStringList{u"SetCursorPos wayland-mutter 1 2"_qs,
                                                     u"MouseButton wayland-mutter left-down 1 2"_qs,
                                                     u"MouseButton wayland-mutter left-up 1 2"_qs};
        QTest::newRow("KDE: keys") << u"KDE"_qs << PressKey.toString() << u"[CTRL+C]"_qs
                                   << QStringList{u"PressKeys wayland-kwin 0xffe3 0x63"_qs};
        QTest::newRow("KDE: double click")
            << u"KDE"_qs << DoubleClick.toString() << u"5;6"_qs
            << QStringList{u"SetCursorPos wayland-kwin 5 6"_qs,
                           u"MouseButton wayland-kwin left-down 5 6"_qs,
                           u"MouseButton wayland-kwin left-up 5 6"_qs,
                           u"MouseButton wayland-kwin left-down 5 6"_qs,
                           u"MouseButton wayland-kwin left-up 5 6"_qs};
        QTest::newRow("KDE: monitor") << u"KDE"_qs << MonitorOff.toString() << QString()
                                      << QStringList{u"MonitorLowPower wayland-kwin"_qs};
        QTest::newRow("KDE: minimise all") << u"KDE"_qs << MinimizeAll.toString() << QString()
                                           << QStringList{u"MinimizeAllWindows wayland-kwin"_qs};
        QTest::newRow("KDE: keyboard") << u"KDE"_qs << SuspendKeyboard.toString() << QString()
                                       << QStringList{u"SuspendKeyboard wayland-kwin"_qs};
    }
    void otherActionsInAWaylandSession()
    {
        QFETCH(QString, desktop);
        QFETCH(QString, subAction);
        QFETCH(QString, second);
        QFETCH(QStringList, calls);
        qputenv("XDG_SESSION_TYPE", "wayland");
        qputenv("XDG_CURRENT_DESKTOP", desktop.toUtf8());
        const auto x11 = qScopeGuard([] {
            qunsetenv("XDG_SESSION_TYPE");
            qunsetenv("XDG_CURRENT_DESKTOP");
        });
        arm(kinds::Other, subAction, second);
        QCOMPARE(fire(), calls);
    }

    void preAlarmStepsRunFirstInOrder()
    {
        arm(kinds::Message, u"T¶M"_qs);
        m_alarm.ScreenSaverOff = m_alarm.MinimizeAll = m_alarm.MinimizeProg = true;
        m_recorder->script(u"CursorPos"_qs, u"300 400"_qs);
        QCOMPARE(fire(), (QStringList{u"CursorPos -> 300 400"_qs, u"SetCursorPos 0 0"_qs,
                                      u"SetCursorPos 300 400"_qs, u"MinimizeAllWindows"_qs,
                                      u"Host hideSetupWindow"_qs,
                                      u"MessageBox \"M\" \"T\" 0x40030 -> 1"_qs}));
    }

    void popupFollowsPlayBeepAtFiringTime()
    {
        arm(kinds::DefaultWindow);
        m_alarm.PlayBeep = true; // changed after Start: the firing sees it
        QCOMPARE(fire(), QStringList{u"Host showAlarmPopup beep=on"_qs});
    }

    void soundErrorNamesTheExtensionAndKeepsTheAlarmArmed_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("extension");
        QTest::newRow("xyz") << u"/home/u/dźwięk.xyz"_qs << u".xyz"_qs;
        QTest::newRow("no extension") << u"/home/u/plik"_qs << QString();
        QTest::newRow("dot in folder only") << u"/home/u.v/plik"_qs << QString();
        QTest::newRow("last dot") << u"/a/b.tar.gz"_qs << u".gz"_qs;
        QTest::newRow("trailing dot") << u"/a/b."_qs << u"."_qs;
    }
    void soundErrorNamesTheExtensionAndKeepsTheAlarmArmed()
    {
        QFETCH(QString, file);
        QFETCH(QString, extension);
        arm(kinds::PlaySound, file);
        m_host->soundFails = true;
        QCOMPARE(firingError(),
                 u"Nie mogę otworzyć pliku o rozszerzeniu \""_qs + extension +
                     u"\" Sprawdź czy plik nie jest uszkodzony lub czy jego format danych jest "_qs
                     "prawidłowy."_qs);
        QVERIFY(!m_recorder->lines().contains(u"Host disarm"_qs));
    }

    void otherPlayerErrorsPassUnchanged()
    {
        arm(kinds::PlaySound, u"/a/b.wav"_qs);
        m_host->soundThrowsOther = true;
        QCOMPARE(firingError(), u"Another error"_qs);
    }

    void refusedPowerStateIsASystemErrorAndSkipsTheRest()
    {
        arm(kinds::Shutdown, shutdowns::Hibernate.toString());
        m_recorder->script(u"SetPowerState"_qs, u"error 50 Hibernation is not available."_qs);
        QCOMPARE(firingError(), u"System Error.  Code: 50.\r\nHibernation is not available."_qs);
        const QStringList lines = m_recorder->lines();
        QCOMPARE(lines.back(),
                 u"SetPowerState hibernate force -> error 50 Hibernation is not available."_qs);
        QVERIFY(!lines.contains(u"AdjustPrivilege \"SeShutdownPrivilege\" disable -> ok"_qs));
        QVERIFY(!lines.contains(u"Host disarm"_qs));
    }

    void refusedPrivilegeStopsBeforeThePowerChange()
    {
        arm(kinds::Shutdown, shutdowns::Suspend.toString());
        m_recorder->script(u"AdjustPrivilege"_qs, u"error 5 Access is denied."_qs); // the first one
        m_recorder->script(u"AdjustPrivilege"_qs, u"error 5 Access is denied."_qs); // inside
        QCOMPARE(firingError(), u"System Error.  Code: 5.\r\nAccess is denied."_qs);
        QVERIFY(!m_recorder->lines().back().startsWith(u"SetPowerState"_qs));
    }

    void withoutPrivilegesThePowerChangeIsDirect()
    {
        arm(kinds::Shutdown, shutdowns::Suspend.toString());
        m_recorder->script(u"UsesPrivileges"_qs, u"no"_qs);
        QCOMPARE(fire(),
                 (QStringList{u"AdjustPrivilege \"SeShutdownPrivilege\" enable -> ok"_qs,
                              u"UsesPrivileges -> no"_qs, u"SetPowerState suspend force -> ok"_qs,
                              u"AdjustPrivilege \"SeShutdownPrivilege\" disable -> ok"_qs}));
    }

    void malformedClickPointIsReported()
    {
        arm(kinds::Other, others::SingleClick.toString(), u"[ALT + F4]"_qs);
        QCOMPARE(firingError(), u"'[ALT + F4]' is not a valid integer value"_qs);
        QVERIFY(m_recorder->lines().isEmpty());
    }

    void afterFiring_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("repeat");
        QTest::addColumn<bool>("disarmed");
        QTest::addColumn<int>("countdownLeft");
        QTest::newRow("no repeat") << u"D"_qs << 0 << true << -3;
        QTest::newRow("clock time, repeat") << u"G"_qs << 30 << false << -3;
        QTest::newRow("countdown, repeat") << u"D"_qs << 3 << false << 3;
        QTest::newRow("other mode, repeat") << u"X"_qs << 3 << false << -3;
    }
    void afterFiring()
    {
        QFETCH(QString, mode);
        QFETCH(int, repeat);
        QFETCH(bool, disarmed);
        QFETCH(int, countdownLeft);
        arm(kinds::Other, others::PressKey.toString());
        m_alarm.Mode = mode;
        m_alarm.RepeatSeconds = repeat;
        m_alarm.CountdownLeft = -3; // ticks that came while the action waited
        Executor(*m_platform, *m_host, m_alarm).fire();
        QCOMPARE(m_recorder->lines().contains(u"Host disarm"_qs), disarmed);
        QCOMPARE(m_alarm.CountdownLeft, countdownLeft);
    }
};

QTEST_MAIN(TestExecutor)
#include "tst_executor.moc"
