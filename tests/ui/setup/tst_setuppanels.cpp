// The kinds' panels in the setup window: each kind's panel and its fields, the editors' checks,
// and the recent lists behind the fields.
#include "core/ArmedAlarm.h"
#include "platform/recording/RecordingPlatform.h"
#include "settings/Keys.h"
#include "settings/RecentList.h"
#include "settings/Store.h"
#include "support/SetupWindowWorld.h"
#include "ui/setup/FileNameEdit.h"
#include "ui/setup/SetupWindow.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

using namespace tockwell;

class TestSetupPanels : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::SetupWindowWorld> m_world;

    std::unique_ptr<SetupWindow> makeWindow() { return m_world->makeWindow(); }

private slots:
    void init() { m_world = std::make_unique<test::SetupWindowWorld>(); }

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
        test::chooseKind(*w, kind);
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
        const QString file = m_world->makeFile(u"dzwonek.wav"_qs);
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
        QVERIFY(m_world->boxes().isEmpty());
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
        test::chooseKind(*w, kind);
        QCOMPARE(test::child<QPushButton>(*w, u"cb_Podglad")->isVisible(), previewVisible);
        QCOMPARE(test::child<QPushButton>(*w, u"cb_Podglad")->isEnabled(), previewEnabled);
        QCOMPARE(test::child<QCheckBox>(*w, u"cb_PowtorzAkcje")->isEnabled(), repeatEnabled);
        QCOMPARE(test::child<QLineEdit>(*w, u"e_CzasPowtorki")->isEnabled(), repeatEnabled);
        QCOMPARE(test::child<ImageButton>(*w, u"ib_Start")->isEnabled(), startEnabled);
    }

    void shutdownThenMessageShowsPreviewAgain()
    {
        const auto w = makeWindow();
        test::chooseKind(*w, kinds::Shutdown);
        QVERIFY(!test::child<QPushButton>(*w, u"cb_Podglad")->isVisible());
        test::chooseKind(*w, kinds::Message);
        QVERIFY(test::child<QPushButton>(*w, u"cb_Podglad")->isVisible());
        QVERIFY(!test::child<QPushButton>(*w, u"cb_Podglad")->isEnabled());
        QVERIFY(test::child<QCheckBox>(*w, u"cb_PowtorzAkcje")->isEnabled());
    }

    void messageEditor()
    {
        const auto w = makeWindow();
        test::chooseKind(*w, kinds::Message);
        test::child<QComboBox>(*w, u"cb_Komunikat")->setEditText(u"ALARM !!!"_qs);
        QVERIFY(!test::child<ImageButton>(*w, u"ib_Start")->isEnabled());
        QTest::keyClicks(test::child<QComboBox>(*w, u"cb_Caption")->lineEdit(), u"x"_qs);
        QVERIFY(test::child<ImageButton>(*w, u"ib_Start")->isEnabled());
        QVERIFY(test::child<QPushButton>(*w, u"cb_Podglad")->isEnabled());
    }

    void shutdownChoiceIsExact()
    {
        const auto w = makeWindow();
        test::chooseKind(*w, kinds::Shutdown);
        test::child<QComboBox>(*w, u"cb_ZamknijSystem")->setEditText(u"wyłącz komputer"_qs);
        QVERIFY(!test::child<ImageButton>(*w, u"ib_Start")->isEnabled());
        test::child<QComboBox>(*w, u"cb_ZamknijSystem")->setEditText(u"Wyłącz komputer"_qs);
        QVERIFY(test::child<ImageButton>(*w, u"ib_Start")->isEnabled());
    }

    void programEditor()
    {
        const auto w = makeWindow();
        test::chooseKind(*w, kinds::RunProgram);
        const QString program = m_world->makeFile(u"budzik"_qs, true);
        const QString text = m_world->makeFile(u"notatka.txt"_qs);
        test::child<FileNameEdit>(*w, u"fne_PlikEXE")->setText(program);
        QVERIFY(test::child<ImageButton>(*w, u"ib_Start")->isEnabled());
        test::child<FileNameEdit>(*w, u"fne_PlikEXE")
            ->setText(text); // not a program: the message, the buttons stay as they were
        QVERIFY(test::child<ImageButton>(*w, u"ib_Start")->isEnabled());
        QCOMPARE(m_world->boxes(),
                 QStringList{u"MessageBox \"Wybrany format pliku jest niepoprawny.\\rWybierz "
                             "inny plik lub upewnij się, czy wybrany plik ma rozszerzenie "
                             "typu EXE\" \"Tockwell\" 0x0 -> 1"_qs});
        test::child<FileNameEdit>(*w, u"fne_PlikEXE")->setText(m_world->makeFile(u"setup.Exe"_qs));
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
        test::chooseKind(*w, kinds::OpenFile);
        const QString blank = m_world->makeFile(u"z odstępem.txt"_qs);
        test::child<FileNameEdit>(*w, u"fne_Plik")->setText(FileNameEdit::displayedPath(blank));
        QCOMPARE(test::child<FileNameEdit>(*w, u"fne_Plik")->text(), u"\""_qs + blank + u"\""_qs);
        QVERIFY(test::child<ImageButton>(*w, u"ib_Start")->isEnabled());

        test::chooseKind(*w, kinds::OpenFolder);
        test::child<FileNameEdit>(*w, u"de_Foldery")->setText(blank);
        QVERIFY(!test::child<ImageButton>(*w, u"ib_Start")->isEnabled());
        test::child<FileNameEdit>(*w, u"de_Foldery")->setText(m_world->dir.path());
        QVERIFY(test::child<ImageButton>(*w, u"ib_Start")->isEnabled());

        test::chooseKind(*w, kinds::OpenWebPage);
        for (const auto &[address, valid] :
             {std::pair{u"www.example.pl"_qs, true}, std::pair{u"https://example.pl"_qs, false},
              std::pair{u"WWW.EXAMPLE.PL"_qs, false}, std::pair{u"http://www.x.pl"_qs, true}}) {
            test::child<QLineEdit>(*w, u"e_WWW")->setText(address);
            QCOMPARE(test::child<ImageButton>(*w, u"ib_Start")->isEnabled(), valid);
        }
    }

    void listButtonsAndClearing()
    {
        rememberEntry(m_world->storeFile, keys::WWW_MRU,
                      u"www.a.pl"_qs); // one entry + current entry
        const QString sound = m_world->makeFile(u"dzwonek.wav"_qs);
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
        QVERIFY(m_world->boxes().isEmpty());
        items.at(1)->trigger();
        QCOMPARE(test::child<QSpinBox>(*w, u"se_ur_po_czasie_godz")->value(), 0);
        QCOMPARE(test::child<QSpinBox>(*w, u"se_ur_po_czasie_min")->value(), 0);
        QCOMPARE(m_world->boxes(),
                 QStringList{u"MessageBox \"Wskazany format czasu jest niepoprawny !!!\" "
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
        QCOMPARE(m_world->boxes().size(), 1);
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
        test::chooseKind(*w, kinds::Message);
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
};

QTEST_MAIN(TestSetupPanels)
#include "tst_setuppanels.moc"
