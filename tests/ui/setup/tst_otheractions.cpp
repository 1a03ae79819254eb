#include "core/ArmedAlarm.h"
#include "platform/recording/RecordingPlatform.h"
#include "settings/Keys.h"
#include "settings/Store.h"
#include "support/SetupWindowWorld.h"
#include "ui/setup/FileNameEdit.h"
#include "ui/setup/SetupWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace tockwell;
using platform::Recorder;

class TestOtherActions : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::SetupWindowWorld> m_world;

    std::unique_ptr<SetupWindow> makeWindow(QStringView kind)
    {
        auto window = m_world->makeWindow();
        if (!kind.isEmpty())
            test::child<QComboBox>(*window, u"cb_Typ_Alarmu")
                ->setCurrentIndex(
                    test::child<QComboBox>(*window, u"cb_Typ_Alarmu")->findText(kind.toString()));
        m_world->recorder->clear();
        return window;
    }

    void storeOther(QStringView name, const QVariant &value)
    {
        Store store(m_world->storeFile);
        store.openKey(keys::under(keys::Inne_MRU));
        if (value.typeId() == QMetaType::Int)
            store.writeInteger(name.toString(), value.toInt());
        else
            store.writeString(name.toString(), value.toString());
    }

    // Start and Preview go together in this editor; -1 when they disagree.
    static int actionsEnabled(const SetupWindow &w)
    {
        if (test::child<ImageButton>(w, u"ib_Start")->isEnabled() !=
            test::child<QPushButton>(w, u"cb_Podglad")->isEnabled())
            return -1;
        return test::child<ImageButton>(w, u"ib_Start")->isEnabled() ? 1 : 0;
    }

