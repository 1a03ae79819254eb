#pragma once

#include <QString>

/// Small utilities shared by the forms: the program's version, and the system's
/// directories. None of them throws.
namespace tockwell::systeminfo {

/// The program's version as four decimal numbers joined by "." (for example "1.5.0.17"), from
/// the build.
QString versionString();

/// The temporary directory, ending in "/": $TMPDIR when it names an existing folder that
/// belongs to this user, else the system's /tmp; empty when that does not exist either.
QString tempDirectory();

/// A system directory by its Windows name, compared in upper case: "WIN" gives /usr (the
/// system's own tree), "SYS" gives /usr/bin (the system's programs); any other name gives an
/// empty text. No trailing "/".
QString systemDirectory(const QString &name);

} // namespace tockwell::systeminfo
