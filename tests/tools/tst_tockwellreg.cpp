#include "RegRun.h"
#include "settings/Store.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>
#include <sys/resource.h>

using namespace tockwell;
using namespace tockwell::test;

namespace {

/// Every key and value below `path`, in store order, one line each.
QStringList dump(StoreFile &file, const QString &path)
{
    Store store(file);
    if (!store.keyExists(path))
        return {};
    store.openKey(path);
    QStringList lines{u"[%1]"_qs.arg(path)};
    for (const QString &name : store.valueNames()) {
        const RawValue v = *store.readRaw(name);
        lines << u"%1 %2 %3 %4 %5"_qs.arg(name).arg(v.type).arg(v.text).arg(v.number).arg(
            QString::fromLatin1(v.bytes.toHex()));
    }
    for (const QString &subkey : store.subkeyNames())
        lines << dump(file, path + u"\\"_qs + subkey);
    return lines;
}

QByteArray utf16le(const QString &text)
{
    QByteArray bytes("\xff\xfe");
    for (const QChar c : text) {
        bytes.append(char(c.unicode() & 0xff));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

} // namespace

class TestTockwellReg : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString storePath() const { return m_dir.filePath(u"tockwell/settings.db"_qs); }
    QString at(const QString &name) const { return m_dir.filePath(name); }

    Run reg(const QStringList &args, const std::function<void()> &inChild = {})
    {
        return runReg(m_dir.path(), args, inChild);
    }

    void writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile file(at(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

private slots:
    void init()
    {
        QFile::remove(storePath());
        QFile::remove(storePath() + u"-wal"_qs);
        QFile::remove(storePath() + u"-shm"_qs);
    }

    void exportThenImportGivesTheSameStore()
    {
        QStringList before;
        {
            StoreFile file(storePath());
            Store store(file);
            store.openKey(Base);
            store.writeString(u"Path"_qs, u"/opt/tockwell/tockwell"_qs);
            store.writeInteger(u"O_ZA"_qs, -1);
            store.writeString(u"Quote \"and\" \\slash"_qs, u"C:\\Program Files\\\"x\""_qs);
            store.writeString(u"Multi"_qs, u"line one\r\nline two"_qs);
            store.writeExpandString(u"Expand"_qs, u"%HOME%/Łódź"_qs);
            // A NUL inside a text is kept: only the terminator of the hex data goes.
            store.writeString(u"Nul inside"_qs, u"Program F"_qs + QChar(0) + QChar(1) + u"iles"_qs);
            store.writeExpandString(u"Nul at the end"_qs, u"%HOME%"_qs + QChar(0));
            store.writeRaw(u"Long"_qs, RawValue{regtype::Binary, {}, 0, QByteArray(300, '\x7f')});
            store.writeRaw(u"Empty"_qs, RawValue{regtype::Binary, {}, 0, {}});
            store.writeRaw(u"Multi sz"_qs,
                           RawValue{regtype::MultiSz, {}, 0, QByteArray("a\0\0\0", 4)});
            store.openKey(Base + u"\\Kom_Text_MRU"_qs);
            store.writeString(u"Już czas"_qs, QString());
            store.writeString(QString(), u"Już czas"_qs);
            store.writeString(u"ŁÓDŹ = ; [x]"_qs, QString());
            store.openKey(Base + u"\\Kom_Text_MRU\\Deeper"_qs);
            // Every control character, in value names, texts and the unnamed value; a backslash
            // and an n as typed stay what they are.
            store.openKey(Base + u"\\EXE_MRU"_qs);
            QString all;
            for (char16_t c = 0; c < 0x20; ++c)
                all += QChar(c);
            all += QChar(0x7f);
            for (const QChar c : all) {
                store.writeString(u"/opt/a"_qs + c + u"b"_qs, u"t"_qs + c + u"u"_qs);
                store.writeExpandString(c + u"x"_qs, c + QString());
            }
            store.writeString(all, all);
            store.writeString(QString(), u"line\nbreak"_qs);
            store.writeString(u"a\\nb \\r\\\n"_qs, u"a\\nb \\r"_qs);
            store.openKey(Base + u"\\ ;[x]=\"@\""_qs);
            store.writeString(u"@"_qs, u"\\"_qs);
            before = dump(file, Base);
        }
        QCOMPARE(reg({u"export"_qs, u"HKCU\\"_qs + Base, at(u"out.reg"_qs)}).exitCode, 0);
        QFile exported(at(u"out.reg"_qs));
        QVERIFY(exported.open(QIODevice::ReadOnly));
        QVERIFY(exported.read(2) == "\xff\xfe");

        QCOMPARE(reg({u"delete"_qs, u"HKEY_CURRENT_USER\\"_qs + Base, u"/f"_qs}).exitCode, 0);
        {
            StoreFile file(storePath());
            QVERIFY(dump(file, Base).isEmpty());
        }
        const Run imported = reg({u"import"_qs, at(u"out.reg"_qs)});
        QVERIFY2(imported.exitCode == 0, qPrintable(imported.errors));
        StoreFile file(storePath());
        QCOMPARE(dump(file, Base), before);
    }

    void importsAVersion5File()
    {
        const QString text =
            u"Windows Registry Editor Version 5.00\r\n\r\n"
            u"; moved from Windows\r\n"
            u"[HKEY_CURRENT_USER\\Software\\Kestrolab\\Tockwell]\r\n"
            u"\"PlayBeep\"=dword:00000001\r\n"
            u"\"Repeat_Time\"=\"30\"\r\n"
            u"\"Gone\"=\"x\"\r\n"
            u"\"Gone\"=-\r\n\r\n"
            u"[HKEY_CURRENT_USER\\Software\\Kestrolab\\Tockwell\\Kom_Caption_MRU]\r\n"
            u"\"CZEŚĆ\"=\"\"\r\n"
            u"@=\"CZEŚĆ\"\r\n"
            u"\"Ex\"=hex(2):25,00,54,00,\\\r\n"
            u"  4d,00,50,00,25,00,00,00\r\n\r\n"
            u"[HKEY_CURRENT_USER\\Software\\Kestrolab\\Tockwell\\Old]\r\n"
            u"[-HKEY_CURRENT_USER\\Software\\Kestrolab\\Tockwell\\Old]\r\n"_qs;
        writeFile(u"v5.reg"_qs, utf16le(text));
        const Run run = reg({u"import"_qs, at(u"v5.reg"_qs)});
        QVERIFY2(run.exitCode == 0, qPrintable(run.errors));

        StoreFile file(storePath());
        Store store(file);
        store.openKey(Base);
        QCOMPARE(store.readBool(u"playbeep"_qs), true);
        QCOMPARE(store.readString(u"Repeat_Time"_qs), u"30"_qs);
        QVERIFY(!store.valueExists(u"Gone"_qs));
        QVERIFY(!store.keyExists(Base + u"\\Old"_qs));
        store.openKey(Base + u"\\Kom_Caption_MRU"_qs);
        QCOMPARE(store.valueNames(), QStringList({u"CZEŚĆ"_qs, QString(), u"Ex"_qs}));
        QCOMPARE(store.readString(QString()), u"CZEŚĆ"_qs);
        QCOMPARE(store.readExpandString(u"Ex"_qs), u"%TMP%"_qs);
    }

    void importsARegedit4FileInWindows1250()
    {
        // "Łódź", "Już czas", "Płacz tarzana.mp3" in Windows-1250.
        const QByteArray bytes =
            "REGEDIT4\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Kestrolab\\Tockwell\\WWW_MRU]\r\n"
            "\"www.\xa3\xf3\x64\x9f.pl\"=\"\"\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Kestrolab\\Tockwell\\Kom_Text_MRU]\r\n"
            "\"Ju\xbf czas\"=\"\"\r\n"
            "@=\"Ju\xbf czas\"\r\n"
            "[HKEY_CURRENT_USER\\Software\\Kestrolab\\Tockwell\\Sound_MRU]\r\n"
            "\"C:\\\\Tockwell\\\\sound\\\\P\xb3\x61\x63z tarzana.mp3\"=\"\"\r\n"
            "\"Ex\"=hex(2):25,54,4d,50,25,00\r\n";
        writeFile(u"v4.reg"_qs, bytes);
        const Run run = reg({u"import"_qs, at(u"v4.reg"_qs)});
        QVERIFY2(run.exitCode == 0, qPrintable(run.errors));

        StoreFile file(storePath());
        Store store(file);
        store.openKey(Base + u"\\WWW_MRU"_qs);
        QCOMPARE(store.valueNames(), QStringList{u"www.Łódź.pl"_qs});
        store.openKey(Base + u"\\Kom_Text_MRU"_qs);
        QCOMPARE(store.readString(QString()), u"Już czas"_qs);
        store.openKey(Base + u"\\Sound_MRU"_qs);
        QCOMPARE(store.valueNames().first(), u"C:\\Tockwell\\sound\\Płacz tarzana.mp3"_qs);
        QCOMPARE(store.readExpandString(u"Ex"_qs), u"%TMP%"_qs);
    }

    void malformedFileIsRefusedWhole_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("where");
        const QByteArray head =
            "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Kestrolab\\Tockwell]\r\n"
            "\"Ok\"=\"1\"\r\n";
        QTest::newRow("no closing quote") << head + "\"Bad\"=\"open\r\n" << u"line 5"_qs;
        QTest::newRow("bad dword") << head + "\r\n\"Bad\"=dword:123456789\r\n" << u"line 6"_qs;
        QTest::newRow("bad hex") << head + "\"Bad\"=hex:0g\r\n" << u"line 5"_qs;
        QTest::newRow("other root") << head + "[HKEY_LOCAL_MACHINE\\Software]\r\n" << u"line 5"_qs;
        QTest::newRow("no header") << QByteArray("[HKEY_CURRENT_USER\\x]\r\n") << u"line 1"_qs;
        QTest::newRow("value outside key")
            << QByteArray("REGEDIT4\r\n\"a\"=\"b\"\r\n") << u"line 2"_qs;

        // Text that is no valid UTF-16 or UTF-8 is refused, not changed.
        const QString head5 = u"Windows Registry Editor Version 5.00\r\n\r\n"
                              u"[HKEY_CURRENT_USER\\Software\\Kestrolab\\Tockwell]\r\n"_qs;
        QTest::newRow("UTF-16 lone high surrogate")
            << utf16le(head5 + u"\"a"_qs + QChar(0xd800) + u"\"=\"\"\r\n"_qs) << u"line 4"_qs;
        QTest::newRow("UTF-16 lone low surrogate")
            << utf16le(head5 + u"\r\n\"a\"=\""_qs + QChar(0xdc00) + u"\"\r\n"_qs) << u"line 5"_qs;
        QTest::newRow("U+FFFF, which the store cannot keep")
            << utf16le(head5 + u"\"a"_qs + QChar(0xffff) + u"\"=\"\"\r\n"_qs) << u"line 4"_qs;
        QTest::newRow("U+FEFF starting a key name")
            << utf16le(head5 + u"[HKEY_CURRENT_USER\\a\\"_qs + QChar(0xfeff) + u"]\r\n"_qs)
            << u"line 4"_qs;
        QTest::newRow("U+FEFF starting a text")
            << utf16le(head5 + u"\"a\"=\""_qs + QChar(0xfeff) + u"\"\r\n"_qs) << u"line 4"_qs;
        QTest::newRow("UTF-16 odd byte count")
            << utf16le(head5 + u"\"a\"=\"b\"\r\n"_qs) + 'x' << u"line 5"_qs;
        QTest::newRow("hex(1) odd byte count")
            << utf16le(head5 + u"\"a\"=hex(1):41,00,42\r\n"_qs) << u"line 4"_qs;
        QTest::newRow("hex(2) lone surrogate")
            << utf16le(head5 + u"\"a\"=hex(2):41,00,00,d8,00,00\r\n"_qs) << u"line 4"_qs;
        const QByteArray utf8Head = head5.toUtf8();
        QTest::newRow("UTF-8 stray byte") << utf8Head + "\"a\xff\"=\"\"\r\n" << u"line 4"_qs;
        QTest::newRow("UTF-8 with BOM, overlong")
            << "\xef\xbb\xbf" + utf8Head + "\r\n\"a\"=\"\xc0\xaf\"\r\n"
            << u"line 5"_qs;
        QTest::newRow("UTF-8 surrogate") << utf8Head + "\"\xed\xa0\x80\"=\"\"\r\n" << u"line 4"_qs;
        QTest::newRow("UTF-8 cut short") << utf8Head + "\"a\"=\"\xc5\"\r\n" << u"line 4"_qs;
    }
    void malformedFileIsRefusedWhole()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, where);
        writeFile(u"bad.reg"_qs, content);
        const Run run = reg({u"import"_qs, at(u"bad.reg"_qs)});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.errors.contains(where), qPrintable(run.errors));
        StoreFile file(storePath());
        Store store(file);
        QVERIFY(!store.keyExists(Base));
    }

    void keyNamesWithControlCharactersAreRefused()
    {
        // No door lets one in ...
        QCOMPARE(reg({u"add"_qs, u"HKCU\\A\nB"_qs}).exitCode, 1);
        writeFile(u"tab.reg"_qs, "REGEDIT4\r\n[HKEY_CURRENT_USER\\A\tB]\r\n");
        const Run imported = reg({u"import"_qs, at(u"tab.reg"_qs)});
        QCOMPARE(imported.exitCode, 1);
        QVERIFY2(imported.errors.contains(u"line 2"_qs), qPrintable(imported.errors));
        // ... and one left by an older version gives no backup that cannot be read back.
        {
            StoreFile file(storePath());
            Store store(file);
            store.openKey(Base + u"\\A\nB"_qs);
        }
        const Run exported = reg({u"export"_qs, u"HKCU\\"_qs + Base, at(u"ctl.reg"_qs)});
        QCOMPARE(exported.exitCode, 1);
        QVERIFY2(exported.errors.contains(u"U+000a"_qs), qPrintable(exported.errors));
        QVERIFY(!QFile::exists(at(u"ctl.reg"_qs)));
    }

    void keysGoAtMost512LevelsDeep()
    {
        const auto deep = [](int levels) {
            QByteArray key = "HKEY_CURRENT_USER";
            for (int i = 0; i < levels; ++i)
                key += "\\k";
            return key;
        };
        writeFile(u"512.reg"_qs, "REGEDIT4\r\n\r\n[" + deep(512) + "]\r\n\"v\"=\"1\"\r\n");
        const Run ok = reg({u"import"_qs, at(u"512.reg"_qs)});
        QVERIFY2(ok.exitCode == 0, qPrintable(ok.errors));
        QCOMPARE(reg({u"query"_qs, QString::fromLatin1(deep(512)), u"/v"_qs, u"v"_qs}).exitCode, 0);
        writeFile(u"513.reg"_qs,
                  "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\x]\r\n[" + deep(513) + "]\r\n");
        const Run refused = reg({u"import"_qs, at(u"513.reg"_qs)});
        QCOMPARE(refused.exitCode, 1);
        QVERIFY2(refused.errors.contains(u"line 4"_qs), qPrintable(refused.errors));
        QCOMPARE(reg({u"add"_qs, QString::fromLatin1(deep(513))}).exitCode, 1);
        StoreFile file(storePath());
        QVERIFY(!Store(file).keyExists(u"x"_qs));
    }

    /// An export over an earlier backup on a full disk: the backup stays, the cause is told.
    void exportOverABackupOnAFullDisk_data()
    {
        QTest::addColumn<bool>("tmpfs"); // else a file size limit (RLIMIT_FSIZE)
        QTest::newRow("full tmpfs") << true;
        QTest::newRow("file size limit") << false;
    }
    void exportOverABackupOnAFullDisk()
    {
        QFETCH(bool, tmpfs);
        QTemporaryDir disk;
        QString cause = u"File too large"_qs;
        std::function<void()> limit = [] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit size{512 * 1024, 512 * 1024};
            setrlimit(RLIMIT_FSIZE, &size);
        };
        if (tmpfs) {
            if (QProcess::execute(u"mount"_qs, {u"-t"_qs, u"tmpfs"_qs, u"-o"_qs, u"size=512k"_qs,
                                                u"tmpfs"_qs, disk.path()}) != 0)
                QSKIP("mounting a tmpfs needs root");
            cause = u"No space left on device"_qs;
            limit = {};
        }
        const auto unmount = qScopeGuard([&] {
            if (tmpfs)
                QProcess::execute(u"umount"_qs, {disk.path()});
        });
        {
            StoreFile file(storePath());
            Store store(file);
            store.openKey(Base);
            store.writeString(u"Path"_qs, u"/opt/tockwell/tockwell"_qs);
        }
        const QString backup = disk.filePath(u"backup.reg"_qs);
        QCOMPARE(reg({u"export"_qs, u"HKCU\\"_qs + Base, backup}).exitCode, 0);
        QFile saved(backup);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray before = saved.readAll();
        saved.close();
        {
            // About 2 MB of export: more than the disk or the limit take.
            StoreFile file(storePath());
            Store store(file);
            store.openKey(Base);
            store.writeRaw(u"Big"_qs, RawValue{regtype::Binary, {}, 0, QByteArray(300'000, 'x')});
        }
        const Run run = reg({u"export"_qs, u"HKCU\\"_qs + Base, backup, u"/y"_qs}, limit);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.errors.contains(cause), qPrintable(run.errors));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), before);
        QCOMPARE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{u"backup.reg"_qs});
    }

    void commandLine()
    {
        QCOMPARE(reg({u"add"_qs, u"HKCU\\"_qs + Base, u"/v"_qs, u"Łódź"_qs}).exitCode, 0);
        QCOMPARE(reg({u"add"_qs, u"hkcu\\"_qs + Base, u"/v"_qs, u"ŁÓDŹ"_qs, u"/t"_qs,
                      u"REG_DWORD"_qs, u"/d"_qs, u"0x10"_qs, u"/f"_qs})
                     .exitCode,
                 0);
        const Run query = reg({u"query"_qs, u"HKCU\\"_qs + Base, u"/v"_qs, u"łódź"_qs});
        QCOMPARE(query.exitCode, 0);
        QVERIFY2(query.output.contains(u"Łódź    REG_DWORD    0x10"_qs), qPrintable(query.output));
        // Without /f and nobody to answer, an existing value is kept.
        QCOMPARE(reg({u"add"_qs, u"HKCU\\"_qs + Base, u"/v"_qs, u"Łódź"_qs}).exitCode, 1);
        QCOMPARE(reg({u"delete"_qs, u"HKCU\\"_qs + Base, u"/v"_qs, u"Łódź"_qs}).exitCode, 1);

        const Run other = reg({u"query"_qs, u"HKLM\\Software"_qs});
        QCOMPARE(other.exitCode, 1);
        QVERIFY(other.errors.contains(u"HKCU"_qs));
        QCOMPARE(reg({u"query"_qs, u"HKCU\\Software\\Nothing"_qs}).exitCode, 1);
        QCOMPARE(reg({u"add"_qs, u"HKCU\\X"_qs, u"/v"_qs, u"n"_qs, u"/t"_qs, u"REG_DWORD"_qs,
                      u"/d"_qs, u"4294967296"_qs})
                     .exitCode,
                 1);
        QCOMPARE(reg({u"delete"_qs, u"HKCU\\"_qs + Base, u"/va"_qs, u"/f"_qs}).exitCode, 0);
        StoreFile file(storePath());
        Store store(file);
        store.openKey(Base);
        QVERIFY(store.valueNames().isEmpty());
        QVERIFY(reg({u"--help"_qs}).output.contains(u"import FILE"_qs));
    }
};

QTEST_GUILESS_MAIN(TestTockwellReg)
#include "tst_tockwellreg.moc"
