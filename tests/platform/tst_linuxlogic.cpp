// The decisions of the Linux backend that need no desktop, and its X11-only effects doing
// nothing, harmlessly, where there is no X display.
#include "platform/linux/CdDrives.h"
#include "platform/linux/LinuxAudio.h"
#include "platform/linux/LinuxDisplay.h"
#include "platform/linux/LinuxSession.h"
#include "platform/linux/LinuxShell.h"
#include "platform/linux/SoundLibrary.h"
#include "platform/linux/X11.h"
#include "platform/linux/X11Input.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace tockwell::platform;
using Kind = OpenRequest::Kind;

class TestLinuxLogic : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        writeFile(u"notes with blanks.txt"_qs, false);
        writeFile(u"tool; $(touch x) \"q\".sh"_qs, true);
        QVERIFY(QDir(m_dir.path()).mkdir(u"a folder"_qs));
    }

    void openRequests_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("expected"); // program path or URL
        const QString dir = m_dir.path() + u'/';
        const QString tool = dir + u"tool; $(touch x) \"q\".sh"_qs;
        const QString notes = dir + u"notes with blanks.txt"_qs;
        QTest::newRow("program") << tool << int(Kind::Program) << tool;
        QTest::newRow("program in quotes") << u'"' + tool + u'"' << int(Kind::Program) << tool;
        QTest::newRow("document") << notes << int(Kind::Document)
                                  << QUrl::fromLocalFile(notes).toString(QUrl::FullyEncoded);
        QTest::newRow("document in quotes (the preview's form)")
            << u'"' + notes + u'"' << int(Kind::Document)
            << QUrl::fromLocalFile(notes).toString(QUrl::FullyEncoded);
        QTest::newRow("folder")
            << dir + u"a folder"_qs << int(Kind::Document)
            << QUrl::fromLocalFile(dir + u"a folder"_qs).toString(QUrl::FullyEncoded);
        QTest::newRow("missing file stays a file")
            << u"/nonexistent/x.txt"_qs << int(Kind::Document) << u"file:///nonexistent/x.txt"_qs;
        QTest::newRow("program on the PATH")
            << u"sh"_qs << int(Kind::Program) << QStandardPaths::findExecutable(u"sh"_qs);
        QTest::newRow("address without scheme")
            << u"www.example.com"_qs << int(Kind::Web) << u"http://www.example.com"_qs;
        QTest::newRow("address with a path")
            << u"example.com/a b"_qs << int(Kind::Web) << u"http://example.com/a%20b"_qs;
        QTest::newRow("host and port")
            << u"localhost:8080"_qs << int(Kind::Web) << u"http://localhost:8080"_qs;
        QTest::newRow("https kept")
            << u"https://example.com/x?y=1"_qs << int(Kind::Web) << u"https://example.com/x?y=1"_qs;
        QTest::newRow("mailto kept")
            << u"mailto:a@example.com"_qs << int(Kind::Web) << u"mailto:a@example.com"_qs;
    }
    void openRequests()
    {
        QFETCH(QString, target);
        QFETCH(int, kind);
        QFETCH(QString, expected);
        const OpenRequest request = openRequest(target, QString());
        QCOMPARE(int(request.kind), kind);
        if (request.kind == Kind::Program) {
            QCOMPARE(request.program, expected);
            QVERIFY(request.arguments.isEmpty());
        } else {
            QCOMPARE(request.url.toString(QUrl::FullyEncoded), expected);
        }
    }

    void programArgumentsAreSplitNotInterpreted()
    {
        const OpenRequest request = openRequest(u"sh"_qs, u"-c \"echo $(id)\" 'a;b' plain"_qs);
        QCOMPARE(request.arguments,
                 QStringList({u"-c"_qs, u"echo $(id)"_qs, u"'a;b'"_qs, u"plain"_qs}));
    }

    void logindRefusals_data()
    {
        QTest::addColumn<QString>("error");
        QTest::addColumn<int>("code");
        QTest::newRow("not permitted") << u"org.freedesktop.DBus.Error.AccessDenied"_qs << 5;
        QTest::newRow("needs a password")
            << u"org.freedesktop.DBus.Error.InteractiveAuthorizationRequired"_qs << 5;
        QTest::newRow("inhibited") << u"org.freedesktop.login1.BlockedByInhibitorLock"_qs << 5;
        QTest::newRow("no hibernation") << u"org.freedesktop.login1.SleepVerbNotSupported"_qs << 50;
        QTest::newRow("old logind") << u"org.freedesktop.DBus.Error.UnknownMethod"_qs << 50;
        QTest::newRow("no logind") << u"org.freedesktop.DBus.Error.ServiceUnknown"_qs << 1722;
        QTest::newRow("no system bus") << u"org.freedesktop.DBus.Error.FileNotFound"_qs << 1722;
        QTest::newRow("bus gone") << u"org.freedesktop.DBus.Error.Disconnected"_qs << 1722;
        QTest::newRow("no answer") << u"org.freedesktop.DBus.Error.NoReply"_qs << 1460;
        QTest::newRow("busy") << u"org.freedesktop.login1.OperationInProgress"_qs << 1115;
        QTest::newRow("anything else") << u"org.example.Strange"_qs << 31;
    }
    void logindRefusals()
    {
        QFETCH(QString, error);
        QFETCH(int, code);
        const Failure failure = logindFailure(error, u"logind's words"_qs);
        QCOMPARE(failure.code, code);
        QVERIFY(!failure.description.isEmpty());
        QCOMPARE(failure.description == u"logind's words"_qs, code == 31);
    }

    void logindAnswers_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("code"); // 0: allowed
        QTest::newRow("yes") << u"yes"_qs << 0;
        QTest::newRow("no") << u"no"_qs << 5;
        QTest::newRow("challenge cannot be answered") << u"challenge"_qs << 5;
        QTest::newRow("not available") << u"na"_qs << 50;
    }
    void logindAnswers()
    {
        QFETCH(QString, answer);
        QFETCH(int, code);
        const auto failure = logindAnswerFailure(answer);
        QCOMPARE(failure ? failure->code : 0, code);
    }

    void unknownPrivilegeIsRefusedWithoutAsking()
    {
        LinuxSession session(QDBusConnection(u"never connected"_qs));
        QCOMPARE(session.adjustPrivilege(u"SeDebugPrivilege"_qs, true)->code, 1313);
        QVERIFY(!session.adjustPrivilege(u"SeShutdownPrivilege"_qs, false));
        QCOMPARE(session.adjustPrivilege(u"SeShutdownPrivilege"_qs, true)->code, 1722);
        QCOMPARE(session.setPowerState(true, true)->code, 1722);
        QVERIFY(!session.usesPrivileges());
    }

    void cdDrivesFromTheKernelsList()
    {
        QTemporaryDir root;
        QDir dir(root.path());
        QVERIFY(dir.mkpath(u"sys/class/block"_qs) && dir.mkpath(u"dev"_qs));
        for (const QString &name : {u"sr1"_qs, u"sr0"_qs, u"sda"_qs, u"sr12"_qs})
            QVERIFY(dir.mkdir(u"sys/class/block/"_qs + name));
        CdDrives drives(root.path());
        QCOMPARE(drives.drives(), QStringList({u"0"_qs, u"1"_qs}));
        QCOMPARE(drives.devicePath(u"1"_qs), root.path() + u"/dev/sr1"_qs);
        for (const QString &bad : {u""_qs, u"D"_qs, u"01"_qs, u"/"_qs, u"٣"_qs})
            QVERIFY2(drives.devicePath(bad).isEmpty(), qPrintable(bad));

        // A device file that is no drive, and a drive that is not there: nothing, quietly.
        QFile notADrive(root.path() + u"/dev/sr0"_qs);
        QVERIFY(notADrive.open(QIODevice::WriteOnly));
        notADrive.close();
        drives.setDoor(u"0"_qs, true);
        drives.setDoor(u"1"_qs, false);
        drives.setDoor(u"D"_qs, true);
        QCOMPARE(QFileInfo(notADrive).size(), 0);
        QVERIFY(CdDrives(root.path() + u"/nothing"_qs).drives().isEmpty());
    }

    void x11OnlyEffectsDoNothingWithoutX11()
    {
        QVERIFY(!x11::display());
        QVERIFY(!setShowingDesktop(true));
        QVERIFY(!activateX11ScreenSaver());
        QVERIFY(!dpmsStandby());
        QVERIFY(suspendableDevices(DeviceKind::Keyboard).empty());
        QVERIFY(suspendableDevices(DeviceKind::Pointer).empty());
        X11Input input;
        input.mouseButton(MouseButtonEvent::LeftDown, QPoint(1, 1));
        input.mouseButton(MouseButtonEvent::LeftUp, QPoint(1, 1));
        input.suspendKeyboard();
        input.suspendMouse();
        input.pressKeys(KeyCombination{{0xffe3}, 0x63});
        LinuxDisplay display;
        display.minimizeAllWindows();
        display.monitorLowPower();
    }

    void dpmsComesBackOffWhenTheMonitorWakes()
    {
        bool monitorOn = false;
        int switchedOff = 0;
        {
            DpmsRestore restore(
                DpmsRestore::Server{[&] { return monitorOn; }, [&] { ++switchedOff; }},
                std::chrono::milliseconds(10));
            restore.watch();
            QTest::qWait(50);
            QCOMPARE(switchedOff, 0); // still asleep: DPMS stays on
            restore.watch();          // a second standby meanwhile: the same wait
            monitorOn = true;
            QTRY_COMPARE(switchedOff, 1);
            QVERIFY(!restore.watching());
            QTest::qWait(30);
            monitorOn = false;
            restore.watch(); // asleep again, and the program ends meanwhile
        }
        QCOMPARE(switchedOff, 2); // off at once at the end
    }

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
        LinuxAudio audio(library ? soundLibrary()
                                 : std::make_shared<SoundLibrary>(m_dir.filePath(u"none.so"_qs)));
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

    void writeFile(const QString &name, bool executable)
    {
        QFile file(m_dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\nexit 0\n");
        file.close();
        if (executable)
            file.setPermissions(file.permissions() | QFile::ExeOwner);
    }

    QTemporaryDir m_dir;
};

QTEST_MAIN(TestLinuxLogic)
#include "tst_linuxlogic.moc"
