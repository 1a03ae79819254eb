// The rules of Start, Stop and Preview on the alarm being composed, without a window: the kind
// table, the countdown check, the armed alarm, Start's store writes and the preview's actions.
#include "core/Error.h"
#include "engine/Actions.h"
#include "platform/recording/RecordingPlatform.h"
#include "settings/Keys.h"
#include "settings/RecentList.h"
#include "settings/Store.h"
#include "support/FakeSetupHost.h"
#include "ui/setup/AlarmDraft.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tockwell;

Q_DECLARE_METATYPE(tockwell::AlarmDraft)

namespace {

AlarmDraft ofKind(QStringView kind)
{
    AlarmDraft draft;
    draft.kind = kind.toString();
    return draft;
}

AlarmDraft message(const QString &text, const QString &caption)
{
    AlarmDraft draft = ofKind(kinds::Message);
    draft.message = text;
    draft.caption = caption;
    return draft;
}

AlarmDraft other(QStringView subAction)
{
    AlarmDraft draft = ofKind(kinds::Other);
    draft.subActionShown = subAction.toString();
    draft.clickPoint = QPoint(640, 480);
    draft.keyText = u"[CTRL+C] Kopiuj"_qs;
    draft.cdDrive = u"D"_qs;
    draft.cdOperation = u"Wysuń"_qs;
    return draft;
}

AlarmDraft with(AlarmDraft draft, const std::function<void(AlarmDraft &)> &change)
{
    change(draft);
    return draft;
}

} // namespace

class TestAlarmDraft : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString makeFile(const QString &name, bool executable)
    {
        QFile file(m_dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(file.fileName()));
        if (executable)
            file.setPermissions(file.permissions() | QFile::ExeOwner);
        return file.fileName();
    }

