#include "settings/TimeEntry.h"

#include <QTest>

using namespace tockwell;

Q_DECLARE_METATYPE(std::optional<TimeParts>)

namespace {
std::optional<TimeParts> parts(int h, int m, int s)
{
    return TimeParts{h, m, s};
}
const std::optional<TimeParts> Fails;
} // namespace

class TestTimeEntry : public QObject
{
    Q_OBJECT

private slots:
    void clockTime_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<TimeParts>>("expected");
        QTest::newRow("seeded form") << u"07:00:00"_qs << parts(7, 0, 0);
        QTest::newRow("start's form") << u"7:5:0"_qs << parts(7, 5, 0);
        QTest::newRow("no seconds") << u"23:59"_qs << parts(23, 59, 0);
        QTest::newRow("last second") << u"23:59:59"_qs << parts(23, 59, 59);
        QTest::newRow("hour 24") << u"24:00:00"_qs << Fails;
        QTest::newRow("minute 60") << u"12:60"_qs << Fails;
        QTest::newRow("second 60") << u"12:00:60"_qs << Fails;
        QTest::newRow("hours only") << u"12"_qs << Fails;
        QTest::newRow("four parts") << u"1:2:3:4"_qs << Fails;
        QTest::newRow("empty part") << u"1::3"_qs << Fails;
        QTest::newRow("sign") << u"-1:00"_qs << Fails;
        QTest::newRow("letters") << u"1a:00"_qs << Fails;
        QTest::newRow("empty") << QString() << Fails;
    }
    void clockTime()
    {
        QFETCH(QString, text);
        QFETCH(std::optional<TimeParts>, expected);
        QCOMPARE(clockTimeFromText(text), expected);
    }

    void countdown_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<TimeParts>>("expected");
        QTest::newRow("seeded form") << u"00:01:00"_qs << parts(0, 1, 0);
        QTest::newRow("no upper bound") << u"90:75:3600"_qs << parts(90, 75, 3600);
        QTest::newRow("fourth part ignored") << u"1:2:3:4"_qs << parts(1, 2, 3);
        QTest::newRow("fourth part not checked") << u"1:2:3:x"_qs << parts(1, 2, 3);
        QTest::newRow("seconds missing") << u"1:2"_qs << Fails;
        QTest::newRow("seconds empty") << u"1:2:"_qs << Fails;
        QTest::newRow("hours empty") << u":2:3"_qs << Fails;
        QTest::newRow("not a number") << u"1:x:3"_qs << Fails;
        QTest::newRow("negative") << u"0:-1:0"_qs << Fails;
        QTest::newRow("beyond 32 bits") << u"0:0:4294967296"_qs << Fails;
        QTest::newRow("empty") << QString() << Fails;
    }
    void countdown()
    {
        QFETCH(QString, text);
        QFETCH(std::optional<TimeParts>, expected);
        QCOMPARE(countdownFromText(text), expected);
    }

    void entryTextHasNoLeadingZeros()
    {
        QCOMPARE(timeEntryText(7, 5, 0), u"7:5:0"_qs);
        QCOMPARE(timeEntryText(0, 0, 0), u"0:0:0"_qs);
        QCOMPARE(countdownFromText(timeEntryText(100, 0, 9)), parts(100, 0, 9));
    }
};

QTEST_GUILESS_MAIN(TestTimeEntry)
#include "tst_timeentry.moc"
