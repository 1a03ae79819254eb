#include "UpdateFile.h"

#include <QFile>
#include <QUrl>

#include <algorithm>
#include <array>

namespace tockwell {
namespace {

constexpr qsizetype MaxValueLength = 2047;

constexpr auto DataSection = u"dane";
constexpr auto VersionSection = u"Tockwell";

/// The four numbers of a version, or nothing when it cannot be read.
std::optional<std::array<int, 4>> versionParts(const QString &version)
{
    std::array<int, 4> numbers{};
    qsizetype start = 0;
    for (int part = 0; part < 4; ++part) {
        const qsizetype dot = part < 3 ? version.indexOf(u'.', start) : version.size();
        if (dot < 0)
            return std::nullopt;
        const QStringView text = QStringView(version).mid(start, dot - start);
        const bool digits = !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
            return c >= u'0' && c <= u'9';
        });
        bool ok = false;
        numbers[size_t(part)] = text.toInt(&ok);
        if (!digits || !ok)
            return std::nullopt;
        start = dot + 1;
    }
    return numbers;
}

QString unquoted(QString value)
{
    if (value.size() >= 2 && value.front() == value.back() &&
        (value.front() == u'"' || value.front() == u'\''))
        value = value.mid(1, value.size() - 2);
    return value.left(MaxValueLength);
}

} // namespace

bool isNewerVersion(const QString &newest, const QString &current)
{
    const auto newer = versionParts(newest);
    const auto mine = versionParts(current);
    return newer && mine && *newer > *mine;
}

ProfileIni ProfileIni::fromBytes(const QByteArray &contents)
{
    ProfileIni ini;
    Section *section = nullptr;
    QByteArray bytes = contents;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    for (const QByteArray &rawLine : bytes.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            const QString name = line.mid(1, close < 0 ? -1 : close - 1).trimmed();
            // A second section of the same name adds nothing: the first one counts.
            if (ini.find(name)) {
                section = nullptr;
            } else {
                ini.m_sections.push_back({name, {}});
                section = &ini.m_sections.back();
            }
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!section || equals <= 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const bool known =
            std::any_of(section->keys.begin(), section->keys.end(), [&](const auto &k) {
                return k.first.compare(key, Qt::CaseInsensitive) == 0;
            });
        if (!known)
            section->keys.emplace_back(key, unquoted(line.mid(equals + 1).trimmed()));
    }
    return ini;
}

std::optional<ProfileIni> ProfileIni::fromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return fromBytes(file.read(MaxUpdateFileSize));
}

const ProfileIni::Section *ProfileIni::find(const QString &section) const
{
    for (const Section &s : m_sections)
        if (s.name.compare(section, Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

bool ProfileIni::hasKeys(const QString &section) const
{
    const Section *s = find(section);
    return s && !s->keys.empty();
}

std::optional<QString> ProfileIni::value(const QString &section, const QString &key) const
{
    if (const Section *s = find(section))
        for (const auto &[name, value] : s->keys)
            if (name.compare(key, Qt::CaseInsensitive) == 0)
                return value;
    return std::nullopt;
}

void takeUpdateFile(const ProfileIni *file, const QString &builtInHomePage, UpdateInfo &info)
{
    const QString data = QString::fromUtf16(DataSection);
    const QString version = QString::fromUtf16(VersionSection);
    if (file && file->hasKeys(data)) {
        info.homePage = file->value(data, u"KestrolabHomePage"_qs).value_or(builtInHomePage);
        info.otherPage = file->value(data, u"CV_File"_qs).value_or(QString());
    } else {
        info.homePage = builtInHomePage;
        info.otherPage.clear();
    }
    if (file && file->hasKeys(version)) {
        info.newestVersion = file->value(version, u"version"_qs).value_or(info.newestVersion);
        info.downloadAddress = file->value(version, u"url"_qs).value_or(info.downloadAddress);
        info.updateNote = file->value(version, u"new"_qs).value_or(info.updateNote);
    } else {
        info.downloadAddress.clear();
        info.updateNote.clear();
    }
}

bool isWebAddress(const QString &address)
{
    const QUrl url(address, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == u"http" || scheme == u"https") && !url.host().isEmpty();
}

} // namespace tockwell