private slots:
    void everyKindHasOneRowInListOrder()
    {
        QCOMPARE(AlarmDraft::kindRows().size(), kinds::All.size());
        for (std::size_t i = 0; i < kinds::All.size(); ++i)
            QCOMPARE(AlarmDraft::kindRows()[i].kind, kinds::All[i]);
        QVERIFY(!AlarmDraft::kindRow(u"komunikat")); // kinds are compared exactly
    }

    void countdownRefusal_data()
    {
        QTest::addColumn<bool>("countdown");
        QTest::addColumn<int>("hours");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("refusal");
        const QString zero = u"Odliczany czas musi być większy od 0"_qs;
        const QString tooLong = u"Odliczany czas jest zbyt długi. Najdłuższy możliwy czas to "
                                "596523:14:7 (2147483647 sekund)."_qs;
        QTest::newRow("clock time 0:0:0") << false << 0 << 0 << 0 << QString();
        QTest::newRow("zero") << true << 0 << 0 << 0 << zero;
        QTest::newRow("90 seconds") << true << 0 << 0 << 90 << QString();
        QTest::newRow("the longest") << true << 596523 << 14 << 7 << QString();
        QTest::newRow("one second more") << true << 596523 << 14 << 8 << tooLong;
        QTest::newRow("beyond int") << true << 2147483647 << 59 << 59 << tooLong;
    }
    void countdownRefusal()
    {
        QFETCH(bool, countdown);
        QFETCH(int, hours);
        QFETCH(int, minutes);
        QFETCH(int, seconds);
        QFETCH(QString, refusal);
        AlarmDraft draft = ofKind(kinds::DefaultWindow);
        draft.countdown = countdown;
        draft.countdownTime = {hours, minutes, seconds};
        QCOMPARE(draft.countdownRefusal().value_or(QString()), refusal);
    }

    void fill_data()
    {
        QTest::addColumn<AlarmDraft>("draft");
        QTest::addColumn<QString>("mainParam");
        QTest::addColumn<QString>("secondParam");
        QTest::addColumn<int>("repeatSeconds");
        const QString previous = u"E;0"_qs; // the second parameter of an earlier Start
        const auto repeating = [](AlarmDraft draft, bool available) {
            draft.repeatChecked = true;
            draft.repeatAvailable = available;
            draft.repeatText = u"30"_qs;
            return draft;
        };
        QTest::newRow("popup") << ofKind(kinds::DefaultWindow) << QString() << previous << 0;
        QTest::newRow("message, repeating") << repeating(message(u"Już czas"_qs, u"UWAGA"_qs), true)
                                            << u"UWAGA¶Już czas"_qs << previous << 30;
        QTest::newRow("repeat box disabled")
            << repeating(ofKind(kinds::Shutdown), false) << QString() << previous << 0;
        QTest::newRow("sound: the file of the field")
            << with(ofKind(kinds::PlaySound),
                    [](AlarmDraft &d) { d.soundField = u"\"/a b/dzwonek.wav\""_qs; })
            << u"/a b/dzwonek.wav"_qs << previous << 0;
        QTest::newRow("program: its file, without arguments")
            << with(ofKind(kinds::RunProgram),
                    [](AlarmDraft &d) { d.programField = u"\"/bin/budzik\" --cicho"_qs; })
            << u"/bin/budzik"_qs << previous << 0;
        QTest::newRow("folder as typed")
            << with(ofKind(kinds::OpenFolder), [](AlarmDraft &d) { d.folderField = u"/tmp"_qs; })
            << u"/tmp"_qs << previous << 0;
        QTest::newRow("web page as typed")
            << with(ofKind(kinds::OpenWebPage), [](AlarmDraft &d) { d.webPage = u"www.a.pl"_qs; })
            << u"www.a.pl"_qs << previous << 0;
        QTest::newRow("shutdown: the stored form of the shown choice")
            << with(ofKind(kinds::Shutdown),
                    [](AlarmDraft &d) { d.shutdownShown = u"Zamknij system (wyłącz komputer)"_qs; })
            << shutdowns::ShutDown.toString() << previous << 0;
        QTest::newRow("single click")
            << other(others::SingleClick) << others::SingleClick.toString() << u"640;480"_qs << 0;
        QTest::newRow("key") << other(others::PressKey) << others::PressKey.toString()
                             << u"[CTRL+C] Kopiuj"_qs << 0;
        QTest::newRow("CD tray") << other(others::CdTray) << others::CdTray.toString() << u"D;1"_qs
                                 << 0;
        QTest::newRow("CD tray, no operation: the earlier one stays")
            << with(other(others::CdTray), [](AlarmDraft &d) { d.cdOperation = u"otwórz"_qs; })
            << others::CdTray.toString() << previous << 0;
        QTest::newRow("a click's point also with another kind")
            << with(message(u"a"_qs, u"b"_qs),
                    [](AlarmDraft &d) {
                        d.subActionShown = others::DoubleClick.toString();
                        d.clickPoint = QPoint(1, 2);
                    })
            << u"b¶a"_qs << u"1;2"_qs << 0;
    }
    void fill()
    {
        QFETCH(AlarmDraft, draft);
        QFETCH(QString, mainParam);
        QFETCH(QString, secondParam);
        QFETCH(int, repeatSeconds);
        ArmedAlarm alarm;
        alarm.SecondParam = u"E;0"_qs;
        draft.fill(alarm);
        QCOMPARE(alarm.ActionKind, draft.kind);
        QCOMPARE(alarm.MainParam, mainParam);
        QCOMPARE(alarm.SecondParam, secondParam);
        QCOMPARE(alarm.RepeatSeconds, repeatSeconds);
    }

    void fillTakesTheTimeOfItsMode()
    {
        AlarmDraft draft = ofKind(kinds::DefaultWindow);
        draft.clockTime = {7, 5, 0};
        draft.countdownTime = {0, 1, 30};
        ArmedAlarm alarm;
        draft.fill(alarm);
        QCOMPARE(alarm.Mode, u"G"_qs);
        QCOMPARE(std::tuple(alarm.Hour, alarm.Minute, alarm.Second, alarm.CountdownLeft),
                 std::tuple(7, 5, 0, 0));
        draft.countdown = true;
        draft.fill(alarm);
        QCOMPARE(alarm.Mode, u"D"_qs);
        QCOMPARE(std::tuple(alarm.Hour, alarm.Minute, alarm.Second, alarm.CountdownLeft),
                 std::tuple(0, 1, 30, 90));
    }

    void anEmptyRepeatTimeFailsAfterTheRest()
    {
        AlarmDraft draft = message(u"a"_qs, u"b"_qs);
        draft.repeatChecked = draft.repeatAvailable = true;
        ArmedAlarm alarm;
        QVERIFY_THROWS_EXCEPTION(ConvertError, draft.fill(alarm));
        QCOMPARE(alarm.MainParam, u"b¶a"_qs);
    }

    void storeStart_data()
    {
        QTest::addColumn<AlarmDraft>("draft");
        QTest::addColumn<QStringList>("currentEntries"); // list=entry
        QTest::addColumn<QStringList>("values");         // key=value in Base or Inne_MRU
        QTest::newRow("message") << message(u"Już czas"_qs, u"UWAGA"_qs)
                                 << QStringList{u"Kom_Text_MRU=Już czas"_qs,
                                                u"Kom_Caption_MRU=UWAGA"_qs}
                                 << QStringList();
        QTest::newRow("sound") << with(ofKind(kinds::PlaySound),
                                       [](AlarmDraft &d) { d.soundField = u"\"/a b/c.wav\""_qs; })
                               << QStringList{u"Sound_MRU=/a b/c.wav"_qs} << QStringList();
        QTest::newRow("shutdown") << with(ofKind(kinds::Shutdown), [](AlarmDraft &d) {
            d.shutdownShown = shutdowns::PowerOff.toString();
        }) << QStringList() << QStringList{u"cb_Reboot="_qs + shutdowns::PowerOff.toString()};
        QTest::newRow("double click")
            << other(others::DoubleClick) << QStringList()
            << QStringList{u"cb_Inne="_qs + others::DoubleClick.toString(), u"x_DoubleClick=640"_qs,
                           u"y_DoubleClick=480"_qs};
        QTest::newRow("CD tray") << other(others::CdTray) << QStringList()
                                 << QStringList{u"Dysk_CD=D"_qs, u"Dysk_CD_Ws-Wy=Wysuń"_qs};
        QTest::newRow("a click's point only with its kind")
            << with(ofKind(kinds::DefaultWindow),
                    [](AlarmDraft &d) { d.subActionShown = others::SingleClick.toString(); })
            << QStringList() << QStringList{u"x_SingleClick="_qs, u"cb_Inne="_qs};
    }
    void storeStart()
    {
        QFETCH(AlarmDraft, draft);
        QFETCH(QStringList, currentEntries);
        QFETCH(QStringList, values);
        QTemporaryDir storeDir;
        StoreFile file(storeDir.filePath(u"settings.db"_qs));
        draft.clockTime = {7, 5, 0};
        draft.countdownTime = {0, 0, 90};
        draft.storeStart(file);
        QCOMPARE(readRecentList(file, keys::O_MRU).current, u"7:5:0"_qs);
        QCOMPARE(readRecentList(file, keys::ZA_MRU).current, u"0:0:90"_qs);
        for (const QString &each : currentEntries) {
            const QStringList parts = each.split(u'=');
            QCOMPARE(readRecentList(file, parts[0]).current, parts[1]);
        }
        Store store(file);
        for (const QString &each : values) {
            const QStringList parts = each.split(u'=');
            const bool base = parts[0].startsWith(u"cb_"_qs);
            store.openKey(base ? keys::Base : keys::under(keys::Inne_MRU));
            // A number is compared as its digits; "" stands for no value.
            const std::optional<int> number = store.readInteger(parts[0]);
            const QString value =
                number ? QString::number(*number) : store.readString(parts[0]).value_or(QString());
            QCOMPARE(value, parts[1]);
            store.closeKey();
        }
    }

    void preview_data()
    {
        QTest::addColumn<AlarmDraft>("draft");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("hooks"); // the hooks that ran
        QTest::newRow("popup") << ofKind(kinds::DefaultWindow) << true << QStringList()
                               << QStringList{u"popup"_qs};
        QTest::newRow("message, not above other windows")
            << message(u"Już czas"_qs, u"UWAGA"_qs) << true
            << QStringList{u"MessageBox \"Już czas\" \"UWAGA\" 0x30 -> 1"_qs} << QStringList();
        QTest::newRow("program with its arguments")
            << with(ofKind(kinds::RunProgram),
                    [](AlarmDraft &d) { d.programField = u"\"/bin/budzik\" --cicho"_qs; })
            << true << QStringList{u"ShellOpen \"\\\"/bin/budzik\\\" --cicho\" \"\" normal"_qs}
            << QStringList();
        QTest::newRow("sound has none")
            << with(ofKind(kinds::PlaySound), [](AlarmDraft &d) { d.soundField = u"/a.wav"_qs; })
            << true << QStringList() << QStringList();
        QTest::newRow("shutdown has none")
            << ofKind(kinds::Shutdown) << true << QStringList() << QStringList();
        QTest::newRow("CD tray") << other(others::CdTray) << true
                                 << QStringList{u"CdDoor \"D\" open"_qs} << QStringList();
        QTest::newRow("CD tray, no operation")
            << with(other(others::CdTray), [](AlarmDraft &d) { d.cdOperation = u"x"_qs; }) << true
            << QStringList() << QStringList();
        QTest::newRow("keyboard, confirmed")
            << other(others::SuspendKeyboard) << true << QStringList{u"SuspendKeyboard"_qs}
            << QStringList{u"confirm"_qs, u"suspended"_qs};
        QTest::newRow("keyboard, refused") << other(others::SuspendKeyboard) << false
                                           << QStringList() << QStringList{u"confirm"_qs};
    }
    void preview()
    {
        QFETCH(AlarmDraft, draft);
        QFETCH(bool, confirm);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, hooks);
        const auto recorder = std::make_shared<platform::Recorder>();
        const auto platform = platform::makeRecordingPlatform(recorder);
        test::FakeSetupHost host;
        Actions actions(*platform, host);
        QStringList ran;
        PreviewHooks previewHooks;
        previewHooks.confirmSuspension = [&](QStringView) {
            ran.append(u"confirm"_qs);
            return confirm;
        };
        previewHooks.beforeKeys = [&] { ran.append(u"keys"_qs); };
        previewHooks.suspended = [&] { ran.append(u"suspended"_qs); };
        recorder->clear();
        draft.preview(actions, previewHooks);
        for (bool beep : host.popups) {
            QVERIFY(!beep);
            ran.append(u"popup"_qs);
        }
        QCOMPARE(recorder->lines(), lines);
        QCOMPARE(ran, hooks);
    }

    void editorChecks_data()
    {
        QTest::addColumn<QString>("check");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::newRow("web page") << u"web"_qs << u"http://www.x.pl"_qs << true;
        QTest::newRow("web page, upper case") << u"web"_qs << u"WWW.X.PL"_qs << false;
        QTest::newRow("web page, empty") << u"web"_qs << QString() << false;
        QTest::newRow("shutdown, exact") << u"shutdown"_qs << u"Wyłącz komputer"_qs << true;
        QTest::newRow("shutdown, case") << u"shutdown"_qs << u"wyłącz komputer"_qs << false;
        QTest::newRow("sub-action") << u"sub"_qs << others::MaxVolume.toString() << true;
        QTest::newRow("sub-action, shown form")
            << u"sub"_qs << u"Uruchom menedżer plików"_qs << false;
        QTest::newRow("drive") << u"drive"_qs << u"D"_qs << true;
        QTest::newRow("drive, two letters") << u"drive"_qs << u"DE"_qs << false;
        QTest::newRow("operation") << u"operation"_qs << u"Wsuń"_qs << true;
        QTest::newRow("operation, case") << u"operation"_qs << u"WSUŃ"_qs << false;
        QTest::newRow("key") << u"key"_qs << u"[CTRL+C] Kopiuj"_qs << true;
        QTest::newRow("key, unknown") << u"key"_qs << u"[WIN+C]"_qs << false;
        QTest::newRow("folder") << u"folder"_qs << u"/"_qs << true;
        QTest::newRow("folder, a file") << u"folder"_qs << u"/etc/hostname"_qs << false;
    }
    void editorChecks()
    {
        QFETCH(QString, check);
        QFETCH(QString, text);
        QFETCH(bool, valid);
        const std::map<QString, bool (*)(const QString &)> checks = {
            {u"web"_qs, AlarmDraft::isWebPageValid},
            {u"shutdown"_qs, AlarmDraft::isShutdownValid},
            {u"sub"_qs, AlarmDraft::isSubActionValid},
            {u"drive"_qs, AlarmDraft::isCdDriveValid},
            {u"operation"_qs, AlarmDraft::isCdOperationValid},
            {u"key"_qs, AlarmDraft::isKeyValid},
            {u"folder"_qs, AlarmDraft::isFolderValid}};
        QCOMPARE(checks.at(check)(text), valid);
    }

    void programCheck()
    {
        using Check = AlarmDraft::ProgramCheck;
        const QString program = makeFile(u"budzik"_qs, true);
        QCOMPARE(AlarmDraft::checkProgram(program), Check::Valid);
        QCOMPARE(AlarmDraft::checkProgram(u"\""_qs + program + u"\" --cicho"_qs), Check::Valid);
        QCOMPARE(AlarmDraft::checkProgram(makeFile(u"setup.Exe"_qs, false)), Check::Valid);
        QCOMPARE(AlarmDraft::checkProgram(makeFile(u"notatka.txt"_qs, false)), Check::WrongFormat);
        QCOMPARE(AlarmDraft::checkProgram(m_dir.filePath(u"brak"_qs)), Check::Missing);
        QCOMPARE(AlarmDraft::checkProgram(QString()), Check::Missing);
        QVERIFY(!AlarmDraft::isMessageValid(u"a"_qs, QString()));
        QVERIFY(AlarmDraft::isMessageValid(u"a"_qs, u"b"_qs));
    }
};

QTEST_GUILESS_MAIN(TestAlarmDraft)
#include "tst_alarmdraft.moc"
