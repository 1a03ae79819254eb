#pragma once

// The narrow interface between the program and its network back end, which lives in a library
// of its own (tockwell-network.so, next to the program) so that Qt Network and what it loads
// (proxy and Kerberos libraries) come with the first update check rather than at every start.
// Both sides are built together; the version guards against a library from another build.

#include <QString>
#include <QTemporaryFile>
#include <QUrl>

#include <chrono>
#include <memory>

namespace tockwell::network {

/// Bumped whenever the class below changes.
constexpr int InterfaceVersion = 1;

/// The library's one exported function: `Backend *tockwell_network_backend(int version)`, a new
/// back end owned by the caller, or nullptr when `version` is not the library's.
constexpr const char *EntryPoint = "tockwell_network_backend";

class Backend
{
public:
    Backend() = default;
    Backend(const Backend &) = delete;
    Backend &operator=(const Backend &) = delete;
    virtual ~Backend() = default;

    /// Whether the desktop reports a connection to the Internet (isOnline() of Download.h).
    virtual bool isOnline() = 0;
    /// Downloads `url` as downloadToTemporaryFile() of Download.h does.
    virtual std::unique_ptr<QTemporaryFile> download(const QUrl &url, const QString &directory,
                                                     std::chrono::milliseconds timeLimit) = 0;
};

} // namespace tockwell::network
