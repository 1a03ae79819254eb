#include "core/Error.h"
#include "engine/ErrorBox.h"
#include "platform/recording/RecordingPlatform.h"

#include <QTest>

#include <stdexcept>

using namespace tockwell;
using platform::Recorder;

class TestErrorBox : public QObject
{
    Q_OBJECT

private slots:
    void fullStopAddedAfterCharactersSortingAfterIt_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << u"Access denied"_qs << u"Access denied."_qs;
        QTest::newRow("store error ends in a quote")
            << u"Failed to set data for 'O_ZA'"_qs << u"Failed to set data for 'O_ZA'"_qs;
        QTest::newRow("full stop") << u"Done."_qs << u"Done."_qs;
        QTest::newRow("exclamation sorts before") << u"BŁĄD !!!"_qs << u"BŁĄD !!!"_qs;
        QTest::newRow("colon sorts after") << u"Code:"_qs << u"Code:."_qs;
        QTest::newRow("closing parenthesis sorts before") << u"(x)"_qs << u"(x)"_qs;
        QTest::newRow("line break") << u"Code: 5.\r\n"_qs << u"Code: 5.\r\n"_qs;
        QTest::newRow("Polish letter") << u"Błąd zapisu: ź"_qs << u"Błąd zapisu: ź."_qs;
        QTest::newRow("digit") << u"Code 5"_qs << u"Code 5."_qs;
        QTest::newRow("slash") << u"a/"_qs << u"a/."_qs;
        QTest::newRow("empty") << QString() << QString();
    }
    void fullStopAddedAfterCharactersSortingAfterIt()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(errorBoxText(text), shown);
    }

    void guardShowsTheStandardBoxAndSwallowsTheError()
    {
        auto recorder = std::make_shared<Recorder>();
        auto platform = platform::makeRecordingPlatform(recorder);
        bool after = false;
        guarded(platform->dialogs(), [] { throw SystemError(50, u"Not supported"_qs); });
        guarded(platform->dialogs(), [] { throw std::runtime_error("plain"); });
        guarded(platform->dialogs(), [&] { after = true; });
        QVERIFY(after);
        QCOMPARE(
            recorder->lines(),
            (QStringList{
                u"MessageBox \"System Error.  Code: 50.\\r\\nNot supported.\" \"Tockwell\" 0x10 -> 1"_qs,
                u"MessageBox \"plain.\" \"Tockwell\" 0x10 -> 1"_qs}));
    }
};

QTEST_GUILESS_MAIN(TestErrorBox)
#include "tst_errorbox.moc"
