// What the setup window shows and how it reads: captions that fit, lists in Linux wording over
// the stored identifiers, digits only in the time and repeat fields, hints and names for a
// screen reader.
#include "core/ArmedAlarm.h"
#include "settings/Keys.h"
#include "settings/Store.h"
#include "support/SetupWindowWorld.h"
#include "ui/setup/ClockGroupBox.h"
#include "ui/setup/FileNameEdit.h"
#include "ui/setup/SetupWindow.h"
#include "ui/setup/ShownTexts.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTextDocument>
#include <QToolButton>

#include <algorithm>

using namespace tockwell;

namespace {

/// The width a caption's text takes in its control, as the control draws it.
int textWidth(const QWidget *control)
{
    const QFontMetrics metrics = control->fontMetrics();
    if (const auto *label = qobject_cast<const QLabel *>(control))
        return Qt::mightBeRichText(label->text()) ? label->sizeHint().width()
                                                  : metrics.horizontalAdvance(label->text());
    if (const auto *group = qobject_cast<const QGroupBox *>(control))
        return metrics.horizontalAdvance(group->title());
    if (qobject_cast<const QCheckBox *>(control) || qobject_cast<const QRadioButton *>(control))
        return control->sizeHint().width(); // with the indicator
    return metrics.horizontalAdvance(qobject_cast<const QAbstractButton *>(control)->text());
}

/// The room a control has for its caption's text.
int roomFor(const QWidget *control)
{
    if (const auto *label = qobject_cast<const QLabel *>(control))
        return Qt::mightBeRichText(label->text()) ? label->width() : label->contentsRect().width();
    return control->width();
}

QString captionOf(const QWidget *control)
{
    if (const auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    if (const auto *group = qobject_cast<const QGroupBox *>(control))
        return group->title();
    return qobject_cast<const QAbstractButton *>(control)->text();
}

/// Where a check box's text begins, in its parent's coordinates.
int checkBoxTextLeft(const QCheckBox *box)
{
    QStyleOptionButton option;
    option.initFrom(box);
    option.text = box->text();
    return box->x() + box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box).x();
}

QString accessibleName(QWidget *widget)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

/// What a screen reader calls an input. A box with a text is named by that text on Linux and
/// is labelled by its caption; an empty one, and every other input, has its own name.
QString readerName(QWidget *input)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(input);
    if (!face)
        return QString();
    if (qobject_cast<QComboBox *>(input))
        for (const auto &[label, relation] : face->relations(QAccessible::Label))
            if (qobject_cast<QLabel *>(label->object())) {
                const QString name = label->text(QAccessible::Name);
                return name.endsWith(u':') ? name.chopped(1) : name;
            }
    return face->text(QAccessible::Name);
}

/// The application font for one test, given back afterwards.
class FontChange
{
public:
    explicit FontChange(int larger) : m_original(QApplication::font())
    {
        QFont font = m_original;
        if (font.pointSize() > 0)
            font.setPointSize(font.pointSize() + larger);
        else
            font.setPixelSize(font.pixelSize() + larger);
        QApplication::setFont(font);
    }
    ~FontChange() { QApplication::setFont(m_original); }
    FontChange(const FontChange &) = delete;
    FontChange &operator=(const FontChange &) = delete;

private:
    QFont m_original;
};

} // namespace

class TestSetupTexts : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::SetupWindowWorld> m_world;

    void writeBase(QStringView name, const QString &text)
    {
        Store store(m_world->storeFile);
        store.openKey(keys::Base);
        store.writeString(name.toString(), text);
    }
    std::optional<QString> readBase(QStringView name)
    {
        Store store(m_world->storeFile);
        store.openKey(keys::Base);
        return store.readString(name.toString());
    }
    static void chooseKind(SetupWindow &w, QStringView kind)
    {
        test::child<QComboBox>(w, u"cb_Typ_Alarmu")
            ->setCurrentIndex(
                test::child<QComboBox>(w, u"cb_Typ_Alarmu")->findText(kind.toString()));
    }
    static QStringList items(const QComboBox *box)
    {
        QStringList texts;
        for (int i = 0; i < box->count(); ++i)
            texts.append(box->itemText(i));
        return texts;
    }
    std::vector<QSpinBox *> timeFields(const SetupWindow &w)
    {
        return {test::child<QSpinBox>(w, u"se_ur_o_godz_godz"),
                test::child<QSpinBox>(w, u"se_ur_o_godz_min"),
                test::child<QSpinBox>(w, u"se_ur_o_godz_sec"),
                test::child<QSpinBox>(w, u"se_ur_po_czasie_godz"),
                test::child<QSpinBox>(w, u"se_ur_po_czasie_min"),
                test::child<QSpinBox>(w, u"se_ur_po_czasie_sec")};
    }

