#pragma once

#include <QStringView>

/// The D-Bus signal on the session bus that says the store was changed from outside the
/// program (by `tockwell-reg`): a running program reads its armed alarms again. No arguments.
namespace tockwell::storechanged {

inline constexpr QStringView Path = u"/pl/kestrolab/Tockwell";
inline constexpr QStringView Interface = u"pl.kestrolab.Tockwell";
inline constexpr QStringView Member = u"StoreChanged";

} // namespace tockwell::storechanged
