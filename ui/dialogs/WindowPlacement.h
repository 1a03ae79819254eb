#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace tockwell {

/// Places `window` in the middle of the available area of the primary screen.
inline void centreOnScreen(QWidget &window)
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}

} // namespace tockwell
