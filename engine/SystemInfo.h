#pragma once

#include <QString>

/// What the About window asks of the system: the program's version and the temporary
/// directory. None of them throws.
namespace tockwell::systeminfo {

/// The program's version as four decimal numbers joined by "." (for example "1.5.0.17"), from
/// the build.
QString versionString();

/// The temporary directory, ending in "/": $TMPDIR when it names an existing folder that
/// belongs to this user, else the system's /tmp; empty when that does not exist either.
QString tempDirectory();

} // namespace tockwell::systeminfo
