// Keys and the pointer in a Wayland session whose compositor offers no means of its own, through
// a stand-in for the desktop's remote-desktop portal (python3-dbusmock,
// tests/support/remote_desktop_portal.py) on a private session bus: the user is asked once, the
// portal's token lets later runs in without asking, and each point lands on the monitor that
// holds it.
#include "platform/linux/LinuxDesktop.h"
#include "support/PrivateBus.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace tockwell::platform;

class TestPortalRemoteDesktop : public QObject
{
    Q_OBJECT

    QProcess m_bus, m_standIn;
    QTemporaryDir m_folder;
    QString m_callLog;
    QString m_keptToken; ///< what the store would hold

    void startPortal(int answer)
    {
        m_callLog = m_folder.filePath(u"calls-%1"_qs.arg(answer));
        const QJsonObject parameters{{u"log"_qs, m_callLog}, {u"answer"_qs, answer}};
        m_standIn.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_standIn.setStandardOutputFile(QProcess::nullDevice());
        m_standIn.start(
            tockwell::test::Python,
            {u"-m"_qs, u"dbusmock"_qs, u"--template"_qs, QStringLiteral(PORTAL_TEMPLATE), u"-p"_qs,
             QString::fromUtf8(QJsonDocument(parameters).toJson(QJsonDocument::Compact))});
        QTRY_VERIFY_WITH_TIMEOUT(PortalRemoteDesktop::offered().pointer, 15000);
    }

    /// The calls the portal had, one line each, and forgets them.
    QStringList takeCalls() const
    {
        QFile file(m_callLog);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QStringList calls =
            QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
        file.close();
        file.remove();
        return calls;
    }

    /// A run of the program in a compositor that the program knows no means of.
    std::unique_ptr<LinuxDesktop> newRun()
    {
        auto desktop = std::make_unique<LinuxDesktop>(
            DesktopSession{Compositor::OtherWayland, u"Weston"_qs}, QString());
        desktop->keepGrantsWith({[this] { return m_keptToken; },
                                 [this](const QString &token) { m_keptToken = token; }});
        return desktop;
    }

private slots:
    void initTestCase()
    {
        if (const QString missing = tockwell::test::missingDbusMock(); !missing.isEmpty())
            QSKIP(qPrintable(missing));
        QVERIFY(m_folder.isValid());
        const QString address = tockwell::test::startPrivateBus(m_bus);
        QVERIFY2(!address.isEmpty(), "the private session bus did not start");
        qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
        // The portal's screen casts are PipeWire streams: the program looks for its socket.
        qputenv("PIPEWIRE_RUNTIME_DIR", m_folder.path().toUtf8());
        qunsetenv("PIPEWIRE_REMOTE");
        QFile socket(m_folder.filePath(u"pipewire-0"_qs));
        QVERIFY(socket.open(QIODevice::WriteOnly));
    }

    void cleanup()
    {
        m_standIn.terminate();
        m_standIn.waitForFinished();
    }

    void cleanupTestCase() { m_bus.terminate(), m_bus.waitForFinished(); }

    void theUserIsAskedOnceAndTheTokenLetsLaterRunsIn()
    {
        startPortal(0);
        {
            const auto run = newRun();
            QCOMPARE(run->means(Operation::PressKeys).backEnd, u"portal"_qs);
            QCOMPARE(run->means(Operation::Pointer).backEnd, u"portal"_qs);
        }
        QCOMPARE(takeCalls(),
                 (QStringList{u"CreateSession"_qs, u"SelectDevices types=3 persist=2 token=-"_qs,
                              u"SelectSources types=1 multiple=True"_qs, u"Start asked"_qs}));
        QCOMPARE(m_keptToken, u"token1"_qs);

        const auto nextRun = newRun();
        QCOMPARE(nextRun->means(Operation::Pointer).backEnd, u"portal"_qs);
        const QStringList calls = takeCalls();
        QVERIFY2(calls.contains(u"SelectDevices types=3 persist=2 token=token1"_qs) &&
                     calls.contains(u"Start restored"_qs),
                 qPrintable(calls.join(u" | ")));
        QCOMPARE(m_keptToken, u"token2"_qs); // a token serves once
    }

    void keysAndEachPointReachThePortal()
    {
        startPortal(0);
        const auto run = newRun();
        QCOMPARE(run->means(Operation::PressKeys).backEnd, u"portal"_qs);
        takeCalls();
        PortalRemoteDesktop &portal = run->portal();
        portal.pressKeys({{0xffe3}, 's'}); // Control_L + s
        // Monitors: 1024x768 at the origin (stream 1), 1280x800 to its right (stream 2).
        for (const QPoint point : {QPoint(100, 200), QPoint(1500, 300), QPoint(5000, 5000)})
            portal.movePointer(point);
        portal.leftButton(true);
        portal.leftButton(false);
        QCOMPARE(takeCalls(), (QStringList{u"key 0xffe3 1"_qs, u"key 0x73 1"_qs, u"key 0x73 0"_qs,
                                           u"key 0xffe3 0"_qs, u"motion 1 100 200"_qs,
                                           u"motion 2 476 300"_qs, u"motion 1 1023 767"_qs,
                                           u"button 0x110 1"_qs, u"button 0x110 0"_qs}));
    }

    void aRefusalIsToldAndTheUserNotAskedAgain()
    {
        startPortal(1);
        const auto run = newRun();
        for (const Operation operation : {Operation::PressKeys, Operation::Pointer}) {
            const Means means = run->means(operation);
            QVERIFY(!means.available());
            QVERIFY2(
                means.refusal.startsWith(u"Na tym pulpicie (Weston, Wayland) nie da się "_qs) &&
                    means.refusal.endsWith(
                        u": użytkownik nie zgodził się na to w oknie pulpitu."_qs),
                qPrintable(means.refusal));
        }
        QCOMPARE(takeCalls().count(u"Start asked"_qs), 1);
    }
};

QTEST_GUILESS_MAIN(TestPortalRemoteDesktop)
#include "tst_portalremotedesktop.moc"
