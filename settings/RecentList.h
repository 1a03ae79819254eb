#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <span>

namespace tockwell {

class StoreFile;
struct SeedingPaths;

/// In which order Start writes a list's entry and its current entry.
enum class WriteOrder
{
    CurrentFirst,
    EntryFirst
};

/// Which entries of a list are shown in its menu.
enum class DisplayTest
{
    Always,
    ExistingFile,
    ExistingDirectory
};

/// The rules of one recent list.
struct RecentListSpec
{
    QStringView list; ///< its subkey (keys::RecentLists)
    WriteOrder writeOrder = WriteOrder::EntryFirst;
    DisplayTest displayTest = DisplayTest::Always;
    /// The entries that first-run seeding writes, in writing order; null for a list that is not
    /// seeded (its subkey is not even created).
    QStringList (*defaultEntries)(const SeedingPaths &paths) = nullptr;
};

/// Every recent list, one row each, in the order of keys::RecentLists, which is also the order
/// in which seeding writes them.
std::span<const RecentListSpec> recentListSpecs();
/// The row of `list`; for a name that is no recent list, a row of the defaults (entry first,
/// always shown, not seeded).
const RecentListSpec &recentListSpec(QStringView list);

/// What a recent list holds: its value names in order of first creation (the current entry's
/// unnamed value, when present, as an empty name) and the current entry when it is a string.
struct RecentListContents
{
    QStringList names;
    std::optional<QString> current;

    /// The list button shows when at least two names are stored, counting the empty name of the
    /// current entry and entries that the display test hides.
    bool buttonVisible() const { return names.size() >= 2; }
};

/// Reads a recent list, creating its empty subkey when missing.
RecentListContents readRecentList(StoreFile &file, QStringView list);

/// Start's write into a list: `entry` as an entry (a value name with empty data; an entry that
/// is already there in any letter case adds nothing and keeps its place) and as the current
/// entry, in the list's order. Throws StoreError when the store refuses.
void rememberEntry(StoreFile &file, QStringView list, const QString &entry);

/// Empties a list: its subkey is deleted with all its values, the current entry included, and
/// created again. Throws StoreError when the store refuses.
void clearRecentList(StoreFile &file, QStringView list);

/// Whether a non-empty entry passes the list's display test.
bool showsEntry(QStringView list, const QString &entry);
/// The entries a list's menu shows, in store order: empty names and entries that fail the
/// display test are left out.
QStringList shownEntries(QStringView list, const QStringList &names);
/// The caption of an entry's menu item: the file lists show the file name without folder and
/// extension, the other lists the entry itself.
QString menuCaption(QStringView list, const QString &entry);
/// The text that restoring the current entry puts into a file, folder or web field: the entry
/// when it passes the field's test (existing file, existing directory, not empty), else empty.
QString restoredFieldText(QStringView list, const RecentListContents &contents);

/// The file name of a file field's text: the text itself when it names an existing file,
/// otherwise the first item of the text read as a command line, without its quotes.
QString fileNameOfFieldText(const QString &text);
/// The first item of a command line: up to the first blank outside double quotes, with the
/// quotes removed.
QString firstCommandLineItem(const QString &commandLine);

} // namespace tockwell
