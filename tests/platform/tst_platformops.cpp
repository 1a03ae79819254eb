// Every operation of the platform interfaces, called once on the recording platform: each one
// writes the line that docs/platform.md gives it, and the documented table leaves none out. The
// Linux backend implements the same interfaces (the compiler holds it to every one of them).
#include "platform/linux/LinuxPlatform.h"
#include "platform/recording/RecordingPlatform.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <functional>

using namespace tockwell::platform;

namespace {

struct PlatformCall
{
    const char *name;
    std::function<void(Platform &)> call;
    /// Brings the platform into the state the call needs; its lines are not counted.
    std::function<void(Platform &)> prepare = [](Platform &) {};
};

void openSound(Platform &p)
{
    p.mediaPlayer().open(u"s.wav"_qs);
}

void playSound(Platform &p)
{
    openSound(p);
    p.mediaPlayer().play(true);
}

const std::vector<PlatformCall> &everyOperation()
{
    static const std::vector<PlatformCall> operations = {
        {"ShellOpen", [](Platform &p) { p.shell().open(u"x"_qs, {}, ShowCommand::ShowNormal); }},
        {"OpenFileManager", [](Platform &p) { p.shell().openFileManager(); }},
        {"OpenBlankBrowser", [](Platform &p) { p.shell().openBlankBrowser(); }},
        {"OpenControlPanel", [](Platform &p) { p.shell().openControlPanel(); }},
        {"ExitSession", [](Platform &p) { p.session().exitSession(SessionEnd::LogOff); }},
        {"UsesPrivileges", [](Platform &p) { p.session().usesPrivileges(); }},
        {"AdjustPrivilege", [](Platform &p) { p.session().adjustPrivilege(u"S"_qs, true); }},
        {"SetPowerState", [](Platform &p) { p.session().setPowerState(true, true); }},
        {"CursorPos", [](Platform &p) { p.input().cursorPos(); }},
        {"SetCursorPos", [](Platform &p) { p.input().setCursorPos(QPoint(1, 2)); }},
        {"MouseButton",
         [](Platform &p) { p.input().mouseButton(MouseButtonEvent::LeftDown, QPoint()); }},
        {"SuspendKeyboard", [](Platform &p) { p.input().suspendKeyboard(); }},
        {"SuspendMouse", [](Platform &p) { p.input().suspendMouse(); }},
        {"ResumeInput", [](Platform &p) { p.input().resumeInput(); },
         [](Platform &p) { p.input().suspendMouse(); }},
        {"ScreenSize", [](Platform &p) { p.input().screenSize(); }},
        {"PressKeys",
         [](Platform &p) {
             p.input().pressKeys(KeyCombination{{0xffe3}, 0x63});
         }},
        {"WorkArea", [](Platform &p) { p.display().workArea(); }},
        {"MinimizeAllWindows", [](Platform &p) { p.display().minimizeAllWindows(); }},
        {"StartScreenSaver", [](Platform &p) { p.display().startScreenSaver(); }},
        {"MonitorLowPower", [](Platform &p) { p.display().monitorLowPower(); }},
        {"KeepAbove", [](Platform &p) { p.display().keepAbove(0); }},
        {"MaximiseVolume", [](Platform &p) { p.audio().maximiseVolume(); }},
        {"Beep", [](Platform &p) { p.audio().beep(); }},
        {"MediaOpen", [](Platform &p) { p.mediaPlayer().open(u"s.wav"_qs); },
         [](Platform &p) { p.mediaPlayer().close(); }},
        {"MediaClose", [](Platform &p) { p.mediaPlayer().close(); }, openSound},
        {"MediaLength", [](Platform &p) { p.mediaPlayer().length(); }, openSound},
        {"MediaPlay", [](Platform &p) { p.mediaPlayer().play(true); }, openSound},
        {"MediaPause", [](Platform &p) { p.mediaPlayer().pause(); }, playSound},
        {"MediaResume", [](Platform &p) { p.mediaPlayer().resume(true); },
         [](Platform &p) {
             playSound(p);
             p.mediaPlayer().pause();
         }},
        {"MediaStop", [](Platform &p) { p.mediaPlayer().stop(false); }, playSound},
        {"CdDrives", [](Platform &p) { p.opticalDrives().drives(); }},
        {"CdDoor", [](Platform &p) { p.opticalDrives().setDoor(u"0"_qs, true); }},
        {"MessageBox", [](Platform &p) { p.dialogs().messageBox(u"t"_qs, u"c"_qs, 0); }},
        {"WatchSleep", [](Platform &p) { p.sleep().watchSleep([](bool) {}); }},
        {"InhibitSleep", [](Platform &p) { p.sleep().inhibitSleep(u"w"_qs, u"r"_qs); }},
        {"ReleaseSleep", [](Platform &p) { p.sleep().releaseSleep(); }},
        {"CanWake", [](Platform &p) { p.wakeAlarm().canWake(); }},
        {"SetWakeTime", [](Platform &p) { p.wakeAlarm().setWakeTime(1796000000); }},
        {"ClearWakeTime", [](Platform &p) { p.wakeAlarm().clearWakeTime(); }},
        {"AutostartActive", [](Platform &p) { p.autostart().isActive(); }},
        {"AutostartWrite", [](Platform &p) { p.autostart().write(u"/usr/bin/tockwell"_qs); }},
        {"AutostartRemove", [](Platform &p) { p.autostart().removeIfActive(); }},
    };
    return operations;
}

// The first word of the "Line" column of every row of the table in docs/platform.md.
QStringList documentedOperations()
{
    QFile doc(QStringLiteral(TOCKWELL_PLATFORM_DOC));
    if (!doc.open(QIODevice::ReadOnly))
        return {};
    QStringList names;
    static const QRegularExpression row(uR"(^\| \w+ \| `[^`]+` \| `(\w+))"_qs,
                                        QRegularExpression::MultilineOption);
    for (const auto &match : row.globalMatch(QString::fromUtf8(doc.readAll())))
        names.append(match.captured(1));
    return names;
}

} // namespace

class TestPlatformOps : public QObject
{
    Q_OBJECT

private slots:
    void everyOperationWritesItsDocumentedLine()
    {
        auto recorder = std::make_shared<Recorder>();
        const auto platform = makeRecordingPlatform(recorder);
        QStringList called;
        for (const PlatformCall &operation : everyOperation()) {
            operation.prepare(*platform);
            recorder->clear();
            operation.call(*platform);
            QCOMPARE(recorder->lines().size(), 1);
            QCOMPARE(recorder->lines().first().section(u' ', 0, 0),
                     QString::fromLatin1(operation.name));
            called.append(QString::fromLatin1(operation.name));
        }
        QStringList documented = documentedOperations();
        QVERIFY(!documented.isEmpty());
        documented.removeDuplicates();
        QCOMPARE(documented, called);
    }

    void linuxPlatformHasEveryPart()
    {
        QVERIFY(makeLinuxPlatform() != nullptr); // the constructor refuses a missing part
    }
};

QTEST_MAIN(TestPlatformOps)
#include "tst_platformops.moc"
