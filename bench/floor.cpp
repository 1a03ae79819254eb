// The floor of the benchmarks: the least a Qt Widgets program with a tray icon is. A window
// shown and a tray icon (a plain filled square, so that no picture is decoded) whose click hides
// or shows the window, nothing else.
// bench/start_idle.sh measures it beside Tockwell in the same run, so that Tockwell's figures
// can be read as ratios to it.

#include <QApplication>
#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Tockwell floor"));
    window.resize(360, 240);
    window.show();
    QPixmap square(22, 22);
    square.fill(QColor(0x30, 0x60, 0xa0));
    QSystemTrayIcon tray{QIcon(square)};
    QObject::connect(&tray, &QSystemTrayIcon::activated,
                     [&window] { window.setVisible(!window.isVisible()); });
    tray.show();
    return QApplication::exec();
}
