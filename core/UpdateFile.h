#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

namespace tockwell {

/// The largest update file the program reads or downloads: 1 MiB.
inline constexpr qint64 MaxUpdateFileSize = 1024 * 1024;

/// Whether `newest` is a newer version than `current`. Both are split at their first three "."
/// into four parts, each a decimal number (the fourth part is everything after the third dot);
/// the first part that differs decides. A version that cannot be read that way, on either side,
/// is never newer; equal versions are not newer.
bool isNewerVersion(const QString &newest, const QString &current);

/// An INI file read as the desktop profile functions read it: "[section]" lines and
/// "key=value" lines, blanks around names and values dropped, quotes around a value dropped,
/// ";" comment lines, section and key names matched without regard to letter case, the first
/// of equal names counting, values cut to 2047 characters. Lines that are none of these are
/// skipped.
class ProfileIni final
{
public:
    static ProfileIni fromBytes(const QByteArray &contents);
    /// Nothing when the file cannot be read.
    static std::optional<ProfileIni> fromFile(const QString &path);

    /// Whether the section exists and holds at least one key.
    bool hasKeys(const QString &section) const;
    /// The value of a key; nothing when the section or the key is missing.
    std::optional<QString> value(const QString &section, const QString &key) const;

private:
    struct Section
    {
        QString name;
        std::vector<std::pair<QString, QString>> keys;
    };
    const Section *find(const QString &section) const;

    std::vector<Section> m_sections;
};

/// What the update check knows; it lives for the whole run.
struct UpdateInfo
{
    QString newestVersion = u"1.0.0.0"_qs;
    QString downloadAddress;
    QString updateNote;
    QString homePage;  ///< the home-page link's address
    QString otherPage; ///< the optional link's address; empty: the link is not shown
};

/// Takes the values of a downloaded update file into `info`; `file` is nothing when the
/// download failed. `builtInHomePage` stands in for a home page that the file does not give.
void takeUpdateFile(const ProfileIni *file, const QString &builtInHomePage, UpdateInfo &info);

/// Whether `address` is an http or https address with a host: the only addresses from the
/// network that the program lets the desktop open.
bool isWebAddress(const QString &address);

} // namespace tockwell
