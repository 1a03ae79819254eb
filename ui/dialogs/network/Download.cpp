#include "Download.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkInformation>
#include <QNetworkReply>
#include <QTemporaryFile>
#include <QTimer>

#include <optional>

namespace tockwell {
namespace {

/// How much of a reply Qt may hold that this code has not read yet: the network thread stops
/// reading the connection while that much is waiting.
constexpr qint64 ReadChunkSize = 64 * 1024;

/// The body of `reply`, read as it arrives, when it finished within `timeLimit` and was no
/// larger than MaxUpdateFileSize. The reply is aborted as soon as it announces a larger body
/// or sends more, so no more than that and one chunk is ever held, whatever the server sends.
std::optional<QByteArray> readBody(QNetworkReply &reply, std::chrono::milliseconds timeLimit)
{
    QByteArray body;
    bool failed = false;
    const auto fail = [&] {
        failed = true;
        reply.abort();
    };
    const auto take = [&] {
        body += reply.read(MaxUpdateFileSize + 1 - body.size());
        if (body.size() > MaxUpdateFileSize)
            fail();
    };
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, fail);
    QObject::connect(&reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(&reply, &QNetworkReply::metaDataChanged, &loop, [&] {
        const QVariant length = reply.header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > MaxUpdateFileSize)
            fail();
    });
    QObject::connect(&reply, &QNetworkReply::readyRead, &loop, take);
    limit.start(timeLimit);
    if (!reply.isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!failed)
        take();
    return failed ? std::nullopt : std::optional(body);
}

} // namespace

bool isOnline()
{
    // Loading a backend costs a plugin and, for some, a D-Bus connection: only when first asked.
    if (!QNetworkInformation::instance() && !QNetworkInformation::loadDefaultBackend() &&
        !QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability))
        return true;
    const QNetworkInformation *info = QNetworkInformation::instance();
    if (!info || !info->supports(QNetworkInformation::Feature::Reachability))
        return true;
    switch (info->reachability()) {
    case QNetworkInformation::Reachability::Disconnected:
    case QNetworkInformation::Reachability::Local:
        return false;
    case QNetworkInformation::Reachability::Unknown:
    case QNetworkInformation::Reachability::Site:
    case QNetworkInformation::Reachability::Online:
        break;
    }
    return true;
}

std::unique_ptr<QTemporaryFile> downloadToTemporaryFile(QNetworkAccessManager &network,
                                                        const QUrl &url, const QString &directory,
                                                        std::chrono::milliseconds timeLimit)
{
    // Never beside a folder that is not there (a missing $TMPDIR would put the file into "/").
    if (directory.isEmpty() || !QFileInfo(directory).isDir())
        return nullptr;
    QNetworkRequest request(url);
    request.setTransferTimeout(int(timeLimit.count()));
    // The size limit counts the bytes that arrive: no compressed body that unpacks to more.
    request.setRawHeader("Accept-Encoding", "identity");
    const std::unique_ptr<QNetworkReply> reply(network.get(request));
    reply->setReadBufferSize(ReadChunkSize);
    const std::optional<QByteArray> contents = readBody(*reply, timeLimit);
    if (!contents || reply->error() != QNetworkReply::NoError)
        return nullptr;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && (status.toInt() < 200 || status.toInt() > 299))
        return nullptr;

    // A name of its own, created exclusively and readable by this user only: nobody can plant
    // or swap the file that is read.
    auto file = std::make_unique<QTemporaryFile>(QDir(directory).filePath(u"dane-XXXXXX.ini"_qs));
    if (!file->open() || file->write(*contents) != contents->size() || !file->flush())
        return nullptr;
    file->close();
    return file;
}

} // namespace tockwell
