#pragma once

#include <QDir>
#include <QString>
#include <QStringView>

namespace tockwell::help {

/// The help pages in the "help" folder next to the program.
inline constexpr QStringView ProgramPage = u"tockwell.html";  ///< tray, options, About
inline constexpr QStringView SetupWindowPage = u"alarm.html"; ///< the setup window's F1

/// The path of the help page `page` for a program living in `programDir`.
inline QString pagePath(const QString &programDir, QStringView page)
{
    return QDir(programDir).filePath(QStringLiteral("help/") + page.toString());
}

} // namespace tockwell::help
