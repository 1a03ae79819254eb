// Setting the wake time: the helper tockwell-wake (its test build, which writes to the file
// that TOCKWELL_WAKE_FILE names instead of the real-time clock), LinuxWakeAlarm starting it
// through a stand-in for pkexec, and the polkit policy that allows it.
#include "platform/linux/LinuxWakeAlarm.h"

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace tockwell::platform;

namespace {

const QString TestHelper = QStringLiteral(TOCKWELL_WAKE_TEST_HELPER);

qint64 now()
{
    return QDateTime::currentSecsSinceEpoch();
}

QByteArray epochLine(qint64 epoch)
{
    return QByteArray::number(epoch) + '\n';
}

} // namespace

class TestWake : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString wakeFile() const { return m_dir.filePath(u"wakealarm"_qs); }

    QByteArray written() const
    {
        QFile file(wakeFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    /// A stand-in for pkexec or pkcheck that ends with `code`.
    QString exitingWith(int code)
    {
        const QString path = m_dir.filePath(u"exit-%1"_qs.arg(code));
        QFile file(path);
        if (!file.exists() && file.open(QIODevice::WriteOnly)) {
            file.write("#!/bin/sh\nexit " + QByteArray::number(code) + "\n");
            file.close();
            file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        return path;
    }

    /// pkexec is played by env(1), which starts its first argument with the rest.
    WakeTools tools() const
    {
        WakeTools t;
        t.pkexec = u"/usr/bin/env"_qs;
        t.helper = TestHelper;
        t.wakeFile = wakeFile();
        t.action = WakeTools::installed().action;
        return t;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("TOCKWELL_WAKE_FILE", wakeFile().toLocal8Bit());
    }

    void init() { QFile::remove(wakeFile()); }

    void helperTakesExactlySetEpochOrClear_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("bytes");
        const qint64 inAnHour = now() + 3600;
        const QString hour = QString::number(inAnHour);
        QTest::newRow("clear") << QStringList{u"clear"_qs} << 0 << QByteArray("0\n");
        QTest::newRow("set in an hour: 0, then the time")
            << QStringList{u"set"_qs, hour} << 0 << "0\n" + epochLine(inAnHour);
        QTest::newRow("set in 47 h 59 min")
            << QStringList{u"set"_qs, QString::number(now() + 48 * 3600 - 60)} << 0
            << "0\n" + epochLine(now() + 48 * 3600 - 60);
        QTest::newRow("beyond 48 h")
            << QStringList{u"set"_qs, QString::number(now() + 48 * 3600 + 60)} << 2 << QByteArray();
        QTest::newRow("in the past")
            << QStringList{u"set"_qs, QString::number(now() - 10)} << 2 << QByteArray();
        QTest::newRow("zero") << QStringList{u"set"_qs, u"0"_qs} << 2 << QByteArray();
        QTest::newRow("negative") << QStringList{u"set"_qs, u"-"_qs + hour} << 2 << QByteArray();
        QTest::newRow("plus sign") << QStringList{u"set"_qs, u"+"_qs + hour} << 2 << QByteArray();
        QTest::newRow("relative +60") << QStringList{u"set"_qs, u"+60"_qs} << 2 << QByteArray();
        QTest::newRow("blank before")
            << QStringList{u"set"_qs, u" "_qs + hour} << 2 << QByteArray();
        QTest::newRow("newline after")
            << QStringList{u"set"_qs, hour + u"\n"_qs} << 2 << QByteArray();
        QTest::newRow("not a number") << QStringList{u"set"_qs, u"soon"_qs} << 2 << QByteArray();
        QTest::newRow("hexadecimal")
            << QStringList{u"set"_qs, u"0x7fffffff"_qs} << 2 << QByteArray();
        QTest::newRow("too many digits")
            << QStringList{u"set"_qs, u"0000000000000"_qs + hour} << 2 << QByteArray();
        QTest::newRow("empty epoch") << QStringList{u"set"_qs, QString()} << 2 << QByteArray();
        QTest::newRow("set without epoch") << QStringList{u"set"_qs} << 2 << QByteArray();
        QTest::newRow("set with one more")
            << QStringList{u"set"_qs, hour, u"x"_qs} << 2 << QByteArray();
        QTest::newRow("clear with one more")
            << QStringList{u"clear"_qs, u"0"_qs} << 2 << QByteArray();
        QTest::newRow("capital SET") << QStringList{u"SET"_qs, hour} << 2 << QByteArray();
        QTest::newRow("an option") << QStringList{u"--help"_qs} << 2 << QByteArray();
        QTest::newRow("nothing") << QStringList{} << 2 << QByteArray();
        QTest::newRow("a path") << QStringList{u"set"_qs, u"/etc/shadow"_qs} << 2 << QByteArray();
    }
    void helperTakesExactlySetEpochOrClear()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, bytes);
        QProcess helper;
        helper.start(TestHelper, arguments);
        QVERIFY(helper.waitForFinished(10000));
        QCOMPARE(helper.exitStatus(), QProcess::NormalExit);
        QCOMPARE(helper.exitCode(), exitCode);
        QCOMPARE(written(), bytes);
        if (exitCode == 2)
            QVERIFY(helper.readAllStandardError().contains("usage: tockwell-wake"));
    }

    void helperReportsAFailedWrite()
    {
        QProcess helper;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"TOCKWELL_WAKE_FILE"_qs,
                           m_dir.filePath(u"no/such/folder/wakealarm"_qs));
        helper.setProcessEnvironment(environment);
        helper.start(TestHelper, {u"clear"_qs});
        QVERIFY(helper.waitForFinished(10000));
        QCOMPARE(helper.exitCode(), 1);
        QVERIFY(helper.readAllStandardError().startsWith("tockwell-wake: "));
    }

    void theInstalledHelperHasNoTestHook()
    {
        QFile installed(QStringLiteral(TOCKWELL_WAKE_HELPER_BUILT));
        QVERIFY(installed.open(QIODevice::ReadOnly));
        const QByteArray program = installed.readAll();
        QVERIFY(program.contains("/sys/class/rtc/rtc0/wakealarm"));
        QVERIFY(!program.contains("TOCKWELL_WAKE_FILE"));
        QFile test(TestHelper);
        QVERIFY(test.open(QIODevice::ReadOnly));
        QVERIFY(test.readAll().contains("TOCKWELL_WAKE_FILE"));
    }

    void setAndClearGoThroughPkexecToTheHelper()
    {
        LinuxWakeAlarm wake(tools());
        const qint64 epoch = now() + 7200;
        QVERIFY(!wake.setWakeTime(epoch));
        QCOMPARE(written(), "0\n" + epochLine(epoch));
        QVERIFY(!wake.clearWakeTime());
        QCOMPARE(written(), "0\n" + epochLine(epoch) + "0\n");

        // The helper's refusal comes back with its own words.
        const auto refused = wake.setWakeTime(now() - 60);
        QVERIFY(refused);
        QCOMPARE(refused->code, 31);
        QVERIFY(refused->description.contains(u"48 hours"_qs));
    }

    void pkexecAnswersBecomeFailures_data()
    {
        QTest::addColumn<int>("pkexecExit");
        QTest::addColumn<int>("code");
        QTest::newRow("dismissed") << 126 << 1223;
        QTest::newRow("not authorised") << 127 << 5;
    }
    void pkexecAnswersBecomeFailures()
    {
        QFETCH(int, pkexecExit);
        QFETCH(int, code);
        WakeTools t = tools();
        t.pkexec = exitingWith(pkexecExit);
        LinuxWakeAlarm wake(t);
        QCOMPARE(wake.setWakeTime(now() + 60)->code, code);
        QCOMPARE(wake.clearWakeTime()->code, code);
        QCOMPARE(written(), QByteArray());
    }

    void canWakeOnlyWithClockHelperPkexecAndPolkitsYes_data()
    {
        QTest::addColumn<QString>("part");
        QTest::addColumn<int>("code");
        QTest::newRow("everything there, polkit says yes") << u""_qs << 0;
        QTest::newRow("no pkcheck: pkexec will tell") << u"no pkcheck"_qs << 0;
        QTest::newRow("polkit wants a password or says no") << u"pkcheck no"_qs << 5;
        QTest::newRow("no real-time clock") << u"no clock"_qs << 2;
        QTest::newRow("no helper") << u"no helper"_qs << 2;
        QTest::newRow("no pkexec") << u"no pkexec"_qs << 2;
    }
    void canWakeOnlyWithClockHelperPkexecAndPolkitsYes()
    {
        QFETCH(QString, part);
        QFETCH(int, code);
        QFile clock(wakeFile());
        QVERIFY(clock.open(QIODevice::WriteOnly));
        clock.close();
        WakeTools t = tools();
        t.pkcheck = exitingWith(0);
        if (part == u"no pkcheck"_qs)
            t.pkcheck.clear();
        else if (part == u"pkcheck no"_qs)
            t.pkcheck = exitingWith(2);
        else if (part == u"no clock"_qs)
            t.wakeFile = m_dir.filePath(u"none"_qs);
        else if (part == u"no helper"_qs)
            t.helper = m_dir.filePath(u"none"_qs);
        else if (part == u"no pkexec"_qs)
            t.pkexec = m_dir.filePath(u"none"_qs);
        const auto failure = LinuxWakeAlarm(t).canWake();
        QCOMPARE(failure ? failure->code : 0, code);
        QCOMPARE(written(), QByteArray()); // asking writes nothing
    }

    // The real tools, as far as a machine without a real-time clock allows: refused cleanly,
    // before anything is started.
    void withoutARealTimeClockTheInstalledToolsAnswerMissing()
    {
        const WakeTools installed = WakeTools::installed();
        if (QFile::exists(installed.wakeFile))
            QSKIP("this machine has a real-time clock; its wake time is left alone");
        LinuxWakeAlarm wake;
        const auto failure = wake.canWake();
        QVERIFY(failure);
        QCOMPARE(failure->code, 2);
        QVERIFY(failure->description.contains(installed.wakeFile));
    }

    void thePolicyAllowsTheHelperThatTheProgramCalls()
    {
        const QString policy = QStringLiteral(TOCKWELL_WAKE_POLICY_FILE);
        if (const QString xmllint = QStandardPaths::findExecutable(u"xmllint"_qs);
            !xmllint.isEmpty())
            QCOMPARE(QProcess::execute(xmllint, {u"--noout"_qs, u"--nonet"_qs, policy}), 0);
        QFile file(policy);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QString action, execPath, element;
        QMap<QString, QString> defaults;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement()) {
                element = xml.name().toString();
                if (element == u"action"_qs)
                    action = xml.attributes().value(u"id"_qs).toString();
                if (element == u"annotate"_qs &&
                    xml.attributes().value(u"key"_qs) == u"org.freedesktop.policykit.exec.path"_qs)
                    execPath = xml.readElementText();
                if (element.startsWith(u"allow_"_qs))
                    defaults[element] = xml.readElementText();
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        const WakeTools installed = WakeTools::installed();
        QCOMPARE(action, installed.action);
        QCOMPARE(action, u"pl.kestrolab.tockwell.wake"_qs);
        QCOMPARE(execPath, installed.helper);
        QCOMPARE(execPath, u"/usr/lib/tockwell/tockwell-wake"_qs);
        QCOMPARE(defaults.value(u"allow_active"_qs), u"yes"_qs);
        QCOMPARE(defaults.value(u"allow_inactive"_qs), u"auth_admin"_qs);
        QCOMPARE(defaults.value(u"allow_any"_qs), u"auth_admin"_qs);
        QCOMPARE(installed.pkexec, u"/usr/bin/pkexec"_qs);
        QCOMPARE(installed.wakeFile, u"/sys/class/rtc/rtc0/wakealarm"_qs);
    }
};

QTEST_GUILESS_MAIN(TestWake)
#include "tst_wake.moc"