private slots:
    void init() { m_world = std::make_unique<test::SetupWindowWorld>(); }

    // Texts that fit

    void everyCaptionFitsItsControl_data()
    {
        QTest::addColumn<int>("larger");
        QTest::newRow("the default font") << 0;
        QTest::newRow("one size larger") << 1;
    }
    void everyCaptionFitsItsControl()
    {
        QFETCH(int, larger);
        const FontChange font(larger);
        const auto w = m_world->makeWindow();
        int checked = 0;
        for (const QWidget *control : w->findChildren<const QWidget *>()) {
            if (!qobject_cast<const QLabel *>(control) &&
                !qobject_cast<const QAbstractButton *>(control) &&
                !qobject_cast<const QGroupBox *>(control))
                continue;
            const QString caption = captionOf(control);
            if (caption.isEmpty() || qobject_cast<const ImageButton *>(control))
                continue;
            const QByteArray what = (control->objectName() + u" \""_qs + caption + u'"').toUtf8();
            const auto *label = qobject_cast<const QLabel *>(control);
            if (label && label->wordWrap()) // its lines, in its height
                QVERIFY2(label->heightForWidth(label->width()) <= label->height(),
                         what.constData());
            else
                QVERIFY2(textWidth(control) <= roomFor(control), what.constData());
            // Nor is it cut by the edge of the panel it lies in.
            if (!control->parentWidget()->layout())
                QVERIFY2(control->parentWidget()->rect().contains(control->geometry()),
                         what.constData());
            ++checked;
        }
        QVERIFY(checked > 30);
    }

    void fieldsSitInTheBlanksOfTheirCaptions()
    {
        const auto w = m_world->makeWindow();
        const QCheckBox *repeat = test::child<QCheckBox>(*w, u"cb_PowtorzAkcje");
        const QFontMetrics metrics = repeat->fontMetrics();
        const int left = checkBoxTextLeft(repeat);
        const QRect field = test::child<QLineEdit>(*w, u"e_CzasPowtorki")->geometry();
        QVERIFY(field.left() >= left + metrics.horizontalAdvance(u"Powtórz akcję po"_qs));
        QVERIFY(field.right() < left + metrics.horizontalAdvance(repeat->text()) -
                                    metrics.horizontalAdvance(u"sec"_qs));

        const QLabel *point = test::child<QLabel>(*w, u"Label17");
        const QFontMetrics pointMetrics = point->fontMetrics();
        const QRect x = test::child<QSpinBox>(*w, u"se_Inne_X_DC")->geometry();
        const QRect y = test::child<QSpinBox>(*w, u"se_Inne_Y_DC")->geometry();
        QVERIFY(x.left() >= point->x() + pointMetrics.horizontalAdvance(u"x ="_qs));
        QVERIFY(x.right() < point->x() + pointMetrics.horizontalAdvance(point->text()) -
                                pointMetrics.horizontalAdvance(u"y = "_qs));
        QVERIFY(y.left() >= point->x() + pointMetrics.horizontalAdvance(point->text()));
        QVERIFY(test::child<QWidget>(*w, u"p_Inne_Klikniecie1")->rect().contains(y));
        QVERIFY(test::child<QWidget>(*w, u"p_Inne_DyskCD")
                    ->rect()
                    .contains(test::child<QComboBox>(*w, u"cd_Inne_DyskCD_WsWy")->geometry()));
    }

    void aTimeRowGreysBothItsColons()
    {
        const auto w = m_world->makeWindow();
        test::child<QRadioButton>(*w, u"rb_ur_po_czasie")->setChecked(true);
        QList<QLabel *> colons;
        for (QLabel *label : test::child<ClockGroupBox>(*w, u"gb1")->findChildren<QLabel *>())
            if (label->text() == u":"_qs)
                colons.append(label);
        QCOMPARE(colons.size(), 4);
        for (const QLabel *colon : colons) {
            const bool clockRow =
                colon->mapTo(test::child<ClockGroupBox>(*w, u"gb1"), QPoint()).y() ==
                test::child<QSpinBox>(*w, u"se_ur_o_godz_godz")->y();
            QCOMPARE(colon->isEnabled(), !clockRow);
        }
    }

    void aChosenOrRestoredTextShowsFromItsStart()
    {
        writeBase(keys::cb_Inne, others::SingleClick.toString());
        const auto w = m_world->makeWindow();
        QCOMPARE(test::child<QComboBox>(*w, u"cb_InneOpcje")->currentText(),
                 others::SingleClick.toString());
        QCOMPARE(test::child<QComboBox>(*w, u"cb_InneOpcje")->lineEdit()->cursorPosition(), 0);
        chooseKind(*w, kinds::Other);
        test::child<QComboBox>(*w, u"cb_InneOpcje")
            ->setCurrentIndex(test::child<QComboBox>(*w, u"cb_InneOpcje")
                                  ->findText(others::DoubleClick.toString()));
        QCOMPARE(test::child<QComboBox>(*w, u"cb_InneOpcje")->lineEdit()->cursorPosition(), 0);
        // Typing is left alone.
        chooseKind(*w, kinds::Message);
        QTest::keyClicks(test::child<QComboBox>(*w, u"cb_Komunikat")->lineEdit(), u"Wstawaj"_qs);
        QCOMPARE(test::child<QComboBox>(*w, u"cb_Komunikat")->currentText(), u"Wstawaj"_qs);
        QCOMPARE(test::child<QComboBox>(*w, u"cb_Komunikat")->lineEdit()->cursorPosition(), 7);
    }

    // Texts in Linux wording over stored identifiers

    void theTableMapsIdentifiersOneToOne()
    {
        QStringList identifiers;
        for (QStringView text : shutdowns::All)
            identifiers.append(text.toString());
        for (QStringView text : others::Listed)
            identifiers.append(text.toString());
        identifiers.append(others::PressKey.toString());
        QStringList shown;
        for (const ShownText &each : ShownTexts) {
            QVERIFY(identifiers.contains(each.stored.toString()));
            QVERIFY(!identifiers.contains(each.shown.toString()));
            QVERIFY(!shown.contains(each.shown.toString()));
            shown.append(each.shown.toString());
            QCOMPARE(storedText(shownText(each.stored)), each.stored.toString());
        }
        for (const QString &identifier : identifiers)
            QCOMPARE(storedText(shownText(identifier)), identifier);
        QCOMPARE(storedText(u"Coś innego"), u"Coś innego"_qs);
    }

    void theListsShowLinuxWording()
    {
        const auto w = m_world->makeWindow();
        const QStringList subActions = items(test::child<QComboBox>(*w, u"cb_InneOpcje"));
        QCOMPARE(subActions.size(), 14);
        QVERIFY(subActions.contains(u"Uruchom menedżer plików"_qs));
        QVERIFY(subActions.contains(u"Uruchom ustawienia systemu"_qs));
        const QStringList shutdownChoices = items(test::child<QComboBox>(*w, u"cb_ZamknijSystem"));
        QCOMPARE(shutdownChoices.size(), 6);
        QVERIFY(shutdownChoices.contains(u"Zamknij system (wyłącz komputer)"_qs));
        for (const QString &text : subActions + shutdownChoices)
            QVERIFY2(!text.contains(u"Windows"_qs) && !text.contains(u"DOS"_qs) &&
                         !text.contains(u"Panel Sterowania"_qs),
                     qPrintable(text));
        // The lists keep their order.
        QVERIFY(subActions.indexOf(u"Uruchom menedżer plików"_qs) ==
                subActions.indexOf(u"Uruchom domyślną przeglądarkę internetową"_qs) + 1);
        QCOMPARE(shutdownChoices.constLast(), u"Zamknij system (wyłącz komputer)"_qs);
    }

    void aShownChoiceArmsAndStoresItsIdentifier_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("previewLine");
        QTest::newRow("file manager") << u"Uruchom menedżer plików"_qs
                                      << others::Explorer.toString() << u"OpenFileManager"_qs;
        QTest::newRow("settings") << u"Uruchom ustawienia systemu"_qs
                                  << others::ControlPanel.toString() << u"OpenControlPanel"_qs;
        QTest::newRow("typed identifier")
            << others::Explorer.toString() << others::Explorer.toString() << u"OpenFileManager"_qs;
    }
    void aShownChoiceArmsAndStoresItsIdentifier()
    {
        QFETCH(QString, shown);
        QFETCH(QString, stored);
        QFETCH(QString, previewLine);
        const auto w = m_world->makeWindow();
        chooseKind(*w, kinds::Other);
        test::child<QComboBox>(*w, u"cb_InneOpcje")->setEditText(shown);
        QVERIFY(test::child<ImageButton>(*w, u"ib_Start")->isEnabled());
        m_world->recorder->clear(); // the window's creation asked for the screen size
        test::child<QPushButton>(*w, u"cb_Podglad")->click();
        QCOMPARE(m_world->recorder->lines(), QStringList{previewLine});
        w->ib_StartClick();
        QCOMPARE(m_world->host.armed.MainParam, stored);
        QCOMPARE(readBase(keys::cb_Inne), stored);
    }

    void aStoredIdentifierIsShownInLinuxWording()
    {
        writeBase(keys::LastAction, kinds::Shutdown.toString());
        writeBase(keys::cb_Reboot, shutdowns::ShutDown.toString());
        writeBase(keys::cb_Inne, others::ControlPanel.toString());
        const auto w = m_world->makeWindow();
        QCOMPARE(test::child<QComboBox>(*w, u"cb_ZamknijSystem")->currentText(),
                 u"Zamknij system (wyłącz komputer)"_qs);
        QCOMPARE(test::child<QComboBox>(*w, u"cb_InneOpcje")->currentText(),
                 u"Uruchom ustawienia systemu"_qs);
        QVERIFY(test::child<ImageButton>(*w, u"ib_Start")->isEnabled());
        w->ib_StartClick();
        QCOMPARE(m_world->host.armed.MainParam, shutdowns::ShutDown.toString());
        QCOMPARE(readBase(keys::cb_Reboot), shutdowns::ShutDown.toString());
    }

    void shownTextsAreSpelledRight()
    {
        const auto w = m_world->makeWindow();
        for (const QLabel *label :
             {test::child<QLabel>(*w, u"Label8"), test::child<QLabel>(*w, u"Label9"),
              test::child<QLabel>(*w, u"Label10")})
            QVERIFY2(label->text().startsWith(u"Wskaż ścieżkę do "_qs), qPrintable(label->text()));
        for (const QSpinBox *field : timeFields(*w)) {
            QVERIFY(field->toolTip().contains(u"Należy podać godzinę, minutę i sekundę"_qs));
            QVERIFY(!field->toolTip().contains(u"dogzinę"_qs));
        }
        m_world->host.ticking = true;
        m_world->recorder->script(u"MessageBox"_qs, u"7"_qs); // No
        test::child<ImageButton>(*w, u"ib_Koniec")->click();
        const QString question = m_world->recorder->lines().constLast();
        QVERIFY(question.contains(u"czas ustawiony przez użytkownika."_qs));
        QVERIFY(question.contains(u"Czy mam mimo to zamknąć program ???"_qs));
    }

    // Digits only

    void timeFieldsTakeDigitsOnly_data()
    {
        QTest::addColumn<int>("field");
        for (int i = 0; i < 6; ++i)
            QTest::newRow(QByteArray::number(i).constData()) << i;
    }
    void timeFieldsTakeDigitsOnly()
    {
        QFETCH(int, field);
        const auto w = m_world->makeWindow();
        test::child<QRadioButton>(*w, u"rb_ur_po_czasie")->setChecked(field >= 3);
        QSpinBox *spin = timeFields(*w).at(std::size_t(field));
        QVERIFY(spin->isEnabled());
        spin->selectAll();
        QTest::keyClicks(spin, u"+1a:-"_qs);
        QCOMPARE(spin->text(), u"1"_qs);
        QTest::keyClick(spin, Qt::Key_Backspace);
        QCOMPARE(spin->text(), QString());
        for (const QString &pasted : {u"+7"_qs, u"x7y"_qs, u" 7"_qs}) {
            QApplication::clipboard()->setText(pasted);
            QTest::keyClick(spin, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(spin->text(), QString());
        }
        QApplication::clipboard()->setText(u"12"_qs);
        QTest::keyClick(spin, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(spin->text(), u"12"_qs);
        QCOMPARE(spin->value(), 12);
    }

    void theRepeatFieldTakesDigitsOnlyAndStartGoesThrough()
    {
        const auto w = m_world->makeWindow();
        chooseKind(*w, kinds::OpenWebPage);
        test::child<QLineEdit>(*w, u"e_WWW")->setText(u"www.example.pl"_qs);
        test::child<QCheckBox>(*w, u"cb_PowtorzAkcje")->setChecked(true);
        test::child<QLineEdit>(*w, u"e_CzasPowtorki")->clear();
        QTest::keyClicks(test::child<QLineEdit>(*w, u"e_CzasPowtorki"), u"+4a 5-"_qs);
        QCOMPARE(test::child<QLineEdit>(*w, u"e_CzasPowtorki")->text(), u"45"_qs);
        QApplication::clipboard()->setText(u"x7y"_qs);
        QTest::keyClick(test::child<QLineEdit>(*w, u"e_CzasPowtorki"), Qt::Key_V,
                        Qt::ControlModifier);
        QCOMPARE(test::child<QLineEdit>(*w, u"e_CzasPowtorki")->text(), u"45"_qs);
        test::child<QLineEdit>(*w, u"e_CzasPowtorki")->paste(); // as the context menu pastes
        QCOMPARE(test::child<QLineEdit>(*w, u"e_CzasPowtorki")->text(), u"45"_qs);
        test::child<QLineEdit>(*w, u"e_CzasPowtorki")->selectAll();
        QApplication::clipboard()->setText(u"30"_qs);
        QTest::keyClick(test::child<QLineEdit>(*w, u"e_CzasPowtorki"), Qt::Key_V,
                        Qt::ControlModifier);
        QCOMPARE(test::child<QLineEdit>(*w, u"e_CzasPowtorki")->text(), u"30"_qs);
        // Nine digits at most, so that the number always fits.
        auto *repeat = test::child<QLineEdit>(*w, u"e_CzasPowtorki");
        repeat->clear();
        QTest::keyClicks(repeat, u"1234567890"_qs);
        QCOMPARE(repeat->text(), u"123456789"_qs);
        repeat->setText(u"30"_qs);
        w->ib_StartClick();
        QVERIFY(m_world->host.ticking);
        QCOMPARE(m_world->host.armed.RepeatSeconds, 30);
    }

    // Hints and a screen reader

    void hintsShowAlsoWhileAnotherWindowIsActive()
    {
        const auto w = m_world->makeWindow();
        QVERIFY(w->testAttribute(Qt::WA_AlwaysShowToolTips));
    }

    void eachInputIsNamedAfterItsOwnCaption()
    {
        const auto w = m_world->makeWindow();
        const std::pair<QWidget *, QString> inputs[] = {
            {test::child<QSpinBox>(*w, u"se_ur_o_godz_godz"), u"Godzina alarmu: godziny"_qs},
            {test::child<QSpinBox>(*w, u"se_ur_o_godz_min"), u"Godzina alarmu: minuty"_qs},
            {test::child<QSpinBox>(*w, u"se_ur_o_godz_sec"), u"Godzina alarmu: sekundy"_qs},
            {test::child<QSpinBox>(*w, u"se_ur_po_czasie_godz"), u"Odliczanie w dół: godziny"_qs},
            {test::child<QSpinBox>(*w, u"se_ur_po_czasie_min"), u"Odliczanie w dół: minuty"_qs},
            {test::child<QSpinBox>(*w, u"se_ur_po_czasie_sec"), u"Odliczanie w dół: sekundy"_qs},
            {test::child<QLineEdit>(*w, u"e_CzasPowtorki"), u"Powtórz akcję po: sekundy"_qs},
            {test::child<QComboBox>(*w, u"cb_Typ_Alarmu"), u"Rodzaj alarmu"_qs},
            {test::child<QComboBox>(*w, u"cb_Komunikat"), u"Podaj treść komunikatu"_qs},
            {test::child<QComboBox>(*w, u"cb_Caption"), u"Napis na pasku tytułowym"_qs},
            {test::child<FileNameEdit>(*w, u"fne_PlikWAV")->edit(),
             u"Wybierz dźwięk do odegrania"_qs},
            {test::child<QComboBox>(*w, u"cb_ZamknijSystem"), u"Wybierz odpowiednią opcję"_qs},
            {test::child<FileNameEdit>(*w, u"fne_PlikEXE")->edit(),
             u"Wskaż ścieżkę do programu"_qs},
            {test::child<FileNameEdit>(*w, u"fne_Plik")->edit(), u"Wskaż ścieżkę do pliku"_qs},
            {test::child<FileNameEdit>(*w, u"de_Foldery")->edit(), u"Wskaż ścieżkę do folderu"_qs},
            {test::child<QLineEdit>(*w, u"e_WWW"), u"Wskaż adres strony WWW"_qs},
            {test::child<QComboBox>(*w, u"cb_InneOpcje"),
             u"Wybierz jedną z poniższych możliwości"_qs},
            {test::child<QComboBox>(*w, u"cb_Klawisze"),
             u"Jaki klawisz (lub kombinację) mam zasymulować"_qs},
            {test::child<QSpinBox>(*w, u"se_Inne_X_DC"), u"Punkt kliknięcia: x"_qs},
            {test::child<QSpinBox>(*w, u"se_Inne_Y_DC"), u"Punkt kliknięcia: y"_qs},
            {test::child<QComboBox>(*w, u"cb_Inne_DyskCD"), u"Litera dysku"_qs},
            {test::child<QComboBox>(*w, u"cd_Inne_DyskCD_WsWy"), u"Operacja"_qs},
        };
        test::child<QComboBox>(*w, u"cd_Inne_DyskCD_WsWy")
            ->setEditText(QString()); // no text: its own name
        for (const auto &[input, name] : inputs)
            QCOMPARE(readerName(input), name);
        QVERIFY(!accessibleName(test::child<QSpinBox>(*w, u"se_ur_o_godz_godz"))
                     .contains(u"W tej chwili"_qs));
    }

    void eachImageButtonIsNamedByItsHint()
    {
        const auto w = m_world->makeWindow();
        for (ImageButton *button :
             {test::child<ImageButton>(*w, u"ib_Start"), test::child<ImageButton>(*w, u"ib_Stop"),
              test::child<ImageButton>(*w, u"ib_Minimalizuj"),
              test::child<ImageButton>(*w, u"ib_Koniec"), test::child<ImageButton>(*w, u"ib_Opcje"),
              test::child<ImageButton>(*w, u"ib_About")}) {
            QVERIFY(!button->toolTip().isEmpty());
            QCOMPARE(accessibleName(button), button->toolTip());
        }
        QVERIFY(!accessibleName(test::child<ImageButton>(*w, u"ib_WWW")).isEmpty());
        QVERIFY(!accessibleName(test::child<ImageButton>(*w, u"ib_Mail")).isEmpty());
    }
};

QTEST_MAIN(TestSetupTexts)
#include "tst_setuptexts.moc"
