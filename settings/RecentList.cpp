#include "RecentList.h"

#include "Keys.h"
#include "Seeding.h"
#include "Store.h"

#include <QFileInfo>

#include <algorithm>
#include <array>

namespace tockwell {

namespace {

bool isFile(const QString &path)
{
    const QFileInfo info(path);
    return !path.isEmpty() && info.exists() && !info.isDir();
}

bool isDirectory(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

/// A fixed list of default entries as seeding writes them.
template <const auto &Entries> QStringList entriesOf(const SeedingPaths &)
{
    QStringList list;
    for (const QStringView entry : Entries)
        list << entry.toString();
    return list;
}

constexpr QStringView ClockTimes[] = {u"00:00:00", u"06:00:00", u"07:00:00", u"11:00:00",
                                      u"12:00:00", u"15:00:00", u"20:00:00", u"21:00:00",
                                      u"22:00:00", u"23:00:00"};
constexpr QStringView Countdowns[] = {u"00:00:30", u"00:01:00", u"00:05:00", u"00:10:00",
                                      u"00:30:00", u"01:00:00", u"01:30:00", u"02:00:00",
                                      u"03:00:00", u"05:00:00"};
constexpr QStringView MessageTexts[] = {u"ALARM !!!",
                                        u"Już czas",
                                        u"Nadeszła pora",
                                        u"Wstawaj i do roboty",
                                        u"Wybiła Twoja godzina !!!",
                                        u"To ja ALARM !!!",
                                        u"Prędko - już pora",
                                        u"Rusz się !!!"};
constexpr QStringView MessageCaptions[] = {
    u":-)", u"CZEŚĆ", u"HELLO !!!", u"HEY HEY HEY", u"Kestrolab Tockwell", u"UWAGA !!!"};
constexpr QStringView WebAddresses[] = {u"www.onet.pl",   u"www.wp.pl",      u"www.interia.pl",
                                        u"www.gazeta.pl", u"www.allegro.pl", u"www.wikipedia.pl"};

constexpr std::array Specs = {
    RecentListSpec{.list = keys::O_MRU,
                   .writeOrder = WriteOrder::CurrentFirst,
                   .displayTest = DisplayTest::Always,
                   .defaultEntries = entriesOf<ClockTimes>},
    RecentListSpec{.list = keys::ZA_MRU,
                   .writeOrder = WriteOrder::CurrentFirst,
                   .displayTest = DisplayTest::Always,
                   .defaultEntries = entriesOf<Countdowns>},
    RecentListSpec{.list = keys::Kom_Text_MRU,
                   .writeOrder = WriteOrder::EntryFirst,
                   .displayTest = DisplayTest::Always,
                   .defaultEntries = entriesOf<MessageTexts>},
    RecentListSpec{.list = keys::Kom_Caption_MRU,
                   .writeOrder = WriteOrder::EntryFirst,
                   .displayTest = DisplayTest::Always,
                   .defaultEntries = entriesOf<MessageCaptions>},
    RecentListSpec{.list = keys::Sound_MRU,
                   .writeOrder = WriteOrder::EntryFirst,
                   .displayTest = DisplayTest::ExistingFile,
                   .defaultEntries = defaultSounds},
    RecentListSpec{.list = keys::EXE_MRU,
                   .writeOrder = WriteOrder::EntryFirst,
                   .displayTest = DisplayTest::ExistingFile,
                   .defaultEntries = defaultPrograms},
    RecentListSpec{.list = keys::Pliki_MRU,
                   .writeOrder = WriteOrder::EntryFirst,
                   .displayTest = DisplayTest::ExistingFile,
                   .defaultEntries = nullptr},
    RecentListSpec{.list = keys::Foldery_MRU,
                   .writeOrder = WriteOrder::EntryFirst,
                   .displayTest = DisplayTest::ExistingDirectory,
                   .defaultEntries = defaultFolders},
    RecentListSpec{.list = keys::WWW_MRU,
                   .writeOrder = WriteOrder::EntryFirst,
                   .displayTest = DisplayTest::Always,
                   .defaultEntries = entriesOf<WebAddresses>},
};

/// QStringView's own comparison is not constexpr in Qt 6.4.
constexpr bool sameName(QStringView a, QStringView b)
{
    return std::equal(a.utf16(), a.utf16() + a.size(), b.utf16(), b.utf16() + b.size());
}

constexpr bool coversEveryList()
{
    return std::equal(
        Specs.begin(), Specs.end(), keys::RecentLists.begin(), keys::RecentLists.end(),
        [](const RecentListSpec &spec, QStringView list) { return sameName(spec.list, list); });
}
static_assert(coversEveryList(), "one row per recent list, in the order of keys::RecentLists");

} // namespace

std::span<const RecentListSpec> recentListSpecs()
{
    return Specs;
}

const RecentListSpec &recentListSpec(QStringView list)
{
    static constexpr RecentListSpec unknown;
    const auto found = std::find_if(Specs.begin(), Specs.end(), [list](const RecentListSpec &spec) {
        return spec.list == list;
    });
    return found != Specs.end() ? *found : unknown;
}

RecentListContents readRecentList(StoreFile &file, QStringView list)
{
    Store store(file);
    store.openKey(keys::under(list));
    return RecentListContents{store.valueNames(), store.readString(QString())};
}

void rememberEntry(StoreFile &file, QStringView list, const QString &entry)
{
    // One transaction: the entry and the current one are written together, with one sync.
    StoreTransaction transaction(file);
    Store store(file);
    store.openKey(keys::under(list));
    if (recentListSpec(list).writeOrder == WriteOrder::CurrentFirst) {
        store.writeString(QString(), entry);
        store.writeString(entry, QString());
    } else {
        store.writeString(entry, QString());
        store.writeString(QString(), entry);
    }
    transaction.commit();
}

void clearRecentList(StoreFile &file, QStringView list)
{
    Store store(file);
    store.openKey(keys::Base);
    store.recreateSubkey(list);
}

bool showsEntry(QStringView list, const QString &entry)
{
    switch (recentListSpec(list).displayTest) {
    case DisplayTest::ExistingFile:
        return isFile(entry);
    case DisplayTest::ExistingDirectory:
        return isDirectory(entry);
    case DisplayTest::Always:
        break;
    }
    return true;
}

QStringList shownEntries(QStringView list, const QStringList &names)
{
    QStringList shown;
    for (const QString &name : names) {
        if (!name.isEmpty() && showsEntry(list, name))
            shown << name;
    }
    return shown;
}

QString menuCaption(QStringView list, const QString &entry)
{
    if (recentListSpec(list).displayTest != DisplayTest::ExistingFile)
        return entry;
    QString name = entry.mid(entry.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    return name;
}

QString restoredFieldText(QStringView list, const RecentListContents &contents)
{
    if (!contents.current || contents.current->isEmpty())
        return {};
    return showsEntry(list, *contents.current) ? *contents.current : QString();
}

QString fileNameOfFieldText(const QString &text)
{
    return isFile(text) ? text : firstCommandLineItem(text);
}

QString firstCommandLineItem(const QString &commandLine)
{
    qsizetype i = 0;
    while (i < commandLine.size() && commandLine.at(i).isSpace())
        ++i;
    QString item;
    bool quoted = false;
    for (; i < commandLine.size(); ++i) {
        const QChar c = commandLine.at(i);
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && c.isSpace())
            break;
        else
            item += c;
    }
    return item;
}

} // namespace tockwell
