#include "RecentList.h"

#include "Keys.h"
#include "Store.h"

#include <QFileInfo>

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

} // namespace

RecentListContents readRecentList(StoreFile &file, QStringView list)
{
    Store store(file);
    store.openKey(keys::under(list));
    return RecentListContents{store.valueNames(), store.readString(QString())};
}

WriteOrder writeOrderOf(QStringView list)
{
    return list == keys::O_MRU || list == keys::ZA_MRU ? WriteOrder::CurrentFirst
                                                       : WriteOrder::EntryFirst;
}

void rememberEntry(StoreFile &file, QStringView list, const QString &entry)
{
    // One transaction: the entry and the current one are written together, with one sync.
    StoreTransaction transaction(file);
    Store store(file);
    store.openKey(keys::under(list));
    if (writeOrderOf(list) == WriteOrder::CurrentFirst) {
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

DisplayTest displayTestOf(QStringView list)
{
    if (list == keys::Sound_MRU || list == keys::EXE_MRU || list == keys::Pliki_MRU)
        return DisplayTest::ExistingFile;
    if (list == keys::Foldery_MRU)
        return DisplayTest::ExistingDirectory;
    return DisplayTest::Always;
}

bool showsEntry(QStringView list, const QString &entry)
{
    switch (displayTestOf(list)) {
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
    if (displayTestOf(list) != DisplayTest::ExistingFile)
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
