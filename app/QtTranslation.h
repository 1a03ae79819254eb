#pragma once

class QCoreApplication;

namespace tockwell {

/// Installs Qt's own Polish texts (standard buttons, file and folder dialogs) from Qt's
/// translations folder, whatever the session's language: the program speaks Polish, so its
/// dialogs do too. Returns whether the catalogue was found; without it they stay English.
bool installQtPolish(QCoreApplication &application);

} // namespace tockwell
