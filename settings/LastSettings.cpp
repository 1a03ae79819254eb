#include "LastSettings.h"

#include "Keys.h"
#include "Store.h"
#include "core/ArmedAlarm.h"

#include <algorithm>

namespace tockwell {

LastSettings readLastSettings(StoreFile &file)
{
    Store store(file);
    store.openKey(keys::Base);
    LastSettings last;
    last.countdown = store.readInteger(keys::O_ZA).value_or(keys::O_ZA_Clock) != keys::O_ZA_Clock;
    last.repeat = store.readBool(keys::Repeat).value_or(false);
    last.repeatTime = store.readString(keys::Repeat_Time).value_or(u"1"_qs);
    if (const auto kind = store.readString(keys::LastAction)) {
        const auto known = std::find_if(kinds::All.begin(), kinds::All.end(), [&](QStringView k) {
            return k.compare(*kind, Qt::CaseInsensitive) == 0;
        });
        if (known != kinds::All.end())
            last.lastKind = known->toString();
    }
    last.reboot = store.readString(keys::cb_Reboot).value_or(QString());
    last.other = store.readString(keys::cb_Inne).value_or(QString());
    return last;
}

void writeStartSettings(StoreFile &file, bool countdown, bool repeat, const QString &repeatTime,
                        const QString &lastKind)
{
    Store store(file);
    store.openKey(keys::Base);
    store.writeInteger(keys::O_ZA, countdown ? keys::O_ZA_Countdown : keys::O_ZA_Clock);
    store.writeBool(keys::Repeat, repeat);
    store.writeString(keys::Repeat_Time, repeatTime);
    store.writeString(keys::LastAction, lastKind);
}

} // namespace tockwell