private slots:
    void init() { m_world = std::make_unique<test::SetupWindowWorld>(); }

    void subActions_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("subPanel");
        QTest::addColumn<bool>("help");
        using namespace others;
        QTest::newRow("volume") << MaxVolume.toString() << true << QString() << true;
        QTest::newRow("monitor") << MonitorOff.toString() << true << QString() << false;
        QTest::newRow("minimise") << MinimizeAll.toString() << true << QString() << true;
        QTest::newRow("keyboard") << SuspendKeyboard.toString() << true << QString() << true;
        QTest::newRow("mouse and keyboard")
            << SuspendMouseAndKeyboard.toString() << true << QString() << true;
        QTest::newRow("key, typed, no key yet")
            << PressKey.toString() << false << u"p_Inne_Klawisz"_qs << false;
        QTest::newRow("double click")
            << DoubleClick.toString() << true << u"p_Inne_Klikniecie1"_qs << false;
        QTest::newRow("cd tray") << CdTray.toString() << true << u"p_Inne_DyskCD"_qs << false;
        QTest::newRow("lower case")
            << u"zwiększ głośność maksymalnie"_qs << false << QString() << false;
        QTest::newRow("partial") << u"Wygaś"_qs << false << QString() << false;
    }
    void subActions()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(QString, subPanel);
        QFETCH(bool, help);
        const auto w = makeWindow(kinds::Other);
        test::child<QComboBox>(*w, u"cb_InneOpcje")
            ->setEditText(others::SingleClick.toString());              // a panel and …
        test::child<QComboBox>(*w, u"cb_InneOpcje")->setEditText(text); // … then the row's text
        QCOMPARE(actionsEnabled(*w), valid ? 1 : 0);
        for (QWidget *panel : {test::child<QWidget>(*w, u"p_Inne_Klawisz"),
                               test::child<QWidget>(*w, u"p_Inne_Klikniecie1"),
                               test::child<QWidget>(*w, u"p_Inne_DyskCD")})
            QCOMPARE(panel->isVisible(), panel->objectName() == subPanel);
        QCOMPARE(test::child<QLabel>(*w, u"amh_Help")->isVisible(), help);
    }

    void helpBoxSplitsTheExplanationFromTheCaption()
    {
        const auto w = makeWindow(kinds::Other);
        test::child<QComboBox>(*w, u"cb_InneOpcje")->setEditText(others::SuspendMouse.toString());
        // A click on the link, which is made when the label is first shown.
        auto *link = test::child<QLabel>(*w, u"amh_Help");
        QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(4, link->height() / 2));
        QCOMPARE(
            m_world->recorder->lines(),
            QStringList{
                u"MessageBox \"Jak sama nazwa wskazuje opcja zawiesza działanie "
                "myszy, która będzie odblokowana po zatrzymaniu alarmu (Stop albo "
                "kliknięcie ikony w trayu) lub po zamknięciu programu\" \"Zawieś działanie myszy\" 0x40040 -> 1"_qs});
    }

    void storedParametersComeBack()
    {
        storeOther(keys::Klawisz, u"[ALT + F4]"_qs);
        storeOther(keys::x_SingleClick, -5);
        storeOther(keys::y_SingleClick, 1 << 30);
        storeOther(keys::x_DoubleClick, 10);
        storeOther(keys::y_DoubleClick, u"20"_qs); // a string where a number belongs: 0
        const auto w = makeWindow(kinds::Other);
        test::child<QComboBox>(*w, u"cb_InneOpcje")->setEditText(others::PressKey.toString());
        QCOMPARE(test::child<QComboBox>(*w, u"cb_Klawisze")->currentText(), u"[ALT + F4]"_qs);
        QCOMPARE(actionsEnabled(*w), 1);

        test::child<QComboBox>(*w, u"cb_InneOpcje")->setEditText(others::SingleClick.toString());
        QCOMPARE(test::child<QSpinBox>(*w, u"se_Inne_X_DC")->value(), 0);
        QCOMPARE(test::child<QSpinBox>(*w, u"se_Inne_Y_DC")->value(),
                 w->screen()->geometry().height());
        test::child<QComboBox>(*w, u"cb_InneOpcje")->setEditText(others::DoubleClick.toString());
        QCOMPARE(test::child<QSpinBox>(*w, u"se_Inne_X_DC")->value(), 10);
        QCOMPARE(test::child<QSpinBox>(*w, u"se_Inne_Y_DC")->value(), 0);

        test::child<QSpinBox>(*w, u"se_Inne_X_DC")
            ->setValue(300); // picked, not stored: gone after a change of sub-action
        test::child<QComboBox>(*w, u"cb_InneOpcje")->setEditText(others::MonitorOff.toString());
        test::child<QComboBox>(*w, u"cb_InneOpcje")->setEditText(others::DoubleClick.toString());
        QCOMPARE(test::child<QSpinBox>(*w, u"se_Inne_X_DC")->value(), 10);
    }

    void keyPressIsTheListsFourteenthItem()
    {
        const auto w = makeWindow(kinds::Other);
        QCOMPARE(test::child<QComboBox>(*w, u"cb_InneOpcje")->count(), 14);
        QCOMPARE(test::child<QComboBox>(*w, u"cb_InneOpcje")->itemText(12),
                 others::MaxVolume.toString());
        QCOMPARE(test::child<QComboBox>(*w, u"cb_InneOpcje")->itemText(13),
                 others::PressKey.toString());
        test::child<QComboBox>(*w, u"cb_InneOpcje")->setCurrentIndex(13);
        QVERIFY(test::child<QWidget>(*w, u"p_Inne_Klawisz")->isVisible());
    }

    void keyTextDecidesStartAndPreview()
    {
        storeOther(keys::Klawisz, u"[PAUZA]"_qs); // stands for no key
        const auto w = makeWindow(kinds::Other);
        test::child<QComboBox>(*w, u"cb_InneOpcje")->setEditText(others::PressKey.toString());
        auto *keyBox = test::child<QComboBox>(*w, u"cb_Klawisze");
        QCOMPARE(keyBox->currentText(), u"[PAUZA]"_qs);
        QCOMPARE(actionsEnabled(*w), 0);
        QVERIFY2(keyBox->toolTip().startsWith(u"Nie znam klawisza „PAUZA”"_qs),
                 qPrintable(keyBox->toolTip())); // the hint says why Start is off
        keyBox->setCurrentIndex(keyBox->findText(u"[CTRL+C] Kopiuj"_qs));
        QCOMPARE(actionsEnabled(*w), 1);
        QCOMPARE(keyBox->toolTip(), QString());
        keyBox->setEditText(u"[CTRL + "_qs);
        QCOMPARE(actionsEnabled(*w), 0);
        QCOMPARE(keyBox->toolTip(), u"Brakuje nawiasu zamykającego „]”."_qs);
        test::child<QComboBox>(*w, u"cb_Klawisze")
            ->setEditText(u"[CTRL + SHIFT + F5] Odśwież"_qs); // typed, not listed
        QCOMPARE(actionsEnabled(*w), 1);
        test::child<QComboBox>(*w, u"cb_Klawisze")->setEditText(QString());
        QCOMPARE(actionsEnabled(*w), 0);
    }

    void keyListAndPointFields()
    {
        // The bounds are the screen's device pixels, twice Qt's at a scale of 2.
        m_world->recorder->script(u"ScreenSize"_qs, u"2560 1600"_qs);
        const auto w = makeWindow(kinds::Other);
        QCOMPARE(test::child<QSpinBox>(*w, u"se_Inne_X_DC")->maximum(), 2560);
        QCOMPARE(test::child<QSpinBox>(*w, u"se_Inne_Y_DC")->maximum(), 1600);
        QCOMPARE(test::child<QComboBox>(*w, u"cb_Klawisze")->count(), 140);
        QCOMPARE(test::child<QComboBox>(*w, u"cb_Klawisze")->itemText(0), u"'"_qs);
        QCOMPARE(test::child<QComboBox>(*w, u"cb_Klawisze")->itemText(139), u"[TAB]"_qs);
        QCOMPARE(test::child<QComboBox>(*w, u"cb_Klawisze")->findText(u"Q"_qs), -1);
        test::child<QComboBox>(*w, u"cb_InneOpcje")->setEditText(others::SingleClick.toString());
        QTest::keyClicks(test::child<QSpinBox>(*w, u"se_Inne_X_DC"),
                         u"77"_qs); // the coordinates cannot be typed
        QCOMPARE(test::child<QSpinBox>(*w, u"se_Inne_X_DC")->value(), 0);
    }

    void cdDrivesAndTheirChecks()
    {
        m_world->recorder->script(u"CdDrives"_qs, u"E G D"_qs);
        storeOther(keys::Dysk_CD_Ws_Wy, u"Wsuń"_qs);
        const auto w = makeWindow(kinds::Other);
        m_world->recorder->script(u"CdDrives"_qs, u"E G D"_qs);
        test::child<QComboBox>(*w, u"cb_InneOpcje")->setEditText(others::CdTray.toString());
        QCOMPARE(test::child<QComboBox>(*w, u"cb_Inne_DyskCD")->count(), 3);
        QCOMPARE(test::child<QComboBox>(*w, u"cb_Inne_DyskCD")->itemText(0), u"D"_qs);
        QCOMPARE(test::child<QComboBox>(*w, u"cb_Inne_DyskCD")->itemText(2), u"G"_qs);
        QCOMPARE(test::child<QComboBox>(*w, u"cd_Inne_DyskCD_WsWy")->currentText(), u"Wsuń"_qs);
        QCOMPARE(actionsEnabled(*w), 1); // even with no drive chosen yet

        test::child<QComboBox>(*w, u"cb_Inne_DyskCD")->setEditText(u"DE"_qs);
        QCOMPARE(actionsEnabled(*w), 0);
        test::child<QComboBox>(*w, u"cb_Inne_DyskCD")
            ->setEditText(u"X"_qs); // one character: whether it exists is not asked
        QCOMPARE(actionsEnabled(*w), 1);
        test::child<QComboBox>(*w, u"cd_Inne_DyskCD_WsWy")->setEditText(u"wysuń"_qs);
        QCOMPARE(actionsEnabled(*w), 0);
        test::child<QComboBox>(*w, u"cd_Inne_DyskCD_WsWy")->setEditText(u"Wysuń"_qs);
        QCOMPARE(actionsEnabled(*w), 1);
    }

    void pickingAPoint()
    {
        const auto w = makeWindow(kinds::Other);
        test::child<QComboBox>(*w, u"cb_InneOpcje")->setEditText(others::SingleClick.toString());
        test::child<QToolButton>(*w, u"SpeedButton1")->click();
        QVERIFY(m_world->recorder->lines().value(0).startsWith(
            u"MessageBox \"UŻYTKOWNIKU PROGRAMU WPROWADZASZ TERAZ WSPÓŁRZĘDNĄ"_qs));
        for (int i = 0; i < 20; ++i)
            m_world->recorder->script(u"CursorPos"_qs, u"100 200"_qs);
        QTRY_COMPARE(test::child<QSpinBox>(*w, u"se_Inne_X_DC")->value(), 100);
        QCOMPARE(test::child<QSpinBox>(*w, u"se_Inne_Y_DC")->value(), 200);
        QTest::keyClick(test::child<QSpinBox>(*w, u"se_Inne_X_DC"), Qt::Key_Return);
        QCOMPARE(m_world->recorder->lines().back(),
                 u"MessageBox \"Wprowadzono punkt o współrzędnych x = 100  y = 200\" "
                 "\"INFORMACJA\" 0x40 -> 1"_qs);
        const qsizetype after = m_world->recorder->lines().size();
        QTest::qWait(50);
        QCOMPARE(m_world->recorder->lines().size(),
                 after); // picking ended: the pointer is not read
    }

    void pickingEndsWhenItsFieldsAreHidden()
    {
        const auto w = makeWindow(kinds::Other);
        test::child<QComboBox>(*w, u"cb_InneOpcje")->setEditText(others::DoubleClick.toString());
        test::child<QToolButton>(*w, u"SpeedButton1")->click();
        test::child<QComboBox>(*w, u"cb_InneOpcje")->setEditText(others::MonitorOff.toString());
        m_world->recorder->clear();
        QTest::qWait(50);
        QVERIFY(m_world->recorder->lines().isEmpty());
    }

    void preview_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("subAction");
        QTest::addColumn<QStringList>("calls");
        using namespace others;
        QTest::newRow("message, not topmost")
            << kinds::Message.toString() << QString()
            << QStringList{u"MessageBox \"Już czas\" \"UWAGA !!!\" 0x30 -> 1"_qs};
        QTest::newRow("web page") << kinds::OpenWebPage.toString() << QString()
                                  << QStringList{u"ShellOpen \"www.example.pl\" \"\" normal"_qs};
        QTest::newRow("program, quoted text")
            << kinds::RunProgram.toString() << QString()
            << QStringList{u"ShellOpen \"\\\"/opt/a b/run\\\" -x\" \"\" normal"_qs};
        QTest::newRow("single click")
            << kinds::Other.toString() << SingleClick.toString()
            << QStringList{u"SetCursorPos 12 34"_qs, u"MouseButton left-down 12 34"_qs,
                           u"MouseButton left-up 12 34"_qs};
        QTest::newRow("cd, operation in any case")
            << kinds::Other.toString() << CdTray.toString() << QStringList{u"CdDoor \"D\" open"_qs};
        QTest::newRow("explorer") << kinds::Other.toString() << Explorer.toString()
                                  << QStringList{u"OpenFileManager"_qs};
        QTest::newRow("key press") << kinds::Other.toString() << PressKey.toString()
                                   << QStringList{u"PressKeys 0xffe3 0x63"_qs};
        QTest::newRow("shutdown is never previewed")
            << kinds::Shutdown.toString() << QString() << QStringList{};
    }
    void preview()
    {
        QFETCH(QString, kind);
        QFETCH(QString, subAction);
        QFETCH(QStringList, calls);
        const auto w = makeWindow(QString());
        test::child<QComboBox>(*w, u"cb_Komunikat")->setEditText(u"Już czas"_qs);
        test::child<QComboBox>(*w, u"cb_Caption")->setEditText(u"UWAGA !!!"_qs);
        test::child<QLineEdit>(*w, u"e_WWW")->setText(u"www.example.pl"_qs);
        {
            const QSignalBlocker quiet(
                test::child<FileNameEdit>(*w, u"fne_PlikEXE")); // the text alone, unchecked
            test::child<FileNameEdit>(*w, u"fne_PlikEXE")->setText(u"\"/opt/a b/run\" -x"_qs);
        }
        test::child<QComboBox>(*w, u"cb_Typ_Alarmu")
            ->setCurrentIndex(test::child<QComboBox>(*w, u"cb_Typ_Alarmu")->findText(kind));
        test::child<ImageButton>(*w, u"ib_Start")
            ->setEnabled(true); // as the field checks leave it for a valid parameter
        test::child<QPushButton>(*w, u"cb_Podglad")->setEnabled(true);
        test::child<QComboBox>(*w, u"cb_InneOpcje")->setEditText(subAction);
        test::child<QComboBox>(*w, u"cb_Klawisze")->setEditText(u"[CTRL+C] Kopiuj"_qs);
        test::child<QSpinBox>(*w, u"se_Inne_X_DC")->setValue(12);
        test::child<QSpinBox>(*w, u"se_Inne_Y_DC")->setValue(34);
        test::child<QComboBox>(*w, u"cd_Inne_DyskCD_WsWy")
            ->setEditText(u"wysuń"_qs); // the preview upper-cases it …
        test::child<QComboBox>(*w, u"cb_Inne_DyskCD")
            ->setEditText(u"D"_qs); // … and this check enables again
        m_world->recorder->clear();
        test::child<QPushButton>(*w, u"cb_Podglad")->click();
        QCOMPARE(m_world->recorder->lines(), calls);
        QVERIFY(!m_world->host.ticking);
        QVERIFY(w->isVisible());
    }

    // On a desktop that cannot do the sub-action, choosing it, Preview and Start each say why;
    // Preview does nothing else, Start still arms the alarm.
    void aSubActionTheDesktopRefusesIsExplained()
    {
        qputenv("XDG_SESSION_TYPE", "wayland");
        qputenv("XDG_CURRENT_DESKTOP", "sway");
        const auto x11 = qScopeGuard([] {
            qunsetenv("XDG_SESSION_TYPE");
            qunsetenv("XDG_CURRENT_DESKTOP");
        });
        const QString told = u"MessageBox \"Na tym pulpicie (sway, Wayland) nie da się wyłączyć "
                             "klawiatury ani myszy: kompozytor nie pozwala na to innym "
                             "programom.\" \"Tockwell\" 0x40030 -> 1"_qs;
        const auto w = makeWindow(kinds::Other);
        test::child<QComboBox>(*w, u"cb_InneOpcje")->setEditText(others::SuspendMouse.toString());
        QCOMPARE(m_world->recorder->lines(), QStringList{told});
        m_world->recorder->clear();
        test::child<QPushButton>(*w, u"cb_Podglad")->click();
        QCOMPARE(m_world->recorder->lines(), QStringList{told});
        m_world->recorder->clear();
        test::child<ImageButton>(*w, u"ib_Start")->click();
        QCOMPARE(m_world->recorder->lines(), QStringList{told});
        QVERIFY(m_world->host.ticking);
    }

    void previewOfASuspensionAsksAndGivesTheDevicesBack_data()
    {
        QTest::addColumn<QString>("subAction");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("suspensions");
        using namespace others;
        QTest::newRow("keyboard, yes")
            << SuspendKeyboard.toString() << u"6"_qs << QStringList{u"SuspendKeyboard"_qs};
        QTest::newRow("mouse and keyboard, yes")
            << SuspendMouseAndKeyboard.toString() << u"6"_qs
            << QStringList{u"SuspendMouse"_qs, u"SuspendKeyboard"_qs};
        QTest::newRow("mouse, no") << SuspendMouse.toString() << u"7"_qs << QStringList{};
    }
    void previewOfASuspensionAsksAndGivesTheDevicesBack()
    {
        QFETCH(QString, subAction);
        QFETCH(QString, answer);
        QFETCH(QStringList, suspensions);
        const auto w = makeWindow(kinds::Other);
        test::child<QComboBox>(*w, u"cb_InneOpcje")->setEditText(subAction);
        QCOMPARE(test::child<QTimer>(*w, u"previewInputBack")->interval(), 10'000);
        test::child<QTimer>(*w, u"previewInputBack")->setInterval(10);
        m_world->recorder->clear();
        m_world->recorder->script(u"MessageBox"_qs, answer);
        test::child<QPushButton>(*w, u"cb_Podglad")->click();
        const QStringList lines = m_world->recorder->lines();
        QVERIFY(lines.value(0).startsWith(u"MessageBox \"Podgląd zawiesi działanie "_qs));
        QVERIFY(lines.value(0).contains(u"10 sekund"_qs));
        QVERIFY(lines.value(0).endsWith(u"\" \"UWAGA !!!\" 0x24 -> "_qs + answer));
        QCOMPARE(lines.mid(1), suspensions);
        if (suspensions.isEmpty()) {
            QVERIFY(!test::child<QTimer>(*w, u"previewInputBack")->isActive());
            return;
        }
        QTRY_COMPARE(m_world->recorder->lines().mid(1 + suspensions.size()),
                     QStringList{u"ResumeInput"_qs});
    }
    void previewOfAKeyTakesTheFocusFromTheControls()
    {
        const auto w = makeWindow(kinds::Other);
        test::child<QComboBox>(*w, u"cb_InneOpcje")->setEditText(others::PressKey.toString());
        test::child<QComboBox>(*w, u"cb_Klawisze")->setEditText(u"[SPACJA]"_qs);
        test::child<QPushButton>(*w, u"cb_Podglad")
            ->setFocus(); // as a click leaves it: Space would press it again
        QCOMPARE(w->focusWidget(), test::child<QPushButton>(*w, u"cb_Podglad"));
        m_world->recorder->clear();
        test::child<QPushButton>(*w, u"cb_Podglad")->click();
        QCOMPARE(m_world->recorder->lines(), QStringList{u"PressKeys 0x20"_qs});
        QCOMPARE(w->focusWidget(), nullptr);
    }

    void previewOfThePopupFollowsTheOptions()
    {
        const auto w = makeWindow(kinds::DefaultWindow);
        m_world->host.armed.PlayBeep = true;
        m_world->host.armed.MinimizeProg = true;
        m_world->host.armed.ScreenSaverOff = true; // not a step of the preview
        test::child<QPushButton>(*w, u"cb_Podglad")->click();
        QCOMPARE(m_world->host.popups, QList<bool>{true});
        QVERIFY(!w->isVisible());
        QVERIFY(m_world->recorder->lines().isEmpty());
    }
};

QTEST_MAIN(TestOtherActions)
#include "tst_otheractions.moc"
