#include "core/ArmedAlarm.h"
#include "platform/recording/RecordingPlatform.h"
#include "settings/Keys.h"
#include "settings/RecentList.h"
#include "settings/Store.h"
#include "support/SetupWindowWorld.h"
#include "ui/setup/ClockGroupBox.h"
#include "ui/setup/FileNameEdit.h"
#include "ui/setup/SetupWindow.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace tockwell;
using platform::Recorder;

class TestSetupWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::SetupWindowWorld> m_world;

    std::unique_ptr<SetupWindow> makeWindow() { return m_world->makeWindow(); }

    void writeBase(QStringView name, const QString &text)
    {
        Store store(m_world->storeFile);
        store.openKey(keys::Base);
        store.writeString(name.toString(), text);
    }
    void writeBase(QStringView name, int number)
    {
        Store store(m_world->storeFile);
        store.openKey(keys::Base);
        store.writeInteger(name.toString(), number);
    }
    std::optional<QString> readBaseString(QStringView name)
    {
        Store store(m_world->storeFile);
        store.openKey(keys::Base);
        return store.readString(name.toString());
    }

    QString makeFile(const QString &name, bool executable = false)
    {
        QFile file(m_world->dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(file.fileName()));
        file.write("x");
        if (executable)
            file.setPermissions(file.permissions() | QFile::ExeOwner);
        return file.fileName();
    }

    static void chooseKind(SetupWindow &w, QStringView kind)
    {
        test::child<QComboBox>(w, u"cb_Typ_Alarmu")
            ->setCurrentIndex(
                test::child<QComboBox>(w, u"cb_Typ_Alarmu")->findText(kind.toString()));
    }

    QStringList boxes() const
    {
        QStringList lines;
        for (const QString &line : m_world->recorder->lines())
            if (line.startsWith(u"MessageBox"_qs))
                lines.append(line);
        return lines;
    }

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
        QVERIFY(boxes().isEmpty());
    }

    // Each kind shows its own panel alone, with the focus in its first field.
    void eachKindShowsItsPanelWithTheFocusInIt_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("panel");
        QTest::addColumn<QString>("firstField");
        QTest::newRow("popup") << kinds::DefaultWindow.toString() << QString() << QString();
        QTest::newRow("message") << kinds::Message.toString() << u"p_k_komunikat"_qs
                                 << u"cb_Komunikat"_qs;
        QTest::newRow("sound") << kinds::PlaySound.toString() << u"p_k_PdegrajDzwiek"_qs
                               << u"fne_PlikWAV"_qs;
        QTest::newRow("folder") << kinds::OpenFolder.toString() << u"p_OtworzFolder"_qs
                                << u"de_Foldery"_qs;
        QTest::newRow("file") << kinds::OpenFile.toString() << u"p_Plik"_qs << u"fne_Plik"_qs;
        QTest::newRow("program") << kinds::RunProgram.toString() << u"p_UrProg"_qs
                                 << u"fne_PlikEXE"_qs;
        QTest::newRow("web page") << kinds::OpenWebPage.toString() << u"p_WWW"_qs << u"e_WWW"_qs;
        QTest::newRow("shutdown") << kinds::Shutdown.toString() << u"p_Zamknij"_qs
                                  << u"cb_ZamknijSystem"_qs;
        QTest::newRow("other") << kinds::Other.toString() << u"p_Inne"_qs << u"cb_InneOpcje"_qs;
    }
    void eachKindShowsItsPanelWithTheFocusInIt()
    {
        QFETCH(QString, kind);
        QFETCH(QString, panel);
        QFETCH(QString, firstField);
        const auto w = makeWindow();
        QWidget *focusBefore = w->focusWidget();
        chooseKind(*w, kind);
        for (const QString &each :
             {u"p_k_komunikat"_qs, u"p_k_PdegrajDzwiek"_qs, u"p_Zamknij"_qs, u"p_UrProg"_qs,
              u"p_Plik"_qs, u"p_OtworzFolder"_qs, u"p_WWW"_qs, u"p_Inne"_qs})
            QCOMPARE(test::child(*w, each)->isVisible(), each == panel);
        if (firstField.isEmpty()) {
            QCOMPARE(w->focusWidget(), focusBefore);
            return;
        }
        QWidget *field = test::child(*w, firstField);
        QVERIFY(w->focusWidget() == field || field->isAncestorOf(w->focusWidget()));
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
        chooseKind(*w, kind);
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

    // Each recent list's current entry comes back into the field it was entered in.
    void everyListsCurrentEntryComesBackIntoItsField_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("entry"); // "file" and "folder" stand for existing ones
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("shown");
        QTest::newRow("clock time")
            << keys::O_MRU.toString() << u"7:5:0"_qs << u"se_ur_o_godz_min"_qs << u"5"_qs;
        QTest::newRow("countdown")
            << keys::ZA_MRU.toString() << u"0:1:30"_qs << u"se_ur_po_czasie_sec"_qs << u"30"_qs;
        QTest::newRow("message") << keys::Kom_Text_MRU.toString() << u"Już czas"_qs
                                 << u"cb_Komunikat"_qs << u"Już czas"_qs;
        QTest::newRow("caption") << keys::Kom_Caption_MRU.toString() << u"UWAGA"_qs
                                 << u"cb_Caption"_qs << u"UWAGA"_qs;
        QTest::newRow("sound") << keys::Sound_MRU.toString() << u"file"_qs << u"fne_PlikWAV"_qs
                               << u"file"_qs;
        QTest::newRow("program") << keys::EXE_MRU.toString() << u"file"_qs << u"fne_PlikEXE"_qs
                                 << u"file"_qs;
        QTest::newRow("file") << keys::Pliki_MRU.toString() << u"file"_qs << u"fne_Plik"_qs
                              << u"file"_qs;
        QTest::newRow("folder") << keys::Foldery_MRU.toString() << u"folder"_qs << u"de_Foldery"_qs
                                << u"folder"_qs;
        QTest::newRow("web page") << keys::WWW_MRU.toString() << u"www.a.pl"_qs << u"e_WWW"_qs
                                  << u"www.a.pl"_qs;
    }
    void everyListsCurrentEntryComesBackIntoItsField()
    {
        QFETCH(QString, list);
        QFETCH(QString, entry);
        QFETCH(QString, field);
        QFETCH(QString, shown);
        const QString file = makeFile(u"dzwonek.wav"_qs);
        const auto existing = [&](const QString &text) {
            return text == u"file"_qs ? file : text == u"folder"_qs ? m_world->dir.path() : text;
        };
        QCOMPARE(keys::RecentLists.size(), std::size_t(9)); // the rows above
        rememberEntry(m_world->storeFile, list, existing(entry));
        const auto w = makeWindow();
        QWidget *control = test::child(*w, field);
        QString text;
        if (const auto *number = qobject_cast<QSpinBox *>(control))
            text = QString::number(number->value());
        else if (const auto *box = qobject_cast<QComboBox *>(control))
            text = box->currentText();
        else if (const auto *fileField = qobject_cast<FileNameEdit *>(control))
            text = fileField->text();
        else
            text = qobject_cast<QLineEdit *>(control)->text();
        QCOMPARE(text, existing(shown));
        QVERIFY(boxes().isEmpty());
    }

    void restoresTheLastKindWithoutRegardToCase()
    {
        writeBase(keys::LastAction, u"komunikat"_qs);
        const auto w = makeWindow();
        QCOMPARE(test::child<QComboBox>(*w, u"cb_Typ_Alarmu")->currentText(),
                 kinds::Message.toString());
        QVERIFY(test::child<QWidget>(*w, u"p_k_komunikat")->isVisible());

        writeBase(keys::LastAction, u"Komunikat "_qs);
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
        writeBase(keys::O_ZA, oZa);
        writeBase(keys::LastAction, kind);
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

    void kindSwitching_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("previewVisible");
        QTest::addColumn<bool>("previewEnabled");
        QTest::addColumn<bool>("repeatEnabled");
        QTest::addColumn<bool>("startEnabled");
        QTest::newRow("popup") << kinds::DefaultWindow.toString() << true << true << false << true;
        QTest::newRow("message, empty")
            << kinds::Message.toString() << true << false << true << false;
        QTest::newRow("sound, no file")
            << kinds::PlaySound.toString() << false << false << true << false;
        QTest::newRow("shutdown, no choice")
            << kinds::Shutdown.toString() << false << false << false << false;
        QTest::newRow("web, empty")
            << kinds::OpenWebPage.toString() << true << false << true << false;
        QTest::newRow("other, empty") << kinds::Other.toString() << true << false << true << false;
    }
    void kindSwitching()
    {
        QFETCH(QString, kind);
        QFETCH(bool, previewVisible);
        QFETCH(bool, previewEnabled);
        QFETCH(bool, repeatEnabled);
        QFETCH(bool, startEnabled);
        const auto w = makeWindow();
        test::child<QCheckBox>(*w, u"cb_PowtorzAkcje")->setChecked(true);
        chooseKind(*w, kind);
        QCOMPARE(test::child<QPushButton>(*w, u"cb_Podglad")->isVisible(), previewVisible);
        QCOMPARE(test::child<QPushButton>(*w, u"cb_Podglad")->isEnabled(), previewEnabled);
        QCOMPARE(test::child<QCheckBox>(*w, u"cb_PowtorzAkcje")->isEnabled(), repeatEnabled);
        QCOMPARE(test::child<QLineEdit>(*w, u"e_CzasPowtorki")->isEnabled(), repeatEnabled);
        QCOMPARE(test::child<ImageButton>(*w, u"ib_Start")->isEnabled(), startEnabled);
    }

    void shutdownThenMessageShowsPreviewAgain()
    {
        const auto w = makeWindow();
        chooseKind(*w, kinds::Shutdown);
        QVERIFY(!test::child<QPushButton>(*w, u"cb_Podglad")->isVisible());
        chooseKind(*w, kinds::Message);
        QVERIFY(test::child<QPushButton>(*w, u"cb_Podglad")->isVisible());
        QVERIFY(!test::child<QPushButton>(*w, u"cb_Podglad")->isEnabled());
        QVERIFY(test::child<QCheckBox>(*w, u"cb_PowtorzAkcje")->isEnabled());
    }

    void messageEditor()
    {
        const auto w = makeWindow();
        chooseKind(*w, kinds::Message);
        test::child<QComboBox>(*w, u"cb_Komunikat")->setEditText(u"ALARM !!!"_qs);
        QVERIFY(!test::child<ImageButton>(*w, u"ib_Start")->isEnabled());
        QTest::keyClicks(test::child<QComboBox>(*w, u"cb_Caption")->lineEdit(), u"x"_qs);
        QVERIFY(test::child<ImageButton>(*w, u"ib_Start")->isEnabled());
        QVERIFY(test::child<QPushButton>(*w, u"cb_Podglad")->isEnabled());
    }

    void shutdownChoiceIsExact()
    {
        const auto w = makeWindow();
        chooseKind(*w, kinds::Shutdown);
        test::child<QComboBox>(*w, u"cb_ZamknijSystem")->setEditText(u"wyłącz komputer"_qs);
        QVERIFY(!test::child<ImageButton>(*w, u"ib_Start")->isEnabled());
        test::child<QComboBox>(*w, u"cb_ZamknijSystem")->setEditText(u"Wyłącz komputer"_qs);
        QVERIFY(test::child<ImageButton>(*w, u"ib_Start")->isEnabled());
    }

    void programEditor()
    {
        const auto w = makeWindow();
        chooseKind(*w, kinds::RunProgram);
        const QString program = makeFile(u"budzik"_qs, true);
        const QString text = makeFile(u"notatka.txt"_qs);
        test::child<FileNameEdit>(*w, u"fne_PlikEXE")->setText(program);
        QVERIFY(test::child<ImageButton>(*w, u"ib_Start")->isEnabled());
        test::child<FileNameEdit>(*w, u"fne_PlikEXE")
            ->setText(text); // not a program: the message, the buttons stay as they were
        QVERIFY(test::child<ImageButton>(*w, u"ib_Start")->isEnabled());
        QCOMPARE(boxes(),
                 QStringList{u"MessageBox \"Wybrany format pliku jest niepoprawny.\\rWybierz "
                             "inny plik lub upewnij się, czy wybrany plik ma rozszerzenie "
                             "typu EXE\" \"Tockwell\" 0x0 -> 1"_qs});
        test::child<FileNameEdit>(*w, u"fne_PlikEXE")->setText(makeFile(u"setup.Exe"_qs));
        QVERIFY(test::child<ImageButton>(*w, u"ib_Start")->isEnabled());
        test::child<FileNameEdit>(*w, u"fne_PlikEXE")
            ->setText(m_world->dir.filePath(u"brak --opcja"_qs));
        QVERIFY(!test::child<ImageButton>(*w, u"ib_Start")->isEnabled());
        test::child<FileNameEdit>(*w, u"fne_PlikEXE")
            ->setText(u"\""_qs + program + u"\" --cicho"_qs); // the first item names it
        QVERIFY(test::child<ImageButton>(*w, u"ib_Start")->isEnabled());
    }

    void fileFolderAndWebEditors()
    {
        const auto w = makeWindow();
        chooseKind(*w, kinds::OpenFile);
        const QString blank = makeFile(u"z odstępem.txt"_qs);
        test::child<FileNameEdit>(*w, u"fne_Plik")->setText(FileNameEdit::displayedPath(blank));
        QCOMPARE(test::child<FileNameEdit>(*w, u"fne_Plik")->text(), u"\""_qs + blank + u"\""_qs);
        QVERIFY(test::child<ImageButton>(*w, u"ib_Start")->isEnabled());

        chooseKind(*w, kinds::OpenFolder);
        test::child<FileNameEdit>(*w, u"de_Foldery")->setText(blank);
        QVERIFY(!test::child<ImageButton>(*w, u"ib_Start")->isEnabled());
        test::child<FileNameEdit>(*w, u"de_Foldery")->setText(m_world->dir.path());
        QVERIFY(test::child<ImageButton>(*w, u"ib_Start")->isEnabled());

        chooseKind(*w, kinds::OpenWebPage);
        for (const auto &[address, valid] :
             {std::pair{u"www.example.pl"_qs, true}, std::pair{u"https://example.pl"_qs, false},
              std::pair{u"WWW.EXAMPLE.PL"_qs, false}, std::pair{u"http://www.x.pl"_qs, true}}) {
            test::child<QLineEdit>(*w, u"e_WWW")->setText(address);
            QCOMPARE(test::child<ImageButton>(*w, u"ib_Start")->isEnabled(), valid);
        }
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
        chooseKind(*w, kinds::DefaultWindow);
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
        QCOMPARE(readBaseString(keys::LastAction), kinds::DefaultWindow.toString());
    }

    void startACountdownMessageWithRepeat()
    {
        auto w = makeWindow();
        test::child<QRadioButton>(*w, u"rb_ur_po_czasie")->setChecked(true);
        test::child<QSpinBox>(*w, u"se_ur_po_czasie_sec")->setValue(90);
        chooseKind(*w, kinds::Message);
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
        chooseKind(*w, kinds::Shutdown);
        test::child<QComboBox>(*w, u"cb_ZamknijSystem")
            ->setEditText(shutdowns::PowerOff.toString());
        test::child<QCheckBox>(*w, u"cb_PowtorzAkcje")->setChecked(true);
        w->ib_StartClick();
        QCOMPARE(m_world->host.armed.RepeatSeconds, 0);
        QCOMPARE(readBaseString(keys::cb_Reboot), shutdowns::PowerOff.toString());
        w->ib_StopClick();
        QVERIFY(!test::child<QCheckBox>(*w, u"cb_PowtorzAkcje")->isEnabled());
        QVERIFY(!test::child<QLineEdit>(*w, u"e_CzasPowtorki")->isEnabled());
        QVERIFY(test::child<QComboBox>(*w, u"cb_ZamknijSystem")->isEnabled());
        QVERIFY(!test::child<QPushButton>(*w, u"cb_Podglad")->isEnabled());
    }

    void otherActionStoresItsPoint()
    {
        auto w = makeWindow();
        chooseKind(*w, kinds::Message); // the point is written whatever the kind
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
        chooseKind(*w, kinds::Other); // restores the stored point: none yet
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
        chooseKind(*w, kinds::DefaultWindow);
        test::child<QRadioButton>(*w, u"rb_ur_po_czasie")->setChecked(true);
        test::child<QSpinBox>(*w, u"se_ur_po_czasie_sec")
            ->findChild<QLineEdit *>()
            ->clear(); // an empty field reads as 0
        w->ib_StartClick();
        QCOMPARE(boxes(), QStringList{u"MessageBox \"Odliczany czas musi być większy od 0\" "
                                      "\"BŁĄD !!!\" 0x10 -> 1"_qs});
        QVERIFY(!m_world->host.ticking);
        QVERIFY(w->isVisible());
        QVERIFY(test::child<QComboBox>(*w, u"cb_Typ_Alarmu")->isEnabled());
        QCOMPARE(test::child<ImageButton>(*w, u"ib_Stop")->pos(), QPoint(-40, -40));
        QVERIFY(!readBaseString(keys::LastAction));
    }

    void tooLongCountdownIsRefused()
    {
        auto w = makeWindow();
        chooseKind(*w, kinds::DefaultWindow);
        test::child<QRadioButton>(*w, u"rb_ur_po_czasie")->setChecked(true);
        test::child<QSpinBox>(*w, u"se_ur_po_czasie_godz")->setValue(600000);
        w->ib_StartClick();
        QCOMPARE(boxes().size(), 1);
        QVERIFY(boxes().constFirst().contains(u"zbyt długi"_qs));
        QVERIFY(!m_world->host.ticking);
    }

    void emptyRepeatFieldFailsAfterStoring()
    {
        auto w = makeWindow();
        chooseKind(*w, kinds::OpenWebPage);
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

    void listButtonsAndClearing()
    {
        rememberEntry(m_world->storeFile, keys::WWW_MRU,
                      u"www.a.pl"_qs); // one entry + current entry
        const QString sound = makeFile(u"dzwonek.wav"_qs);
        {
            Store store(m_world->storeFile);
            store.openKey(keys::under(keys::Sound_MRU));
            store.writeString(sound, QString()); // one entry, no current entry
            store.closeKey();
            store.openKey(keys::under(keys::Foldery_MRU));
            store.writeString(m_world->dir.filePath(u"gone"_qs), QString()); // hidden but counted
            store.writeString(m_world->dir.path(), QString());
        }
        const auto w = makeWindow();
        QVERIFY(!test::child<QToolButton>(*w, u"sb_ListaWWW")->isHidden());
        QVERIFY(test::child<QToolButton>(*w, u"sb_ListaPlikowWAV")->isHidden());
        QVERIFY(!test::child<QToolButton>(*w, u"sb_ListaFolderow")->isHidden());
        QCOMPARE(test::child<QLineEdit>(*w, u"e_WWW")->text(), u"www.a.pl"_qs);

        const QList<QAction *> folders = test::child<QMenu>(*w, u"pm_Foldery")->actions();
        QCOMPARE(folders.size(), 3); // the existing folder, "-", "Wyczyść listę"
        QCOMPARE(folders.at(0)->toolTip(), m_world->dir.path());
        QVERIFY(folders.at(1)->isSeparator());
        QCOMPARE(folders.at(2)->text(), u"Wyczyść listę"_qs);
        const QList<QAction *> sounds = test::child<QMenu>(*w, u"pm_PlikiWAV")->actions();
        QCOMPARE(sounds.at(0)->text(), u"dzwonek"_qs);
        sounds.at(0)->trigger();
        QCOMPARE(test::child<FileNameEdit>(*w, u"fne_PlikWAV")->text(), sound);

        test::child<QMenu>(*w, u"pm_WWW")->actions().constLast()->trigger();
        QVERIFY(test::child<QToolButton>(*w, u"sb_ListaWWW")->isHidden());
        QCOMPARE(test::child<QLineEdit>(*w, u"e_WWW")->text(), u"www.a.pl"_qs);
        QVERIFY(readRecentList(m_world->storeFile, keys::WWW_MRU).names.isEmpty());
    }

    void timeEntriesFromTheMenus()
    {
        {
            Store store(m_world->storeFile);
            store.openKey(keys::under(keys::ZA_MRU));
            for (const QString &entry : {u"00:01:00"_qs, u"1:2"_qs, u"1:2:3:4"_qs})
                store.writeString(entry, QString());
        }
        const auto w = makeWindow();
        const QList<QAction *> items = test::child<QMenu>(*w, u"pm_ur_alarm_za")->actions();
        items.at(0)->trigger();
        QCOMPARE(test::child<QSpinBox>(*w, u"se_ur_po_czasie_min")->value(), 1);
        items.at(2)->trigger();
        QCOMPARE(test::child<QSpinBox>(*w, u"se_ur_po_czasie_godz")->value(), 1);
        QCOMPARE(test::child<QSpinBox>(*w, u"se_ur_po_czasie_sec")->value(), 3);
        QVERIFY(boxes().isEmpty());
        items.at(1)->trigger();
        QCOMPARE(test::child<QSpinBox>(*w, u"se_ur_po_czasie_godz")->value(), 0);
        QCOMPARE(test::child<QSpinBox>(*w, u"se_ur_po_czasie_min")->value(), 0);
        QCOMPARE(boxes(), QStringList{u"MessageBox \"Wskazany format czasu jest niepoprawny !!!\" "
                                      "\"BŁĄD !!!\" 0x10 -> 1"_qs});
    }

    void malformedCurrentTimeEntryAtCreation()
    {
        {
            Store store(m_world->storeFile);
            store.openKey(keys::under(keys::O_MRU));
            store.writeString(QString(), u"24:00:00"_qs);
        }
        const auto w = makeWindow();
        QCOMPARE(test::child<QSpinBox>(*w, u"se_ur_o_godz_godz")->value(), 0);
        QCOMPARE(boxes().size(), 1);
    }

    void messageCombosAreSortedWithTheCurrentEntry()
    {
        rememberEntry(m_world->storeFile, keys::Kom_Text_MRU, u"Wstawaj"_qs);
        rememberEntry(m_world->storeFile, keys::Kom_Text_MRU, u"ALARM !!!"_qs);
        const auto w = makeWindow();
        QCOMPARE(test::child<QComboBox>(*w, u"cb_Komunikat")->count(), 3);
        QCOMPARE(test::child<QComboBox>(*w, u"cb_Komunikat")->itemText(0),
                 QString()); // the current entry's empty name
        QCOMPARE(test::child<QComboBox>(*w, u"cb_Komunikat")->itemText(1), u"ALARM !!!"_qs);
        QCOMPARE(test::child<QComboBox>(*w, u"cb_Komunikat")->currentText(), u"ALARM !!!"_qs);
    }

    // A start makes no combo box lists: each is made when it first drops down, wide enough for
    // its longest text, and picks as before.
    void comboListsAreMadeWhenTheyDropDown()
    {
        const QString longText = u"Wstawaj, bo spóźnisz się na pociąg do Krakowa o ósmej"_qs;
        rememberEntry(m_world->storeFile, keys::Kom_Text_MRU, longText);
        rememberEntry(m_world->storeFile, keys::Kom_Text_MRU, u"ALARM !!!"_qs);
        const auto w = makeWindow();
        chooseKind(*w, kinds::Message);
        QVERIFY(w->findChildren<QAbstractItemView *>().isEmpty());

        auto *box = test::child<QComboBox>(*w, u"cb_Komunikat");
        box->showPopup();
        QVERIFY(box->view()->isVisible());
        QVERIFY(box->view()->width() >= box->fontMetrics().horizontalAdvance(longText));
        QCOMPARE(box->view()->font().pixelSize(), box->font().pixelSize()); // the fitted font
        const int row = box->findText(longText);
        QVERIFY(row >= 0);
        box->view()->setCurrentIndex(box->model()->index(row, 0));
        QTest::keyClick(box->view(), Qt::Key_Return);
        QCOMPARE(box->currentText(), longText);
        QCOMPARE(box->lineEdit()->text(), longText);
    }

    void helpKeyOpensTheHelpPageWhenItExists()
    {
        const auto w = makeWindow();
        m_world->recorder->clear(); // the screen's size, read at creation
        QTest::keyClick(test::child<QLineEdit>(*w, u"e_WWW"), Qt::Key_F1);
        QVERIFY(m_world->recorder->lines().isEmpty());
        QDir(m_world->dir.path()).mkdir(u"help"_qs);
        const QString page = makeFile(u"help/alarm.html"_qs);
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
        QVERIFY(boxes().isEmpty());
        m_world->host.ticking = true;
        m_world->recorder->script(u"MessageBox"_qs, u"7"_qs); // No
        test::child<ImageButton>(*w, u"ib_Koniec")->click();
        QCOMPARE(m_world->host.quits, 1);
        QCOMPARE(boxes().size(), 1);
        QVERIFY(boxes().constFirst().endsWith(u"\"UWAGA !!!\" 0x34 -> 7"_qs));
        test::child<ImageButton>(*w, u"ib_Koniec")->click(); // default answer: Yes
        QCOMPARE(m_world->host.quits, 2);
    }
};

QTEST_MAIN(TestSetupWindow)
#include "tst_setupwindow.moc"
