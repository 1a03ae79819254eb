#pragma once

#include <QObject>
#include <QString>

#include <exception>
#include <type_traits>

namespace tockwell {
namespace platform {
class Dialogs;
}

/// The application title: the caption of the standard error box.
inline constexpr auto AppTitle = u"Tockwell";

/// The text of the standard error box: `text` with a full stop added when its last character
/// sorts after ".".
QString errorBoxText(const QString &text);

/// The standard error box: the text, the title "Tockwell", the stop icon and one OK button.
void showErrorBox(platform::Dialogs &dialogs, const QString &text);

/// The text of an error: the program's own text for an Error, else what the exception says.
QString errorText(const std::exception &e);

/// Runs one entry point from the event loop (a slot, a timer, a menu command). An error it throws
/// ends it and is shown in the standard error box; no exception crosses the event loop.
template <typename Handler> void guarded(platform::Dialogs &dialogs, Handler &&handler) noexcept
{
    try {
        handler();
    } catch (const std::exception &e) {
        showErrorBox(dialogs, errorText(e));
    } catch (...) {
        showErrorBox(dialogs, QStringLiteral("Unknown error"));
    }
}

/// Connects `signal` of `sender` to `slot`, run inside the guard (see guarded()) for as long as
/// `receiver` lives. `slot` takes no arguments: a member function of `receiver` or any callable.
template <typename Sender, typename Signal, typename Receiver, typename Slot>
QMetaObject::Connection connectGuarded(platform::Dialogs &dialogs, const Sender *sender,
                                       Signal signal, Receiver *receiver, Slot slot)
{
    if constexpr (std::is_member_function_pointer_v<Slot>)
        return QObject::connect(sender, signal, receiver, [&dialogs, receiver, slot] {
            guarded(dialogs, [&] { (receiver->*slot)(); });
        });
    else
        return QObject::connect(sender, signal, receiver,
                                [&dialogs, slot] { guarded(dialogs, slot); });
}

} // namespace tockwell
