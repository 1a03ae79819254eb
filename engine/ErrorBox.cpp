#include "ErrorBox.h"

#include "core/Error.h"
#include "platform/Dialogs.h"

namespace tockwell {

QString errorBoxText(const QString &text)
{
    if (!text.isEmpty() && text.back() > QLatin1Char('.'))
        return text + QLatin1Char('.');
    return text;
}

void showErrorBox(platform::Dialogs &dialogs, const QString &text)
{
    try {
        dialogs.messageBox(errorBoxText(text), QString::fromUtf16(AppTitle),
                           platform::mb::Ok | platform::mb::IconError);
    } catch (...) {
        qWarning("%s", qUtf8Printable(text)); // the box itself failed: the text is not lost
    }
}

QString errorText(const std::exception &e)
{
    if (const auto *error = dynamic_cast<const Error *>(&e))
        return error->text();
    return QString::fromLocal8Bit(e.what());
}

} // namespace tockwell
