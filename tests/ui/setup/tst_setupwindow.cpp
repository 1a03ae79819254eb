#include "core/ArmedAlarm.h"
#include "platform/recording/RecordingPlatform.h"
#include "settings/Keys.h"
#include "settings/RecentList.h"
#include "settings/Store.h"
#include "support/SetupWindowWorld.h"
#include "ui/setup/ClockGroupBox.h"
#include "ui/setup/FileNameEdit.h"
#include "ui/setup/SetupWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

using namespace tockwell;

class TestSetupWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::SetupWindowWorld> m_world;

    std::unique_ptr<SetupWindow> makeWindow() { return m_world->makeWindow(); }

private slots:

    void init() { m_world = std::make_unique<test::SetupWindowWorld>(); }

    void creationOnAnEmptyStore()
    {
        const auto w = makeWindow();
        QCOMPARE(test::child<QComboBox>(*w, u"cb_Typ_Alarmu")->currentIndex(), -1);
        for (QWidget *panel :
             {test::child<QWidget>(*w, u"p_k_komunikat"),
              test::child<QWidget>(*w, u"p_k_PdegrajDzwiek"),
              test::child<QWidget>(*w, u"p_Zamknij"), test::child<QWidget>(*w, u"p_UrProg"),
              test::child<QWidget>(*w, u"p_Plik"), test::child<QWidget>(*w, u"p_OtworzFolder"),
              test::child<QWidget>(*w, u"p_WWW"), test::child<QWidget>(*w, u"p_Inne")})
            QVERIFY(!panel->isVisible());
        QVERIFY(!test::child<ImageButton>(*w, u"ib_Start")->isEnabled());
        QVERIFY(test::child<QRadioButton>(*w, u"rb_ur_o_godz")->isChecked());
        QVERIFY(test::child<QSpinBox>(*w, u"se_ur_o_godz_godz")->isEnabled());
        QVERIFY(!test::child<QSpinBox>(*w, u"se_ur_po_czasie_godz")->isEnabled());
        QCOMPARE(test::child<QSpinBox>(*w, u"se_ur_o_godz_godz")->value(), 0);
        QVERIFY(!test::child<QCheckBox>(*w, u"cb_PowtorzAkcje")->isChecked());
        QCOMPARE(test::child<QLineEdit>(*w, u"e_CzasPowtorki")->text(), u"1"_qs);
        QVERIFY(!test::child<QLineEdit>(*w, u"e_CzasPowtorki")->isEnabled());
        QCOMPARE(test::child<ImageButton>(*w, u"ib_Stop")->pos(), QPoint(-40, -40));
        QVERIFY(test::child<ClockGroupBox>(*w, u"gb1")
                    ->caption()
                    .startsWith(u" W tej chwili jest: 12:00:00"_qs));
        QVERIFY(m_world->boxes().isEmpty());
    }

    // The caption's clock ticks only while the window is seen, and is current when it is again.
    void theClockRestsWhileTheWindowIsNotSeen()
    {
        const auto w = makeWindow();
        const auto *clockBox = test::child<ClockGroupBox>(*w, u"gb1");
        w->show();
        QVERIFY(m_world->host.ticker.isRunning());
        w->setWindowState(Qt::WindowMinimized);
        QVERIFY(!m_world->host.ticker.isRunning());
        m_world->clock.set(QTime(12, 34, 56));
        w->setWindowState(Qt::WindowNoState);
        QVERIFY(m_world->host.ticker.isRunning());
        QVERIFY(clockBox->caption().contains(u"12:34:56"_qs));
        w->hide();
        QVERIFY(!m_world->host.ticker.isRunning());
    }

    // While the alarm is armed, the timing and the shown kind's controls are locked, and Stop
    // gives them back; another kind's or sub-action's controls are left as they are.
    void armingLocksTheKindsControls_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("subAction");
        QTest::addColumn<QStringList>("locked");
        QTest::addColumn<QStringList>("leftAlone");
        QTest::newRow("popup") << kinds::DefaultWindow.toString() << QString()
                               << QStringList{u"cb_Podglad"_qs}
                               << QStringList{u"cb_Komunikat"_qs, u"cb_InneOpcje"_qs};
        QTest::newRow("shutdown") << kinds::Shutdown.toString() << QString()
                                  << QStringList{u"Label7"_qs, u"cb_ZamknijSystem"_qs}
                                  << QStringList{u"cb_Podglad"_qs, u"cb_InneOpcje"_qs};
        QTest::newRow("sound")
            << kinds::PlaySound.toString() << QString()
            << QStringList{u"Label6"_qs,   u"fne_PlikWAV"_qs, u"sb_ListaPlikowWAV"_qs,
                           u"Label128"_qs, u"LabelCzas"_qs,   u"Play"_qs,
                           u"Pause"_qs,    u"Stop"_qs,        u"LoopCheckBox"_qs}
            << QStringList{u"cb_Podglad"_qs};
        QTest::newRow("key") << kinds::Other.toString() << others::PressKey.toString()
                             << QStringList{u"Label12"_qs, u"cb_InneOpcje"_qs, u"cb_Podglad"_qs,
                                            u"Label14"_qs, u"cb_Klawisze"_qs}
                             << QStringList{u"se_Inne_X_DC"_qs, u"cb_Inne_DyskCD"_qs};
        QTest::newRow("click") << kinds::Other.toString() << others::SingleClick.toString()
                               << QStringList{u"se_Inne_X_DC"_qs, u"se_Inne_Y_DC"_qs, u"Label16"_qs,
                                              u"Label17"_qs, u"SpeedButton1"_qs}
                               << QStringList{u"cb_Klawisze"_qs};
        QTest::newRow("cd tray") << kinds::Other.toString() << others::CdTray.toString()
                                 << QStringList{u"Label18"_qs, u"Label19"_qs, u"cb_Inne_DyskCD"_qs,
                                                u"cd_Inne_DyskCD_WsWy"_qs}
                                 << QStringList{u"se_Inne_X_DC"_qs};
        QTest::newRow("a sub-action without parameters")
            << kinds::Other.toString() << others::MonitorOff.toString()
            << QStringList{u"Label12"_qs, u"cb_InneOpcje"_qs, u"cb_Podglad"_qs}
            << QStringList{u"cb_Klawisze"_qs, u"se_Inne_X_DC"_qs, u"cb_Inne_DyskCD"_qs};
        QTest::newRow("a sub-action stays with its kind")
            << kinds::OpenWebPage.toString() << others::PressKey.toString()
            << QStringList{u"Label11"_qs, u"e_WWW"_qs, u"sb_ListaWWW"_qs, u"cb_Podglad"_qs}
            << QStringList{u"cb_InneOpcje"_qs, u"cb_Klawisze"_qs};
        QTest::newRow("no kind") << QString() << QString() << QStringList()
                                 << QStringList{u"cb_Podglad"_qs, u"cb_Komunikat"_qs};
    }

    void armingLocksTheKindsControls()
    {
        QFETCH(QString, kind);
        QFETCH(QString, subAction);
        QFETCH(QStringList, locked);
        QFETCH(QStringList, leftAlone);
        const auto w = makeWindow();
        test::child<QComboBox>(*w, u"cb_InneOpcje")->setEditText(subAction);
        test::chooseKind(*w, kind);
        locked << u"cb_Typ_Alarmu"_qs << u"rb_ur_o_godz"_qs << u"se_ur_o_godz_godz"_qs
               << u"sb_ur_alarm_o"_qs << u"rb_ur_po_czasie"_qs << u"Label13"_qs;
        std::map<QString, bool> before;
        for (const QString &name : std::as_const(leftAlone))
            before[name] = test::child(*w, name)->isEnabled();
        w->ib_StartClick();
        QVERIFY(m_world->host.ticking);
        for (const QString &name : std::as_const(locked))
            QVERIFY2(!test::child(*w, name)->isEnabled(), qPrintable(name));
        for (const QString &name : std::as_const(leftAlone))
            QVERIFY2(test::child(*w, name)->isEnabled() == before[name], qPrintable(name));
        w->ib_StopClick();
        for (const QString &name : std::as_const(locked))
            QVERIFY2(test::child(*w, name)->isEnabled(), qPrintable(name));
    }

    void restoresTheLastKindWithoutRegardToCase()
    {
        m_world->writeBase(keys::LastAction, u"komunikat"_qs);
        const auto w = makeWindow();
        QCOMPARE(test::child<QComboBox>(*w, u"cb_Typ_Alarmu")->currentText(),
                 kinds::Message.toString());
        QVERIFY(test::child<QWidget>(*w, u"p_k_komunikat")->isVisible());

        m_world->writeBase(keys::LastAction, u"Komunikat "_qs);
        QCOMPARE(test::child<QComboBox>(*makeWindow(), u"cb_Typ_Alarmu")->currentIndex(), -1);
    }

    void restoresCountdownModeAndRepeat_data()
    {
        QTest::addColumn<int>("oZa");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("repeatEnabled");
        QTest::newRow("countdown, message") << 2 << kinds::Message.toString() << true;
        QTest::newRow("any other number") << 7 << kinds::OpenWebPage.toString() << true;
        QTest::newRow("popup cannot repeat") << 2 << kinds::DefaultWindow.toString() << false;
        QTest::newRow("shutdown cannot repeat") << 2 << kinds::Shutdown.toString() << false;
    }

    void restoresCountdownModeAndRepeat()
    {
        QFETCH(int, oZa);
        QFETCH(QString, kind);
        QFETCH(bool, repeatEnabled);
        m_world->writeBase(keys::O_ZA, oZa);
        m_world->writeBase(keys::LastAction, kind);
        {
            Store store(m_world->storeFile);
            store.openKey(keys::Base);
            store.writeBool(keys::Repeat, true);
            store.writeString(keys::Repeat_Time, u"45"_qs);
        }
        const auto w = makeWindow();
        QVERIFY(test::child<QRadioButton>(*w, u"rb_ur_po_czasie")->isChecked());
        QVERIFY(test::child<QSpinBox>(*w, u"se_ur_po_czasie_min")->isEnabled());
        QVERIFY(test::child<QToolButton>(*w, u"sb_ur_alarm_za")->isEnabled());
        QVERIFY(!test::child<QSpinBox>(*w, u"se_ur_o_godz_min")->isEnabled());
        QVERIFY(test::child<QCheckBox>(*w, u"cb_PowtorzAkcje")->isChecked());
        QCOMPARE(test::child<QLineEdit>(*w, u"e_CzasPowtorki")->text(), u"45"_qs);
        QCOMPARE(test::child<QLineEdit>(*w, u"e_CzasPowtorki")->isEnabled(), repeatEnabled);
    }

    void digitFilter()
    {
        const auto w = makeWindow();
        test::child<QCheckBox>(*w, u"cb_PowtorzAkcje")->setChecked(true);
        test::child<QLineEdit>(*w, u"e_CzasPowtorki")->clear();
        QTest::keyClicks(test::child<QLineEdit>(*w, u"e_CzasPowtorki"), u"1a:2-"_qs);
        QCOMPARE(test::child<QLineEdit>(*w, u"e_CzasPowtorki")->text(), u"12"_qs);
        QTest::keyClick(test::child<QLineEdit>(*w, u"e_CzasPowtorki"), Qt::Key_Backspace);
        QCOMPARE(test::child<QLineEdit>(*w, u"e_CzasPowtorki")->text(), u"1"_qs);
    }

    void startInClockMode()
    {
        auto w = makeWindow();
        test::chooseKind(*w, kinds::DefaultWindow);
        test::child<QSpinBox>(*w, u"se_ur_o_godz_godz")->setValue(7);
        test::child<QSpinBox>(*w, u"se_ur_o_godz_min")->setValue(5);
        w->ib_StartClick();
        QVERIFY(m_world->host.ticking);
        QVERIFY(!w->isVisible());
        QCOMPARE(m_world->host.armed.Mode, u"G"_qs);
        QCOMPARE(m_world->host.armed.Hour, 7);
        QCOMPARE(m_world->host.armed.Minute, 5);
        QCOMPARE(m_world->host.armed.CountdownLeft, 0);
        QCOMPARE(m_world->host.armed.ActionKind, kinds::DefaultWindow.toString());
        QCOMPARE(m_world->host.armed.RepeatSeconds, 0);
        QCOMPARE(test::child<ImageButton>(*w, u"ib_Stop")->pos(),
                 test::child<ImageButton>(*w, u"ib_Start")->pos());
        QVERIFY(!test::child<QComboBox>(*w, u"cb_Typ_Alarmu")->isEnabled());
        const RecentListContents clockList = readRecentList(m_world->storeFile, keys::O_MRU);
        QCOMPARE(clockList.current, u"7:5:0"_qs);
        QVERIFY(clockList.names.contains(u"7:5:0"_qs));
        QCOMPARE(readRecentList(m_world->storeFile, keys::ZA_MRU).current, u"0:0:0"_qs);
        QCOMPARE(m_world->readBaseString(keys::LastAction), kinds::DefaultWindow.toString());
    }

    void startACountdownMessageWithRepeat()
    {
        auto w = makeWindow();
        test::child<QRadioButton>(*w, u"rb_ur_po_czasie")->setChecked(true);
        test::child<QSpinBox>(*w, u"se_ur_po_czasie_sec")->setValue(90);
        test::chooseKind(*w, kinds::Message);
        test::child<QComboBox>(*w, u"cb_Komunikat")->setEditText(u"Już czas"_qs);
        test::child<QComboBox>(*w, u"cb_Caption")->setEditText(u"UWAGA !!!"_qs);
        test::child<QCheckBox>(*w, u"cb_PowtorzAkcje")->setChecked(true);
        test::child<QLineEdit>(*w, u"e_CzasPowtorki")->setText(u"30"_qs);
        w->ib_StartClick();
        QCOMPARE(m_world->host.armed.Mode, u"D"_qs);
        QCOMPARE(m_world->host.armed.CountdownLeft, 90);
        QCOMPARE(m_world->host.armed.MainParam, u"UWAGA !!!¶Już czas"_qs);
        QCOMPARE(m_world->host.armed.RepeatSeconds, 30);
        QCOMPARE(readRecentList(m_world->storeFile, keys::ZA_MRU).current, u"0:0:90"_qs);
        QCOMPARE(readRecentList(m_world->storeFile, keys::Kom_Text_MRU).current, u"Już czas"_qs);
        QCOMPARE(readRecentList(m_world->storeFile, keys::Kom_Caption_MRU).current,
                 u"UWAGA !!!"_qs);
        QVERIFY(!test::child<QComboBox>(*w, u"cb_Komunikat")->isEnabled());
        QVERIFY(!test::child<QLineEdit>(*w, u"e_CzasPowtorki")->isEnabled());

        m_world->recorder->clear();
        m_world->platform->input().suspendKeyboard(); // as the alarm's action would
        w->ib_StopClick(); // as the alarm disarms itself: the suspension it made stays
        QVERIFY(!m_world->recorder->lines().contains(u"ResumeInput"_qs));
        w->ib_StartClick();
        test::child<ImageButton>(*w, u"ib_Stop")
            ->click(); // the user's Stop gives suspended devices back
        QCOMPARE(m_world->recorder->lines().last(), u"ResumeInput"_qs);
        QVERIFY(!m_world->host.ticking);
        QCOMPARE(test::child<ImageButton>(*w, u"ib_Stop")->pos(), QPoint(-40, -40));
        QVERIFY(test::child<QComboBox>(*w, u"cb_Komunikat")->isEnabled());
        QVERIFY(test::child<QPushButton>(*w, u"cb_Podglad")->isEnabled());
        QVERIFY(test::child<QSpinBox>(*w, u"se_ur_po_czasie_sec")->isEnabled());
        QVERIFY(!test::child<QSpinBox>(*w, u"se_ur_o_godz_sec")->isEnabled());
        QVERIFY(test::child<QLineEdit>(*w, u"e_CzasPowtorki")->isEnabled());
    }

    void shutdownNeverRepeats()
    {
        auto w = makeWindow();
        test::chooseKind(*w, kinds::Shutdown);
        test::child<QComboBox>(*w, u"cb_ZamknijSystem")
            ->setEditText(shutdowns::PowerOff.toString());
        test::child<QCheckBox>(*w, u"cb_PowtorzAkcje")->setChecked(true);
        w->ib_StartClick();
        QCOMPARE(m_world->host.armed.RepeatSeconds, 0);
        QCOMPARE(m_world->readBaseString(keys::cb_Reboot), shutdowns::PowerOff.toString());
        w->ib_StopClick();
        QVERIFY(!test::child<QCheckBox>(*w, u"cb_PowtorzAkcje")->isEnabled());
        QVERIFY(!test::child<QLineEdit>(*w, u"e_CzasPowtorki")->isEnabled());
        QVERIFY(test::child<QComboBox>(*w, u"cb_ZamknijSystem")->isEnabled());
        QVERIFY(!test::child<QPushButton>(*w, u"cb_Podglad")->isEnabled());
    }

    void otherActionStoresItsPoint()
    {
        auto w = makeWindow();
        test::chooseKind(*w, kinds::Message); // the point is written whatever the kind
        test::child<QComboBox>(*w, u"cb_Komunikat")->setEditText(u"a"_qs);
        test::child<QComboBox>(*w, u"cb_Caption")->setEditText(u"b"_qs);
        test::child<QComboBox>(*w, u"cb_InneOpcje")->setEditText(others::SingleClick.toString());
        test::child<QSpinBox>(*w, u"se_Inne_X_DC")->setRange(0, 2000);
        test::child<QSpinBox>(*w, u"se_Inne_Y_DC")->setRange(0, 2000);
        test::child<QSpinBox>(*w, u"se_Inne_X_DC")->setValue(640);
        test::child<QSpinBox>(*w, u"se_Inne_Y_DC")->setValue(480);
        w->ib_StartClick();
        QCOMPARE(m_world->host.armed.SecondParam, u"640;480"_qs);

        w->ib_StopClick();
        test::chooseKind(*w, kinds::Other); // restores the stored point: none yet
        QCOMPARE(test::child<QSpinBox>(*w, u"se_Inne_X_DC")->value(), 0);
        test::child<QSpinBox>(*w, u"se_Inne_X_DC")->setValue(640);
        test::child<QSpinBox>(*w, u"se_Inne_Y_DC")->setValue(480);
        w->ib_StartClick();
        QCOMPARE(m_world->host.armed.MainParam, others::SingleClick.toString());
        QVERIFY(!test::child<QSpinBox>(*w, u"se_Inne_X_DC")->isEnabled());
        Store inne(m_world->storeFile);
        inne.openKey(keys::under(keys::Inne_MRU));
        QCOMPARE(inne.readInteger(keys::x_SingleClick), 640);
        QCOMPARE(inne.readInteger(keys::y_SingleClick), 480);
        w->ib_StopClick();
        QVERIFY(test::child<QSpinBox>(*w, u"se_Inne_X_DC")->isEnabled());
        QVERIFY(test::child<QComboBox>(*w, u"cb_InneOpcje")->isEnabled());
    }

    void zeroCountdownIsRefused()
    {
        auto w = makeWindow();
        test::chooseKind(*w, kinds::DefaultWindow);
        test::child<QRadioButton>(*w, u"rb_ur_po_czasie")->setChecked(true);
        test::child<QSpinBox>(*w, u"se_ur_po_czasie_sec")
            ->findChild<QLineEdit *>()
            ->clear(); // an empty field reads as 0
        w->ib_StartClick();
        QCOMPARE(m_world->boxes(),
                 QStringList{u"MessageBox \"Odliczany czas musi być większy od 0\" "
                             "\"BŁĄD !!!\" 0x10 -> 1"_qs});
        QVERIFY(!m_world->host.ticking);
        QVERIFY(w->isVisible());
        QVERIFY(test::child<QComboBox>(*w, u"cb_Typ_Alarmu")->isEnabled());
        QCOMPARE(test::child<ImageButton>(*w, u"ib_Stop")->pos(), QPoint(-40, -40));
        QVERIFY(!m_world->readBaseString(keys::LastAction));
    }

    void tooLongCountdownIsRefused()
    {
        auto w = makeWindow();
        test::chooseKind(*w, kinds::DefaultWindow);
        test::child<QRadioButton>(*w, u"rb_ur_po_czasie")->setChecked(true);
        test::child<QSpinBox>(*w, u"se_ur_po_czasie_godz")->setValue(600000);
        w->ib_StartClick();
        QCOMPARE(m_world->boxes().size(), 1);
        QVERIFY(m_world->boxes().constFirst().contains(u"zbyt długi"_qs));
        QVERIFY(!m_world->host.ticking);
    }

    void emptyRepeatFieldFailsAfterStoring()
    {
        auto w = makeWindow();
        test::chooseKind(*w, kinds::OpenWebPage);
        test::child<QLineEdit>(*w, u"e_WWW")->setText(u"www.example.pl"_qs);
        test::child<QCheckBox>(*w, u"cb_PowtorzAkcje")->setChecked(true);
        test::child<QLineEdit>(*w, u"e_CzasPowtorki")->clear();
        QVERIFY_THROWS_EXCEPTION(ConvertError, w->ib_StartClick());
        QVERIFY(!m_world->host.ticking);
        QVERIFY(w->isVisible());
        QVERIFY(!test::child<QLineEdit>(*w, u"e_WWW")->isEnabled());
        QCOMPARE(readRecentList(m_world->storeFile, keys::WWW_MRU).current, u"www.example.pl"_qs);
        w->ib_StopClick();
        QVERIFY(test::child<QLineEdit>(*w, u"e_WWW")->isEnabled());
        QVERIFY(test::child<ImageButton>(*w, u"ib_Start")->isEnabled());
    }

    void helpKeyOpensTheHelpPageWhenItExists()
    {
        const auto w = makeWindow();
        m_world->recorder->clear(); // the screen's size, read at creation
        QTest::keyClick(test::child<QLineEdit>(*w, u"e_WWW"), Qt::Key_F1);
        QVERIFY(m_world->recorder->lines().isEmpty());
        QDir(m_world->dir.path()).mkdir(u"help"_qs);
        const QString page = m_world->makeFile(u"help/alarm.html"_qs);
        QTest::keyClick(test::child<QSpinBox>(*w, u"se_ur_o_godz_min"), Qt::Key_F1);
        QCOMPARE(m_world->recorder->lines(),
                 QStringList{u"ShellOpen \""_qs + page + u"\" \"\" maximized"_qs});
    }

    void secondaryWindowsDisableTheSetupWindow()
    {
        const auto w = makeWindow();
        test::child<ImageButton>(*w, u"ib_Opcje")->click();
        QCOMPARE(m_world->host.optionsShown, 1);
        QVERIFY(!w->isEnabled());
        w->setEnabled(true);
        test::child<ImageButton>(*w, u"ib_About")->click();
        QCOMPARE(m_world->host.aboutShown, 1);
        QVERIFY(!w->isEnabled());
    }

    void theWindowWearsItsSkin()
    {
        const auto w = makeWindow();
        QVERIFY(w->windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(w->size(), QSize(474, 245));
        QCOMPARE(test::child<SkinWidget>(*w, u"PlasmaForm1")->geometry(), w->rect());
        QCOMPARE(w->children().constFirst(),
                 test::child<SkinWidget>(*w, u"PlasmaForm1")); // under every control
        QCOMPARE(w->mask().rectCount(), 64);
        QCOMPARE(w->mask().boundingRect(), QRect(0, 0, 473, 245));
        // The command buttons stay in their row along the top edge, inside the shape.
        const std::pair<ImageButton *, int> row[] = {
            {test::child<ImageButton>(*w, u"ib_Start"), 8},
            {test::child<ImageButton>(*w, u"ib_Minimalizuj"), 43},
            {test::child<ImageButton>(*w, u"ib_Opcje"), 78},
            {test::child<ImageButton>(*w, u"ib_About"), 113},
            {test::child<ImageButton>(*w, u"ib_WWW"), 365},
            {test::child<ImageButton>(*w, u"ib_Mail"), 400},
            {test::child<ImageButton>(*w, u"ib_Koniec"), 435}};
        for (const auto &[button, left] : row) {
            QCOMPARE(button->geometry(), QRect(left, 6, 31, 31));
            QVERIFY(!button->bitmap().isNull());
            QVERIFY(!button->bitmapOver().isNull());
            QVERIFY(!button->bitmapDown().isNull());
            QVERIFY(!button->bitmapUp().isNull());
            QVERIFY(!button->bitmapDisabled().isNull());
            QVERIFY(w->mask().contains(button->geometry().center()));
        }
        QCOMPARE(test::child<ImageButton>(*w, u"ib_Stop")->size(), QSize(31, 31));
        QCOMPARE(test::child<ImageButton>(*w, u"ib_Start")->toolTip(),
                 u"Rozpocznij odliczanie czasu"_qs);
    }

    void quitAsksOnlyWhileArmed()
    {
        const auto w = makeWindow();
        w->findChild<ImageButton *>(u"ib_Koniec"_qs)->click();
        QCOMPARE(m_world->host.quits, 1);
        QVERIFY(m_world->boxes().isEmpty());
        m_world->host.ticking = true;
        m_world->recorder->script(u"MessageBox"_qs, u"7"_qs); // No
        test::child<ImageButton>(*w, u"ib_Koniec")->click();
        QCOMPARE(m_world->host.quits, 1);
        QCOMPARE(m_world->boxes().size(), 1);
        QVERIFY(m_world->boxes().constFirst().endsWith(u"\"UWAGA !!!\" 0x34 -> 7"_qs));
        test::child<ImageButton>(*w, u"ib_Koniec")->click(); // default answer: Yes
        QCOMPARE(m_world->host.quits, 2);
    }
};

QTEST_MAIN(TestSetupWindow)
#include "tst_setupwindow.moc"
