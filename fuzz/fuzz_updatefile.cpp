// The update file as downloaded: any bytes read as an INI file and taken into what the update
// check knows. Values stay within their length, a value found is found again by any letter
// case of its names, and what reaches the desktop from the file is checked as a web address.
#include "FuzzCheck.h"
#include "core/UpdateFile.h"

#include <QUrl>

using namespace tockwell;
using tockwell::fuzz::check;

namespace {

constexpr qsizetype MaxValueLength = 2047;

void checkValue(const ProfileIni &ini, const QString &section, const QString &key)
{
    const auto value = ini.value(section, key);
    if (!value)
        return;
    check(value->size() <= MaxValueLength, "value cut to 2047 characters", *value);
    check(ini.hasKeys(section), "a section with a value has keys", section);
    check(ini.value(section.toUpper(), key.toLower()) == value, "names match in any case", key);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const ProfileIni ini = ProfileIni::fromBytes(fuzz::bytesOf(data, size));
    for (const QString &key : {u"KestrolabHomePage"_qs, u"CV_File"_qs})
        checkValue(ini, u"dane"_qs, key);
    for (const QString &key : {u"version"_qs, u"url"_qs, u"new"_qs})
        checkValue(ini, u"Tockwell"_qs, key);

    UpdateInfo info;
    takeUpdateFile(&ini, u"https://www.kestrolab.pl/"_qs, info);
    check(info.newestVersion.size() <= MaxValueLength, "version length", info.newestVersion);
    check(!isNewerVersion(info.newestVersion, info.newestVersion), "newer than itself",
          info.newestVersion);
    isNewerVersion(info.newestVersion, u"1.5.0.17"_qs);
    for (const QString &address : {info.downloadAddress, info.homePage, info.otherPage}) {
        if (isWebAddress(address)) {
            const QString scheme = QUrl(address).scheme().toLower();
            check(scheme == u"http" || scheme == u"https", "only http(s) is a web address",
                  address);
        }
    }
    return 0;
}
