#include "app/QtPlatformChoice.h"

#include <QHash>
#include <QTest>

using namespace tockwell;

class TestQtPlatformChoice : public QObject
{
    Q_OBJECT

private slots:
    void choice_data()
    {
        QTest::addColumn<QString>("sessionType");
        QTest::addColumn<QString>("waylandDisplay");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("chosenByUser");
        QTest::addColumn<QString>("result"); // empty: Qt decides
        QTest::newRow("X11 session")
            << u"x11"_qs << QString() << u":0"_qs << QString() << QString();
        QTest::newRow("Wayland with XWayland")
            << u"wayland"_qs << u"wayland-0"_qs << u":0"_qs << QString() << u"xcb"_qs;
        QTest::newRow("Wayland display alone")
            << QString() << u"wayland-0"_qs << u":1"_qs << QString() << u"xcb"_qs;
        QTest::newRow("Wayland without XWayland")
            << u"wayland"_qs << u"wayland-0"_qs << QString() << QString() << QString();
        QTest::newRow("the user's own choice")
            << u"wayland"_qs << u"wayland-0"_qs << u":0"_qs << u"wayland"_qs << QString();
        QTest::newRow("offscreen tests")
            << u"wayland"_qs << QString() << u":0"_qs << u"offscreen"_qs << QString();
    }
    void choice()
    {
        QFETCH(QString, sessionType);
        QFETCH(QString, waylandDisplay);
        QFETCH(QString, display);
        QFETCH(QString, chosenByUser);
        QFETCH(QString, result);
        const QHash<QByteArray, QByteArray> environment{
            {"XDG_SESSION_TYPE", sessionType.toUtf8()},
            {"WAYLAND_DISPLAY", waylandDisplay.toUtf8()},
            {"DISPLAY", display.toUtf8()},
            {"QT_QPA_PLATFORM", chosenByUser.toUtf8()}};
        const auto chosen =
            preferredQtPlatform([&](const char *name) { return environment.value(name); });
        QCOMPARE(QString::fromUtf8(chosen.value_or(QByteArray())), result);
    }

    // The choice goes on the command line, never into the environment the children inherit.
    void choiceIsAnArgument_data()
    {
        QTest::addColumn<QByteArray>("platform"); // empty: none chosen
        QTest::addColumn<QByteArrayList>("expected");
        QTest::newRow("none") << QByteArray() << QByteArrayList{"tockwell", "-x"};
        QTest::newRow("xcb") << QByteArray("xcb")
                             << QByteArrayList{"tockwell", "-x", "-platform", "xcb"};
    }
    void choiceIsAnArgument()
    {
        QFETCH(QByteArray, platform);
        QFETCH(QByteArrayList, expected);
        QByteArray program("tockwell"), option("-x");
        char *argv[] = {program.data(), option.data(), nullptr};
        const QByteArray before = qgetenv("QT_QPA_PLATFORM");
        QtArguments arguments(2, argv, platform.isEmpty() ? std::nullopt : std::optional(platform));
        QByteArrayList texts;
        for (int i = 0; i < arguments.argc(); ++i)
            texts << arguments.argv()[i];
        QCOMPARE(texts, expected);
        QCOMPARE(arguments.argv()[arguments.argc()], nullptr);
        QCOMPARE(qgetenv("QT_QPA_PLATFORM"), before);
    }

    void startEnvironmentLastsAsLongAsItsObject_data()
    {
        QTest::addColumn<std::optional<QByteArray>>("users");
        QTest::newRow("unset") << std::optional<QByteArray>();
        QTest::newRow("the user's") << std::optional<QByteArray>("0");
        QTest::newRow("empty") << std::optional<QByteArray>("");
    }
    void startEnvironmentLastsAsLongAsItsObject()
    {
        QFETCH(std::optional<QByteArray>, users);
        constexpr const char *name = "TOCKWELL_TEST_START_VARIABLE";
        if (users)
            qputenv(name, *users);
        else
            qunsetenv(name);
        {
            const QtStartEnvironment scope(name, "1");
            QCOMPARE(qgetenv(name), users.value_or("1"));
        }
        QCOMPARE(qEnvironmentVariableIsSet(name), users.has_value());
        QCOMPARE(qgetenv(name), users.value_or(QByteArray()));
        qunsetenv(name);
    }
};

QTEST_GUILESS_MAIN(TestQtPlatformChoice)
#include "tst_qtplatformchoice.moc"
