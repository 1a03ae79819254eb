#include "LinuxPlatform.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QUrl>

namespace tockwell::platform {
namespace {

// Operations this desktop backend does not perform yet say so instead of pretending.
void unavailable(const char *operation)
{
    qWarning("%s is not available on this desktop", operation);
}

Failure notSupported()
{
    return Failure{50, QStringLiteral("The request is not supported.")};
}

class LinuxShell final : public Shell
{
public:
    void open(const QString &target, const QString &parameters, ShowCommand) override
    {
        const QFileInfo file(target);
        if (file.isFile() && file.isExecutable()) {
            QProcess::startDetached(file.absoluteFilePath(), QProcess::splitCommand(parameters),
                                    file.absolutePath());
            return;
        }
        const QUrl url = file.exists() ? QUrl::fromLocalFile(file.absoluteFilePath())
                                       : QUrl::fromUserInput(target);
        QDesktopServices::openUrl(url);
    }
    void openFileManager() override
    {
        QDesktopServices::openUrl(QUrl::fromLocalFile(QDir::homePath()));
    }
    void openBlankBrowser() override
    {
        QDesktopServices::openUrl(QUrl(QStringLiteral("about:blank")));
    }
    void openControlPanel() override { unavailable("Opening the settings program"); }
};

class LinuxSession final : public Session
{
public:
    void exitSession(SessionEnd) override { unavailable("Ending the session"); }
    bool usesPrivileges() override { return true; }
    std::optional<Failure> adjustPrivilege(const QString &, bool) override
    {
        return notSupported();
    }
    std::optional<Failure> setPowerState(bool, bool) override { return notSupported(); }
};

class LinuxInput final : public Input
{
public:
    QPoint cursorPos() override { return QCursor::pos(); }
    void setCursorPos(QPoint pos) override { QCursor::setPos(pos); }
    void mouseButton(MouseButtonEvent, QPoint) override { unavailable("Simulating a click"); }
    void suspendKeyboard() override { unavailable("Suspending the keyboard"); }
    void suspendMouse() override { unavailable("Suspending the mouse"); }
};

class LinuxDisplay final : public Display
{
public:
    QRect workArea() override
    {
        const QScreen *screen = QGuiApplication::primaryScreen();
        return screen ? screen->availableGeometry() : QRect();
    }
    void minimizeAllWindows() override { unavailable("Minimising all windows"); }
    void startScreenSaver() override { unavailable("Starting the screen saver"); }
    void monitorLowPower() override { unavailable("Switching the monitor off"); }
};

class LinuxAudio final : public Audio
{
public:
    void maximiseVolume() override { unavailable("Setting the volume"); }
    void beep() override { QApplication::beep(); }
};

class LinuxOpticalDrives final : public OpticalDrives
{
public:
    void setDoor(const QString &, bool) override { unavailable("Moving a CD tray"); }
};

class LinuxDialogs final : public Dialogs
{
public:
    Answer messageBox(const QString &text, const QString &caption, unsigned flags) override
    {
        QMessageBox box(iconOf(flags), caption,
                        QString(text).replace(u"\r\n"_qs, u"\n"_qs).replace(u'\r', u'\n'));
        if ((flags & 0xF) == mb::YesNo)
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        else if ((flags & 0xF) == mb::OkCancel)
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        else
            box.setStandardButtons(QMessageBox::Ok);
        if (flags & mb::Topmost)
            box.setWindowFlag(Qt::WindowStaysOnTopHint);
        switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        default:
            return Answer::Ok;
        }
    }

private:
    static QMessageBox::Icon iconOf(unsigned flags)
    {
        switch (flags & 0xF0) {
        case mb::IconError:
            return QMessageBox::Critical;
        case mb::IconQuestion:
            return QMessageBox::Question;
        case mb::IconExclamation:
            return QMessageBox::Warning;
        case mb::IconInformation:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
        }
    }
};

} // namespace

std::unique_ptr<Platform> makeLinuxPlatform()
{
    Platform::Parts parts;
    parts.shell = std::make_unique<LinuxShell>();
    parts.session = std::make_unique<LinuxSession>();
    parts.input = std::make_unique<LinuxInput>();
    parts.display = std::make_unique<LinuxDisplay>();
    parts.audio = std::make_unique<LinuxAudio>();
    parts.opticalDrives = std::make_unique<LinuxOpticalDrives>();
    parts.dialogs = std::make_unique<LinuxDialogs>();
    return std::make_unique<Platform>(std::move(parts));
}

} // namespace tockwell::platform
