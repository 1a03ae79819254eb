#include "core/ArmedAlarm.h"
#include "core/Error.h"

#include <QTest>

using namespace tockwell;

class TestAlarmParams : public QObject
{
    Q_OBJECT

private slots:
    void messageSplitsAtFirstPilcrow_data()
    {
        QTest::addColumn<QString>("param");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        QTest::newRow("plain") << u"UWAGA !!!¶Już czas"_qs << u"UWAGA !!!"_qs << u"Już czas"_qs;
        QTest::newRow("pilcrow in title") << u"A¶B¶Już czas"_qs << u"A"_qs << u"B¶Już czas"_qs;
        QTest::newRow("empty parts") << u"¶"_qs << QString() << QString();
        QTest::newRow("no separator") << u"tylko tytuł"_qs << u"tylko tytuł"_qs << QString();
    }
    void messageSplitsAtFirstPilcrow()
    {
        QFETCH(QString, param);
        QFETCH(QString, title);
        QFETCH(QString, message);
        const auto [gotTitle, gotMessage] = splitMessageParam(param);
        QCOMPARE(gotTitle, title);
        QCOMPARE(gotMessage, message);
    }

    void messageJoinRoundTrips()
    {
        QCOMPARE(joinMessageParam(u"UWAGA !!!"_qs, u"Już czas"_qs), u"UWAGA !!!¶Już czas"_qs);
        const auto [title, text] = splitMessageParam(joinMessageParam(u"T"_qs, u"a¶b"_qs));
        QCOMPARE(title, u"T"_qs);
        QCOMPARE(text, u"a¶b"_qs);
    }

    void clickPointText()
    {
        QCOMPARE(clickPointParam(0, 0), u"0;0"_qs);
        QCOMPARE(clickPointParam(640, 480), u"640;480"_qs);
        QCOMPARE(parseClickPoint(u"100;200"_qs), QPoint(100, 200));
        QCOMPARE(parseClickPoint(u"-5;7"_qs), QPoint(-5, 7));
    }

    void malformedClickPointIsAConversionError_data()
    {
        QTest::addColumn<QString>("param");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << QString() << u"'' is not a valid integer value"_qs;
        QTest::newRow("key text") << u"[ALT + F4]"_qs
                                  << u"'[ALT + F4]' is not a valid integer value"_qs;
        QTest::newRow("no y") << u"10;"_qs << u"'' is not a valid integer value"_qs;
        QTest::newRow("two separators") << u"1;2;3"_qs << u"'2;3' is not a valid integer value"_qs;
    }
    void malformedClickPointIsAConversionError()
    {
        QFETCH(QString, param);
        QFETCH(QString, message);
        try {
            parseClickPoint(param);
            QFAIL("no error");
        } catch (const ConvertError &e) {
            QCOMPARE(e.text(), message);
        }
    }

    void cdTrayText()
    {
        QCOMPARE(cdTrayParam(u"D"_qs, u"WYSUŃ"_qs), u"D;1"_qs);
        QCOMPARE(cdTrayParam(u"E"_qs, u"wsuń"_qs), u"E;0"_qs);
        QCOMPARE(cdTrayParam(u"D"_qs, u"Wysuń"_qs), u"D;1"_qs);
        QVERIFY(!cdTrayParam(u"D"_qs, u"otwórz"_qs));

        const CdTrayRequest open = parseCdTrayParam(u"D;1"_qs);
        QCOMPARE(open.drive, u"D"_qs);
        QCOMPARE(open.operation, u"1"_qs);
        const CdTrayRequest shortText = parseCdTrayParam(u"D"_qs);
        QCOMPARE(shortText.drive, u"D"_qs);
        QCOMPARE(shortText.operation, QString());
        QCOMPARE(parseCdTrayParam(QString()).drive, QString());
    }

    void countdownTotals_data()
    {
        QTest::addColumn<int>("hours");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("total"); // 0 = refused
        QTest::newRow("1:70:5") << 1 << 70 << 5 << 7805;
        QTest::newRow("bare seconds") << 0 << 0 << 90 << 90;
        QTest::newRow("one second") << 0 << 0 << 1 << 1;
        QTest::newRow("zero") << 0 << 0 << 0 << 0;
        QTest::newRow("negative total") << 0 << 1 << -61 << 0;
        QTest::newRow("negative field, positive total") << 1 << -1 << 0 << 3540;
        QTest::newRow("largest") << 0 << 0 << std::numeric_limits<int>::max()
                                 << std::numeric_limits<int>::max();
        QTest::newRow("hours overflow 32 bits") << 600000 << 59 << 59 << 0;
        QTest::newRow("sum overflows") << 596523 << 14 << 8 << 0; // 2^31 exactly
        QTest::newRow("just below 2^31") << 596523 << 14 << 7 << std::numeric_limits<int>::max();
        QTest::newRow("huge negative") << std::numeric_limits<int>::min() << 0 << 0 << 0;
    }
    void countdownTotals()
    {
        QFETCH(int, hours);
        QFETCH(int, minutes);
        QFETCH(int, seconds);
        QFETCH(int, total);
        QCOMPARE(countdownTotal(hours, minutes, seconds).value_or(0), total);
    }

    void parseIntegerReadsWholeNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("value");
        QTest::newRow("digits") << u"30"_qs << true << 30;
        QTest::newRow("leading blanks") << u"  7"_qs << true << 7;
        QTest::newRow("sign") << u"-12"_qs << true << -12;
        QTest::newRow("plus") << u"+12"_qs << true << 12;
        QTest::newRow("min") << u"-2147483648"_qs << true << std::numeric_limits<int>::min();
        QTest::newRow("max") << u"2147483647"_qs << true << std::numeric_limits<int>::max();
        QTest::newRow("too big") << u"2147483648"_qs << false << 0;
        QTest::newRow("very long") << u"99999999999999999999999"_qs << false << 0;
        QTest::newRow("empty") << QString() << false << 0;
        QTest::newRow("sign only") << u"-"_qs << false << 0;
        QTest::newRow("trailing blank") << u"7 "_qs << false << 0;
        QTest::newRow("letters") << u"12a"_qs << false << 0;
        QTest::newRow("arabic-indic digits") << u"٣"_qs << false << 0;
    }
    void parseIntegerReadsWholeNumbers()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(int, value);
        if (valid) {
            QCOMPARE(parseInteger(text), value);
        } else {
            QVERIFY_THROWS_EXCEPTION(ConvertError, parseInteger(text));
        }
    }

    // Kinds and choices are stored and compared as their texts: each text selects one of them.
    void eachStoredTextSelectsOneChoice()
    {
        const auto texts = [](const auto &list) {
            QStringList all;
            for (const QStringView text : list)
                all << text.toString();
            return all;
        };
        for (QStringList list : {texts(kinds::All), texts(shutdowns::All), texts(others::Listed)}) {
            QVERIFY(!list.contains(QString()));
            QCOMPARE(list.removeDuplicates(), 0);
        }
    }
};

QTEST_GUILESS_MAIN(TestAlarmParams)
#include "tst_alarmparams.moc"
