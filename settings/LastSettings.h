#pragma once

#include <QString>

#include <optional>

namespace tockwell {

class StoreFile;

/// The setup window's last-used values of the base key, as the window restores them.
struct LastSettings
{
    bool countdown = false;          ///< `O_ZA` other than 1
    bool repeat = false;             ///< `Repeat`
    QString repeatTime;              ///< `Repeat_Time`, "1" when missing
    std::optional<QString> lastKind; ///< the kind text that `LastAction` names, letter case aside
    QString reboot;                  ///< `cb_Reboot`, empty when missing
    QString other;                   ///< `cb_Inne`, empty when missing
};

/// Reads the last-used values by the reading rule; never fails.
LastSettings readLastSettings(StoreFile &file);

/// Start's first writes, in this order: `O_ZA`, `Repeat`, `Repeat_Time`, `LastAction`.
/// Throws StoreError when the store refuses one; the ones before it stay written.
void writeStartSettings(StoreFile &file, bool countdown, bool repeat, const QString &repeatTime,
                        const QString &lastKind);

} // namespace tockwell
