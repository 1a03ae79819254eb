#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace tockwell {

struct ArmedAlarm;
class StoreFile;

/// The places on this system that first-run seeding looks at. forProgram() gives the real ones;
/// tests point them at a temporary folder.
struct SeedingPaths
{
    QString programFile; ///< full path of the running program; written as `Path`
    QString programDir;  ///< its folder; the shipped sounds are in its "sound" folder
    QString version;     ///< written as `Version`

    QString systemSoundDir;   ///< the system's own alert sounds
    QStringList textEditors;  ///< the first of these that exists is seeded as a program
    QStringList musicPlayers; ///< the first of these that exists is seeded as a program
    QString systemDir;        ///< seeded as a folder when it exists
    QString programsDir;      ///< seeded as a folder when it exists
    QString rootDir;          ///< seeded as a folder without a test

    /// The real places for the program file at `programFile` (the program passes
    /// QCoreApplication::applicationFilePath()).
    static SeedingPaths forProgram(const QString &programFile);
};

/// The folder of the desktop's own alert sounds (the freedesktop sound theme), without a
/// trailing slash.
QString systemSoundFolder();

/// The entries that seeding writes into `list`, in writing order, for these places (the lists
/// with file candidates hold only those that exist); its row's defaults (RecentListSpec).
QStringList defaultEntries(QStringView list, const SeedingPaths &paths);

/// The sound list's defaults: the shipped sounds and the system's alert sounds that exist.
QStringList defaultSounds(const SeedingPaths &paths);
/// The program list's defaults: the first text editor and the first music player that exist.
QStringList defaultPrograms(const SeedingPaths &paths);
/// The folder list's defaults: the system and programs folders that exist, and the root.
QStringList defaultFolders(const SeedingPaths &paths);

/// Whether the store needs seeding: `Path` is missing (or not a string), or the file it names
/// does not exist.
bool seedingNeeded(StoreFile &file);

/// Writes `Version`, `Path` and `Name` and the default entries of every seeded list. Entries
/// already present keep their place; nothing is removed; no current entry is written. All of it
/// is written together or not at all. Throws StoreError when the store refuses.
void seedStore(StoreFile &file, const SeedingPaths &paths);

/// Reads the five option flags into the alarm record (false when missing or not REG_DWORD), and
/// WakeFromSleep (true when missing or not REG_DWORD).
void loadOptionFlags(StoreFile &file, ArmedAlarm &alarm);
/// Writes the five option flags of the alarm record and WakeFromSleep. Throws StoreError when the
/// store refuses.
void saveOptionFlags(StoreFile &file, const ArmedAlarm &alarm);

/// Start-up: seeds the store when needed and it can be written, then loads the option flags.
/// Throws StoreError when seeding was needed and the store refused it; the flags are loaded
/// either way.
void prepareStore(StoreFile &file, const SeedingPaths &paths, ArmedAlarm &alarm);

} // namespace tockwell
