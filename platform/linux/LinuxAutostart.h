#pragma once

#include "../Autostart.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace tockwell::platform {

/// The program's entry in the desktop's per-user autostart: the XDG autostart file
/// "Alarm.desktop" that starts the program by its full path when the user logs on.
///
/// An entry is in its plain form when it is an application entry that is not switched off and
/// whose command is exactly one absolute path, with no field codes and no further arguments.
/// Anything else (a command with arguments, `sh -c …`, `env …`, a field code such as %f) is an
/// entry someone else wrote: it is reported but never counted as ours.
class LinuxAutostart final : public Autostart
{
public:
    /// The entry in `directory` (the autostart folder).
    explicit LinuxAutostart(QString directory = defaultDirectory());

    /// The user's autostart folder: "autostart" under $XDG_CONFIG_HOME (~/.config when unset).
    static QString defaultDirectory();

    /// The entry's file.
    QString filePath() const;

    /// The program that a plain entry starts; nothing when the file is missing, unreadable or
    /// not in the plain form.
    std::optional<QString> plainProgram() const;

    bool isActive() override;
    /// Written whole or not at all (a new file renamed over the old one).
    bool write(const QString &programFile) override;
    bool removeIfActive() override;

private:
    QString m_directory;
};

/// The arguments of a desktop entry's Exec value (its string escapes already undone), quoted
/// as desktop entries quote them; "%%" becomes "%". Nothing when the quoting is broken or a
/// field code (%f, %U, …) appears.
std::optional<QStringList> splitExecLine(const QString &exec);

/// The Exec value that starts `program` with no arguments: quoted when it holds a reserved
/// character, "%" doubled.
QString execLineFor(const QString &program);

} // namespace tockwell::platform
