#include "engine/KeyCombination.h"
#include "ui/setup/OtherActionTexts.h"

#include <QTest>

using namespace tockwell;
using platform::KeyCombination;

namespace {

// X keysyms, named as X names them without the underscore (XK_Control_L: ControlL).
enum : quint32
{
    ControlL = 0xffe3,
    ShiftL = 0xffe1,
    AltL = 0xffe9,
    Delete = 0xffff,
    F4 = 0xffc1,
    F5 = 0xffc2,
    F12 = 0xffc9,
    Down = 0xff54,
    Next = 0xff56,
    Escape = 0xff1b,
};

} // namespace

class TestKeyCombination : public QObject
{
    Q_OBJECT

private slots:
    void everyListedTextStandsForAKey_data()
    {
        QTest::addColumn<QString>("text");
        for (const QStringView text : KeyTexts)
            QTest::newRow(text.toUtf8().constData()) << text.toString();
    }
    void everyListedTextStandsForAKey()
    {
        QFETCH(QString, text);
        const std::optional<KeyCombination> keys = keyCombination(text);
        QVERIFY2(keys.has_value(), "the text maps to no key");
        QVERIFY(keys->key != 0);
    }

    void mappings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<quint32>>("modifiers");
        QTest::addColumn<quint32>("key");
        using Mods = QList<quint32>;
        QTest::newRow("alt f4") << u"[ALT + F4]"_qs << Mods{AltL} << quint32(F4);
        QTest::newRow("copy") << u"[CTRL+C] Kopiuj"_qs << Mods{ControlL} << quint32('c');
        QTest::newRow("cut") << u"[SHIFT + DELETE] Wytniej"_qs << Mods{ShiftL} << quint32(Delete);
        QTest::newRow("three keys")
            << u"[ALT + CTRL + DELETE]"_qs << Mods{AltL, ControlL} << quint32(Delete);
        QTest::newRow("capital letter") << u"A"_qs << Mods{} << quint32('A');
        QTest::newRow("bracket alone") << u"["_qs << Mods{} << quint32('[');
        QTest::newRow("arrow") << u"[Strzałka w dół]"_qs << Mods{} << quint32(Down);
        QTest::newRow("modifier alone") << u"[CTRL]"_qs << Mods{} << quint32(ControlL);
        QTest::newRow("space") << u"[CTRL + Spacja]"_qs << Mods{ControlL} << quint32(' ');
        QTest::newRow("page down") << u"[Page Down]"_qs << Mods{} << quint32(Next);
        QTest::newRow("F12") << u"[F12]"_qs << Mods{} << quint32(F12);
        // Typed texts of the same form.
        QTest::newRow("typed, any case")
            << u"[ctrl + shift + f5] Odśwież"_qs << Mods{ControlL, ShiftL} << quint32(F5);
        QTest::newRow("typed, no blanks") << u"[SHIFT+esc]"_qs << Mods{ShiftL} << quint32(Escape);
        QTest::newRow("plus key") << u"[CTRL + +]"_qs << Mods{ControlL} << quint32('+');
        QTest::newRow("plus alone") << u"[+]"_qs << Mods{} << quint32('+');
        QTest::newRow("polish letter") << u"ą"_qs << Mods{} << quint32(0x1000105);
        QTest::newRow("polish letter's key")
            << u"[SHIFT + Ł]"_qs << Mods{ShiftL} << quint32(0x1000142);
    }
    void mappings()
    {
        QFETCH(QString, text);
        QFETCH(QList<quint32>, modifiers);
        QFETCH(quint32, key);
        QCOMPARE(keyCombination(text), (KeyCombination{modifiers, key}));
    }

    // Such a text leaves Start disabled; the field's hint says why.
    void textsForNoKey_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("why");
        const QString takes = u": wpisz jeden znak albo kombinację w nawiasach kwadratowych, "
                              "np. [CTRL + S]."_qs;
        QTest::newRow("empty") << QString() << u"Nie podano klawisza"_qs + takes;
        QTest::newRow("two characters")
            << u"ab"_qs << u"Kilka znaków to nie jeden klawisz"_qs + takes;
        QTest::newRow("text before")
            << u"Kopiuj [CTRL + C]"_qs << u"Kilka znaków to nie jeden klawisz"_qs + takes;
        QTest::newRow("control character")
            << u"\t"_qs << u"Tego znaku nie można nacisnąć"_qs + takes;
        const QString unknown = u": wybierz klawisz z listy albo wpisz jeden znak."_qs;
        QTest::newRow("unknown name") << u"[PAUZA]"_qs << u"Nie znam klawisza „PAUZA”"_qs + unknown;
        QTest::newRow("no such F key") << u"[F13]"_qs << u"Nie znam klawisza „F13”"_qs + unknown;
        QTest::newRow("F key with zero") << u"[F04]"_qs << u"Nie znam klawisza „F04”"_qs + unknown;
        QTest::newRow("empty key") << u"[CTRL+]"_qs << u"Po ostatnim „+” brakuje klawisza."_qs;
        QTest::newRow("empty brackets") << u"[]"_qs << u"Między nawiasami nie podano klawisza."_qs;
        QTest::newRow("not closed") << u"[CTRL + C"_qs << u"Brakuje nawiasu zamykającego „]”."_qs;
        const QString modifiers = u" nie jest klawiszem modyfikującym: przed „+” może stać ALT, "
                                  "CTRL lub SHIFT."_qs;
        QTest::newRow("key as modifier") << u"[A + B]"_qs << u"„A”"_qs + modifiers;
        QTest::newRow("unknown modifier") << u"[WIN + E]"_qs << u"„WIN”"_qs + modifiers;
        QTest::newRow("modifier twice")
            << u"[CTRL + CTRL + C]"_qs << u"Klawisz „CTRL” powtarza się w kombinacji."_qs;
    }
    void textsForNoKey()
    {
        QFETCH(QString, text);
        QFETCH(QString, why);
        QCOMPARE(keyCombination(text), std::nullopt);
        QCOMPARE(keyTextFault(text), why);
        QCOMPARE(keyTextFault(u"[CTRL + ą]"), QString()); // a text with keys has no fault
    }
};

QTEST_GUILESS_MAIN(TestKeyCombination)
#include "tst_keycombination.moc"
