#include "Seeding.h"

#include "Keys.h"
#include "RecentList.h"
#include "Store.h"
#include "core/ArmedAlarm.h"

#include <QDir>
#include <QFileInfo>

#include <Version.h>

namespace tockwell {

namespace {

const QString ApplicationTitle = u"Tockwell"_qs;

bool isFile(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

QString withSlash(const QString &dir)
{
    return dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
}

/// A sound candidate: the name tested and the name written. They differ only in letter case.
struct SoundCandidate
{
    bool shipped; ///< in the program's "sound" folder, else in the system's sound folder
    QStringView tested;
    QStringView written;
};

// The system rows stand for the Windows "Media" sounds (logon, logoff, chimes, ding, ring-in,
// ring-out, tada) with the freedesktop sound theme's sounds of the same purpose.
constexpr SoundCandidate SoundCandidates[] = {
    {.shipped = false, .tested = u"service-login.oga", .written = u"service-login.oga"},
    {.shipped = true, .tested = u"budzik.mp3", .written = u"Budzik.mp3"},
    {.shipped = true, .tested = u"telefon.wav", .written = u"Telefon.wav"},
    {.shipped = true, .tested = u"Alarm.mp3", .written = u"Alarm.mp3"},
    {.shipped = true, .tested = u"Big ben.mp3", .written = u"Big ben.mp3"},
    {.shipped = true, .tested = u"Coo-coo.mp3", .written = u"Coo-coo.mp3"},
    {.shipped = true, .tested = u"Flaga na maszt.mp3", .written = u"Flaga na maszt.mp3"},
    {.shipped = true, .tested = u"Płacz tarzana.mp3", .written = u"Płacz tarzana.mp3"},
    {.shipped = true, .tested = u"Syrena policyjna.mp3", .written = u"Syrena policyjna.mp3"},
    {.shipped = false, .tested = u"desktop-login.oga", .written = u"desktop-login.oga"},
    {.shipped = false, .tested = u"desktop-logout.oga", .written = u"desktop-logout.oga"},
    {.shipped = false, .tested = u"bell.oga", .written = u"bell.oga"},
    {.shipped = false, .tested = u"message.oga", .written = u"message.oga"},
    {.shipped = false, .tested = u"phone-incoming-call.oga", .written = u"phone-incoming-call.oga"},
    {.shipped = false,
     .tested = u"phone-outgoing-calling.oga",
     .written = u"phone-outgoing-calling.oga"},
    {.shipped = false, .tested = u"complete.oga", .written = u"complete.oga"},
};

QStringList firstExisting(const QStringList &candidates)
{
    for (const QString &path : candidates) {
        if (isFile(path))
            return {path};
    }
    return {};
}

} // namespace

QString systemSoundFolder()
{
    return u"/usr/share/sounds/freedesktop/stereo"_qs;
}

SeedingPaths SeedingPaths::forProgram(const QString &programFile)
{
    SeedingPaths paths;
    paths.programFile = programFile;
    paths.programDir = withSlash(QFileInfo(programFile).absolutePath());
    paths.version = QStringLiteral(TOCKWELL_VERSION);
    paths.systemSoundDir = systemSoundFolder();
    paths.textEditors = {u"/usr/bin/gedit"_qs,    u"/usr/bin/gnome-text-editor"_qs,
                         u"/usr/bin/kate"_qs,     u"/usr/bin/kwrite"_qs,
                         u"/usr/bin/mousepad"_qs, u"/usr/bin/pluma"_qs,
                         u"/usr/bin/xed"_qs,      u"/usr/bin/featherpad"_qs};
    paths.musicPlayers = {u"/usr/bin/audacious"_qs,  u"/usr/bin/vlc"_qs,
                          u"/usr/bin/rhythmbox"_qs,  u"/usr/bin/strawberry"_qs,
                          u"/usr/bin/clementine"_qs, u"/usr/bin/elisa"_qs,
                          u"/usr/bin/qmmp"_qs};
    paths.systemDir = u"/usr"_qs;
    paths.programsDir = u"/opt"_qs;
    paths.rootDir = u"/"_qs;
    return paths;
}

QStringList defaultEntries(QStringView list, const SeedingPaths &paths)
{
    const RecentListSpec &spec = recentListSpec(list);
    return spec.defaultEntries ? spec.defaultEntries(paths) : QStringList();
}

QStringList defaultSounds(const SeedingPaths &paths)
{
    QStringList entries;
    for (const SoundCandidate &c : SoundCandidates) {
        const QString dir = c.shipped ? withSlash(paths.programDir) + u"sound/"_qs
                                      : withSlash(paths.systemSoundDir);
        const QString tested = dir + c.tested.toString();
        const QString written = dir + c.written.toString();
        // On a file system that tells letter cases apart the two names are two files: the
        // written form is the one shipped, so either one existing counts.
        if (isFile(written))
            entries << written;
        else if (isFile(tested))
            entries << tested;
    }
    return entries;
}

QStringList defaultFolders(const SeedingPaths &paths)
{
    QStringList entries;
    for (const QString &dir : {paths.systemDir, paths.programsDir}) {
        if (!dir.isEmpty() && QFileInfo(dir).isDir())
            entries << dir;
    }
    entries << paths.rootDir;
    return entries;
}

QStringList defaultPrograms(const SeedingPaths &paths)
{
    return firstExisting(paths.textEditors) + firstExisting(paths.musicPlayers);
}

bool seedingNeeded(StoreFile &file)
{
    Store store(file);
    store.openKey(keys::Base);
    const auto path = store.readString(keys::Path);
    return !path || !isFile(*path);
}

void seedStore(StoreFile &file, const SeedingPaths &paths)
{
    // One transaction: a program stopped half-way must not leave a `Path` that says the
    // seeding is done.
    StoreTransaction transaction(file);
    Store store(file);
    store.openKey(keys::Base);
    store.writeString(keys::Version, paths.version);
    store.writeString(keys::Path, paths.programFile);
    store.writeString(keys::Name, ApplicationTitle);
    for (const RecentListSpec &spec : recentListSpecs()) {
        if (!spec.defaultEntries)
            continue;
        Store listStore(file);
        listStore.openKey(keys::under(spec.list));
        for (const QString &entry : spec.defaultEntries(paths))
            listStore.writeString(entry, QString());
    }
    transaction.commit();
}

void loadOptionFlags(StoreFile &file, ArmedAlarm &alarm)
{
    Store store(file);
    store.openKey(keys::Base);
    const auto flag = [&store](QStringView name) { return store.readBool(name).value_or(false); };
    alarm.AutoMinimize = flag(keys::AutoMinimize);
    alarm.ScreenSaverOff = flag(keys::Wyg_Off);
    alarm.MinimizeAll = flag(keys::MinimizeAll);
    alarm.MinimizeProg = flag(keys::MinimizeProg);
    alarm.PlayBeep = flag(keys::PlayBeep);
    alarm.WakeFromSleep = store.readBool(keys::WakeFromSleep).value_or(true);
}

void saveOptionFlags(StoreFile &file, const ArmedAlarm &alarm)
{
    Store store(file);
    store.openKey(keys::Base);
    store.writeBool(keys::AutoMinimize, alarm.AutoMinimize);
    store.writeBool(keys::Wyg_Off, alarm.ScreenSaverOff);
    store.writeBool(keys::MinimizeAll, alarm.MinimizeAll);
    store.writeBool(keys::MinimizeProg, alarm.MinimizeProg);
    store.writeBool(keys::PlayBeep, alarm.PlayBeep);
    store.writeBool(keys::WakeFromSleep, alarm.WakeFromSleep);
}

void prepareStore(StoreFile &file, const SeedingPaths &paths, ArmedAlarm &alarm)
{
    try {
        // A store that can only be read is not seeded: the user is told once why (notice()).
        if (file.isWritable() && seedingNeeded(file))
            seedStore(file, paths);
    } catch (const StoreError &) {
        loadOptionFlags(file, alarm);
        throw;
    }
    loadOptionFlags(file, alarm);
}

} // namespace tockwell
