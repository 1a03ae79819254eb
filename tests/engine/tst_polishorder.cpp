#include "engine/PolishOrder.h"

#include <QStringList>
#include <QTest>

#include <algorithm>

using namespace tockwell;

class TestPolishOrder : public QObject
{
    Q_OBJECT

private slots:
    // Each pair: the first sorts strictly before the second, and never the other way round.
    void before_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        const QString alphabet = u"aąbcćdeęfghijklłmnńoópqrsśtuvwxyzźż"_qs;
        for (qsizetype i = 0; i + 1 < alphabet.size(); ++i)
            QTest::addRow("%s < %s", QString(alphabet[i]).toUtf8().constData(),
                          QString(alphabet[i + 1]).toUtf8().constData())
                << QString(alphabet[i]) << QString(alphabet[i + 1]);
        QTest::newRow("upper-case letters in the same places") << u"Ą"_qs << u"B"_qs;
        QTest::newRow("Ł after L, also when upper case") << u"Lwów"_qs << u"Łódź"_qs;
        QTest::newRow("case is ignored before the letters") << u"Zebra"_qs << u"żaba"_qs;
        QTest::newRow("lower case first when otherwise equal") << u"kot"_qs << u"Kot"_qs;
        QTest::newRow("lower case first, Polish letters") << u"źle"_qs << u"Źle"_qs;
        QTest::newRow("a letter decides before case") << u"Ala"_qs << u"alb"_qs;
        QTest::newRow("empty first") << QString() << u" "_qs;
        QTest::newRow("empty before a letter") << QString() << u"a"_qs;
        QTest::newRow("a prefix first") << u"Pobudka"_qs << u"Pobudka!"_qs;
        QTest::newRow("space before punctuation") << u"a b"_qs << u"a-b"_qs;
        QTest::newRow("punctuation before digits") << u"!"_qs << u"0"_qs;
        QTest::newRow("digits before letters") << u"9"_qs << u"a"_qs;
        QTest::newRow("digits by value, one at a time") << u"10 min"_qs << u"2 min"_qs;
        QTest::newRow("symbols before digits") << u"+"_qs << u"1"_qs;
        QTest::newRow("ó after o and before p") << u"ok"_qs << u"ósmy"_qs;
        QTest::newRow("an accent outside the alphabet with its base letter")
            << u"café"_qs << u"cafg"_qs;
        QTest::newRow("an accent outside the alphabet after the bare letter")
            << u"cafe"_qs << u"café"_qs;
        QTest::newRow("ą is a letter of its own, not a with an accent") << u"az"_qs << u"ąa"_qs;
        QTest::newRow("other scripts after the alphabet") << u"żuk"_qs << u"α"_qs;
    }
    void before()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QVERIFY(comparePolish(first, second) < 0);
        QVERIFY(comparePolish(second, first) > 0);
        QVERIFY(polishLess(first, second));
        QVERIFY(!polishLess(second, first));
    }

    void equalOnlyToItself()
    {
        const QStringList texts = {QString(),      u"a"_qs,   u"A"_qs,    u"á"_qs, u"Á"_qs,
                                   u"a\u00a0b"_qs, u"a b"_qs, u"a\tb"_qs, u"١"_qs, u"1"_qs};
        for (const QString &a : texts)
            for (const QString &b : texts)
                QCOMPARE(comparePolish(a, b) == 0, a == b);
    }

    void sortsOrdinaryMessages()
    {
        QStringList texts = {u"Śniadanie"_qs,  u"zadzwoń do mamy"_qs,
                             u"Żelazko!"_qs,   u"ćwiczenia"_qs,
                             u"Coś"_qs,        u"2 tabletki"_qs,
                             u"łyżka"_qs,      u"Lekarz"_qs,
                             u"Ósma"_qs,       u"obiad"_qs,
                             u""_qs,           u"Źródło"_qs,
                             u"ąb"_qs,         u"Azor"_qs,
                             u"10 tabletek"_qs};
        std::sort(texts.begin(), texts.end(), polishLess);
        const QStringList expected = {
            u""_qs,     u"10 tabletek"_qs, u"2 tabletki"_qs,      u"Azor"_qs,   u"ąb"_qs,
            u"Coś"_qs,  u"ćwiczenia"_qs,   u"Lekarz"_qs,          u"łyżka"_qs,  u"obiad"_qs,
            u"Ósma"_qs, u"Śniadanie"_qs,   u"zadzwoń do mamy"_qs, u"Źródło"_qs, u"Żelazko!"_qs};
        QCOMPARE(texts, expected);
    }
};

QTEST_GUILESS_MAIN(TestPolishOrder)
#include "tst_polishorder.moc"
