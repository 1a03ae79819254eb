#include "Actions.h"

#include "AlarmHost.h"
#include "KeyCombination.h"
#include "SystemOperations.h"
#include "core/Error.h"
#include "platform/Platform.h"

namespace tockwell {

using platform::MouseButtonEvent;
using platform::SessionEnd;
using platform::ShowCommand;

void Actions::wakeScreenSaver()
{
    platform::Input &input = m_platform.input();
    const QPoint saved = input.cursorPos();
    input.setCursorPos(QPoint(0, 0));
    input.setCursorPos(saved);
}

void Actions::minimizeAllWindows()
{
    if (!refused(platform::Operation::ShowDesktop))
        m_platform.display().minimizeAllWindows();
}

void Actions::hideSetupWindow()
{
    m_host.hideSetupWindow();
}

void Actions::showAlarmPopup(bool beep)
{
    m_host.showAlarmPopup(beep);
}

void Actions::showMessage(const QString &title, const QString &text, unsigned flags)
{
    m_platform.dialogs().messageBox(text, title, flags);
}

void Actions::playSound(const QString &file)
{
    try {
        m_host.playAlarmSound(file);
    } catch (const MediaDeviceError &) {
        throw Error(soundErrorText(file));
    }
}

void Actions::open(const QString &target)
{
    m_platform.shell().open(target, QString(), ShowCommand::ShowNormal);
}

void Actions::shutdown(QStringView choice)
{
    platform::Session &session = m_platform.session();
    const QString privilege = QString::fromUtf16(ShutdownPrivilege);
    setPrivilege(session, privilege, true);
    if (choice == shutdowns::LogOff)
        session.exitSession(SessionEnd::LogOff);
    else if (choice == shutdowns::PowerOff)
        session.exitSession(SessionEnd::PowerOff);
    else if (choice == shutdowns::Restart)
        session.exitSession(SessionEnd::Reboot);
    else if (choice == shutdowns::ShutDown)
        session.exitSession(SessionEnd::Shutdown);
    else if (choice == shutdowns::Suspend)
        enterPowerState(session, true, true);
    else if (choice == shutdowns::Hibernate)
        enterPowerState(session, false, true);
    setPrivilege(session, privilege, false);
}

std::optional<platform::Operation> Actions::desktopOperation(QStringView subAction)
{
    using namespace others;
    using platform::Operation;
    if (subAction == PressKey)
        return Operation::PressKeys;
    if (subAction == SingleClick || subAction == DoubleClick)
        return Operation::Pointer;
    if (subAction == SuspendKeyboard || subAction == SuspendMouse ||
        subAction == SuspendMouseAndKeyboard)
        return Operation::SuspendInput;
    if (subAction == MonitorOff)
        return Operation::MonitorOff;
    if (subAction == MinimizeAll)
        return Operation::ShowDesktop;
    return std::nullopt;
}

bool Actions::refused(std::optional<platform::Operation> operation)
{
    const QString why = operation ? m_platform.desktop().means(*operation).refusal : QString();
    if (why.isEmpty())
        return false;
    tellRefusal(why);
    return true;
}

void Actions::tellRefusal(const QString &why)
{
    using namespace platform::mb;
    m_platform.dialogs().messageBox(why, u"Tockwell"_qs, Ok | IconExclamation | Topmost);
}

void Actions::other(QStringView subAction, const OtherArgs &args)
{
    using namespace others;
    if (tellIfRefused(subAction))
        return;
    if (subAction == MonitorOff)
        m_platform.display().monitorLowPower();
    else if (subAction == ControlPanel)
        m_platform.shell().openControlPanel();
    else if (subAction == Explorer)
        m_platform.shell().openFileManager();
    else if (subAction == Browser)
        m_platform.shell().openBlankBrowser();
    else if (subAction == others::MinimizeAll)
        m_platform.display().minimizeAllWindows();
    else if (subAction == MaxVolume)
        m_platform.audio().maximiseVolume();
    else if (subAction == ScreenSaver)
        m_platform.display().startScreenSaver();
    else if (subAction == SuspendKeyboard)
        m_platform.input().suspendKeyboard();
    else if (subAction == SuspendMouse)
        m_platform.input().suspendMouse();
    else if (subAction == SuspendMouseAndKeyboard) {
        m_platform.input().suspendMouse();
        m_platform.input().suspendKeyboard();
    } else if (subAction == SingleClick)
        click(args.clickPoint(), 1);
    else if (subAction == DoubleClick)
        click(args.clickPoint(), 2);
    else if (subAction == CdTray)
        moveCdTray(m_platform.opticalDrives(), args.cdTray.drive, args.cdTray.operation);
    else if (subAction == PressKey)
        pressKey(args.keyText);
    // Any other text: nothing.
}

void Actions::click(QPoint point, int times)
{
    platform::Input &input = m_platform.input();
    input.setCursorPos(point);
    for (int i = 0; i < times; ++i) {
        input.mouseButton(MouseButtonEvent::LeftDown, point);
        input.mouseButton(MouseButtonEvent::LeftUp, point);
    }
}

// A key text that stands for no combination (only a changed store can hold one) presses nothing.
void Actions::pressKey(QStringView keyText)
{
    const auto keys = keyCombination(keyText);
    if (!keys)
        return;
    if (const QString why = m_platform.input().cannotPress(*keys); !why.isEmpty())
        tellRefusal(why);
    else
        m_platform.input().pressKeys(*keys);
}

QString Actions::fileExtension(const QString &file)
{
    const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || dot < file.lastIndexOf(QLatin1Char('/')))
        return QString();
    return file.mid(dot);
}

QString Actions::soundErrorText(const QString &file)
{
    return QStringLiteral("Nie mogę otworzyć pliku o rozszerzeniu \"%1\" Sprawdź czy plik nie jest "
                          "uszkodzony lub czy jego format danych jest prawidłowy.")
        .arg(fileExtension(file));
}

} // namespace tockwell
