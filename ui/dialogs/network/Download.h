#pragma once

#include "core/UpdateFile.h"

#include <QString>
#include <QUrl>

#include <chrono>
#include <memory>

class QNetworkAccessManager;
class QTemporaryFile;

namespace tockwell {

/// Whether the desktop reports a connection to the Internet. The network-state backend is
/// loaded on the first call; when no backend is available or the state is not known, true.
bool isOnline();

/// Downloads `url` into a new private temporary file in `directory` (readable by this user
/// only) and returns it, closed; it is deleted when the returned object goes. Waits for the end
/// of the download, keeping timers and network events running but taking no user input. Nothing
/// when the download failed: `directory` is no existing folder, an error reply, an HTTP status
/// other than 2xx, more than 1 MiB announced or sent (the download stops there: no more is ever
/// held in memory), or not finished within `timeLimit`.
std::unique_ptr<QTemporaryFile> downloadToTemporaryFile(QNetworkAccessManager &network,
                                                        const QUrl &url, const QString &directory,
                                                        std::chrono::milliseconds timeLimit);

} // namespace tockwell
