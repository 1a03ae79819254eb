#pragma once

#include <QString>

/// What the About window asks of the system: the program's version, the online test and the
/// temporary directory. None of them throws.
namespace tockwell::systeminfo {

/// The program's version as four decimal numbers joined by "." (for example "1.5.0.17"), from
/// the build.
QString versionString();

/// Whether the desktop reports a connection to the Internet. The network-state backend is
/// loaded on the first call; when no backend is available or the state is not known, true.
bool isOnline();

/// The temporary directory, ending in "/": $TMPDIR when it names an existing folder that
/// belongs to this user, else the system's /tmp; empty when that does not exist either.
QString tempDirectory();

} // namespace tockwell::systeminfo
