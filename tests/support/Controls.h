#pragma once

#include <QObject>
#include <QStringView>
#include <QtGlobal>

namespace tockwell::test {

/// The control of `window` with that objectName; a test that names a missing one stops at once.
template <typename Control = QWidget> Control *child(const QObject &window, QStringView name)
{
    auto *found = window.findChild<Control *>(name.toString());
    if (!found)
        qFatal("no control named %s", qPrintable(name.toString()));
    return found;
}

} // namespace tockwell::test
