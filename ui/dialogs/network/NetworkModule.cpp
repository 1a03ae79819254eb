// The entry point of tockwell-network.so.

#include "Download.h"
#include "NetworkBackend.h"

#include <QNetworkAccessManager>

namespace tockwell::network {
namespace {

class QtNetworkBackend final : public Backend
{
public:
    bool isOnline() override { return tockwell::isOnline(); }

    std::unique_ptr<QTemporaryFile> download(const QUrl &url, const QString &directory,
                                             std::chrono::milliseconds timeLimit) override
    {
        return downloadToTemporaryFile(m_network, url, directory, timeLimit);
    }

private:
    QNetworkAccessManager m_network;
};

} // namespace
} // namespace tockwell::network

// NOLINTNEXTLINE(readability-identifier-naming): the name the loader looks up
extern "C" Q_DECL_EXPORT tockwell::network::Backend *tockwell_network_backend(int version)
{
    using namespace tockwell::network;
    return version == InterfaceVersion ? new QtNetworkBackend : nullptr;
}
