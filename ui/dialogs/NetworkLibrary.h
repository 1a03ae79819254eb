#pragma once

#include "network/NetworkBackend.h"
#include "platform/LibraryBackend.h"

namespace tockwell {

/// The network back end's library (tockwell-network.so), opened at the first update check: a
/// start does not load Qt Network.
class NetworkLibrary final : public platform::LibraryBackend<network::Backend>
{
public:
    /// The library at `file`; by default the one next to the program.
    explicit NetworkLibrary(QString file = besideProgram(u"tockwell-network.so"_qs))
        : LibraryBackend(std::move(file), network::EntryPoint, network::InterfaceVersion)
    {}
};

} // namespace tockwell
