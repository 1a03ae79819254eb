#include "core/ArmedAlarm.h"
#include "settings/Keys.h"
#include "settings/RecentList.h"
#include "settings/Seeding.h"
#include "settings/Store.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tockwell;

namespace {

void touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

QStringList names(StoreFile &file, QStringView list)
{
    Store store(file);
    store.openKey(keys::under(list));
    return store.valueNames();
}

} // namespace

class TestSeeding : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    SeedingPaths m_paths;
    QString m_db;

    QString at(const QString &relative) const { return m_dir.filePath(relative); }

private slots:
    void init()
    {
        m_db = at(u"store/settings.db"_qs);
        QFile::remove(m_db);
        QDir(at(u"prog"_qs)).removeRecursively();
        QDir(at(u"system"_qs)).removeRecursively();
        touch(at(u"prog/tockwell"_qs));
        m_paths = SeedingPaths::forProgram(at(u"prog/tockwell"_qs));
        m_paths.systemSoundDir = at(u"system/sounds"_qs);
        m_paths.textEditors = {at(u"system/bin/missing-editor"_qs), at(u"system/bin/editor"_qs)};
        m_paths.musicPlayers = {at(u"system/bin/player"_qs)};
        m_paths.systemDir = at(u"system"_qs);
        m_paths.programsDir = at(u"system/missing-programs"_qs);
        m_paths.rootDir = u"/"_qs;
        touch(at(u"system/bin/editor"_qs));
    }

    void emptyStoreIsSeeded()
    {
        for (const QString &sound : {u"Budzik.mp3"_qs, u"Telefon.wav"_qs, u"Płacz tarzana.mp3"_qs})
            touch(at(u"prog/sound/"_qs + sound));
        touch(at(u"system/sounds/bell.oga"_qs));

        StoreFile file(m_db);
        ArmedAlarm alarm;
        prepareStore(file, m_paths, alarm);

        Store store(file);
        store.openKey(keys::Base);
        QCOMPARE(store.readString(u"Path"_qs), m_paths.programFile);
        QCOMPARE(store.readString(u"Version"_qs), u"1.5.0.17"_qs);
        QCOMPARE(store.readString(u"Name"_qs), u"Tockwell"_qs);
        QCOMPARE(store.valueNames().mid(0, 3),
                 QStringList({u"Version"_qs, u"Path"_qs, u"Name"_qs}));

        QCOMPARE(names(file, keys::O_MRU).size(), 10);
        QCOMPARE(names(file, keys::O_MRU).first(), u"00:00:00"_qs);
        QCOMPARE(names(file, keys::ZA_MRU).size(), 10);
        QCOMPARE(names(file, keys::Kom_Text_MRU).size(), 8);
        QCOMPARE(names(file, keys::Kom_Caption_MRU).size(), 6);
        QCOMPARE(names(file, keys::WWW_MRU).size(), 6);
        const QString sound = at(u"prog/sound/"_qs);
        QCOMPARE(names(file, keys::Sound_MRU),
                 QStringList({sound + u"Budzik.mp3"_qs, sound + u"Telefon.wav"_qs,
                              sound + u"Płacz tarzana.mp3"_qs, at(u"system/sounds/bell.oga"_qs)}));
        QCOMPARE(names(file, keys::EXE_MRU), QStringList{at(u"system/bin/editor"_qs)});
        QCOMPARE(names(file, keys::Foldery_MRU), QStringList({at(u"system"_qs), u"/"_qs}));

        for (const QStringView list : keys::RecentLists) {
            if (list == keys::Pliki_MRU)
                continue;
            Store listStore(file);
            listStore.openKey(keys::under(list));
            QVERIFY2(!listStore.valueExists(QString()), qPrintable(list.toString()));
        }
        QVERIFY(!store.keyExists(keys::under(keys::Pliki_MRU)));
        QVERIFY(!store.keyExists(keys::under(keys::Inne_MRU)));
    }

    void webDefaultsAreBareHostNames()
    {
        const QStringList web = defaultEntries(keys::WWW_MRU, m_paths);
        QCOMPARE(web.size(), 6);
        for (const QString &address : web)
            QVERIFY(address.startsWith(u"www."_qs) && !address.contains(u"/"_qs));
    }

    void lowerCaseShippedSoundIsFoundToo()
    {
        touch(at(u"prog/sound/budzik.mp3"_qs));
        QCOMPARE(defaultEntries(keys::Sound_MRU, m_paths),
                 QStringList{at(u"prog/sound/budzik.mp3"_qs)});
    }

    void withoutTheSoundFolderOnlySystemSounds()
    {
        touch(at(u"system/sounds/complete.oga"_qs));
        touch(at(u"system/sounds/service-login.oga"_qs));
        QCOMPARE(defaultEntries(keys::Sound_MRU, m_paths),
                 QStringList({at(u"system/sounds/service-login.oga"_qs),
                              at(u"system/sounds/complete.oga"_qs)}));
    }

    void pathOfAnExistingFileMeansNoSeeding()
    {
        StoreFile file(m_db);
        {
            Store store(file);
            store.openKey(keys::Base);
            store.writeString(u"Path"_qs, at(u"prog/tockwell"_qs));
        }
        ArmedAlarm alarm;
        prepareStore(file, m_paths, alarm);
        Store store(file);
        QVERIFY(!store.keyExists(keys::under(keys::O_MRU)));
        store.openKey(keys::Base);
        QVERIFY(!store.valueExists(u"Version"_qs));
    }

    void pathThatIsNotAStringMeansSeeding()
    {
        StoreFile file(m_db);
        {
            Store store(file);
            store.openKey(keys::Base);
            store.writeInteger(u"Path"_qs, 1);
        }
        QVERIFY(seedingNeeded(file));
    }

    void stalePathSeedsAgainAndKeepsUserEntries()
    {
        StoreFile file(m_db);
        ArmedAlarm alarm;
        prepareStore(file, m_paths, alarm);
        clearRecentList(file, keys::O_MRU);
        rememberEntry(file, keys::WWW_MRU, u"www.example.pl"_qs);
        rememberEntry(file, keys::O_MRU, u"7:5:0"_qs);

        touch(at(u"moved/tockwell"_qs));
        {
            Store store(file);
            store.openKey(keys::Base);
            store.writeString(u"Path"_qs, at(u"gone/tockwell"_qs));
            store.writeString(u"Version"_qs, u"1.0"_qs);
        }
        QVERIFY(seedingNeeded(file));
        m_paths.programFile = at(u"moved/tockwell"_qs);
        prepareStore(file, m_paths, alarm);

        Store store(file);
        store.openKey(keys::Base);
        QCOMPARE(store.readString(u"Path"_qs), at(u"moved/tockwell"_qs));
        QCOMPARE(store.readString(u"Version"_qs), u"1.5.0.17"_qs);
        const QStringList times = names(file, keys::O_MRU);
        QCOMPARE(times.size(), 12); // current entry, user entry, ten defaults
        QCOMPARE(times.mid(0, 3), QStringList({QString(), u"7:5:0"_qs, u"00:00:00"_qs}));
        const QStringList web = names(file, keys::WWW_MRU);
        QCOMPARE(web.size(), 8);
        QVERIFY(web.contains(u"www.example.pl"_qs));
        QVERIFY(!seedingNeeded(file));
    }

    void optionFlagsReadOnlyFromIntegers_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("expected");
        QTest::newRow("missing") << regtype::None << false;
        QTest::newRow("dword 1") << regtype::Dword << true;
        QTest::newRow("string \"1\"") << regtype::Sz << false;
        QTest::newRow("binary 1") << regtype::Binary << false;
    }
    void optionFlagsReadOnlyFromIntegers()
    {
        QFETCH(int, type);
        QFETCH(bool, expected);
        StoreFile file(m_db);
        {
            Store store(file);
            store.openKey(keys::Base);
            for (const QStringView flag : keys::OptionFlags) {
                if (type != regtype::None)
                    store.writeRaw(flag, RawValue{type, u"1"_qs, 1, QByteArray(1, '\x01')});
            }
        }
        ArmedAlarm alarm;
        alarm.PlayBeep = !expected;
        prepareStore(file, m_paths, alarm);
        QCOMPARE(alarm.AutoMinimize, expected);
        QCOMPARE(alarm.ScreenSaverOff, expected);
        QCOMPARE(alarm.MinimizeAll, expected);
        QCOMPARE(alarm.MinimizeProg, expected);
        QCOMPARE(alarm.PlayBeep, expected);
    }

    void optionFlagsRoundTrip()
    {
        StoreFile file(m_db);
        ArmedAlarm saved;
        saved.ScreenSaverOff = true;
        saved.PlayBeep = true;
        saveOptionFlags(file, saved);
        ArmedAlarm loaded;
        loadOptionFlags(file, loaded);
        QCOMPARE(loaded.ScreenSaverOff, true);
        QCOMPARE(loaded.PlayBeep, true);
        QCOMPARE(loaded.MinimizeAll, false);
    }
};

QTEST_GUILESS_MAIN(TestSeeding)
#include "tst_seeding.moc"
