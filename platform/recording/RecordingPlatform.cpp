#include "RecordingPlatform.h"

#include "../DesktopSession.h"
#include "RecordingMediaPlayer.h"
#include "RecordingSleep.h"

#include <QGuiApplication>
#include <QScreen>

#include <utility>

namespace tockwell::platform {
namespace {

QString showName(ShowCommand show)
{
    switch (show) {
    case ShowCommand::Show:
        return QStringLiteral("show");
    case ShowCommand::ShowNormal:
        return QStringLiteral("normal");
    case ShowCommand::ShowMaximized:
        return QStringLiteral("maximized");
    }
    return QString::number(int(show));
}

QString sessionEndName(SessionEnd how)
{
    switch (how) {
    case SessionEnd::LogOff:
        return QStringLiteral("logoff");
    case SessionEnd::Shutdown:
        return QStringLiteral("shutdown");
    case SessionEnd::Reboot:
        return QStringLiteral("reboot");
    case SessionEnd::PowerOff:
        return QStringLiteral("poweroff");
    }
    return QString::number(int(how));
}

/// Base of the recording parts: the shared recorder and the answer helpers.
class Recording
{
public:
    explicit Recording(std::shared_ptr<Recorder> recorder) : m_recorder(std::move(recorder)) {}

protected:
    void record(const QString &line) { m_recorder->record(line); }

    /// `name` with the back end that does `operation` in this session after it, where that is
    /// not X11's: "PressKeys wayland-wlroots".
    static QString via(const QString &name, Operation operation)
    {
        const QString backEnd = session().means(operation, EveryOffer).backEnd;
        return backEnd == u"x11" ? name : name + u' ' + backEnd;
    }

    /// The session as the environment describes it; every offer of a compositor is taken.
    static DesktopSession session()
    {
        return DesktopSession::fromEnvironment(QProcessEnvironment::systemEnvironment());
    }
    static constexpr WaylandOffers EveryOffer{.virtualKeyboard = true,
                                              .virtualPointer = true,
                                              .outputPower = true,
                                              .remoteDesktop = true,
                                              .displayConfig = true,
                                              .screenCast = true,
                                              .pipeWire = true,
                                              .fakeInput = true,
                                              .dpms = true,
                                              .dpmsOutputs = true,
                                              .kwinService = true,
                                              .kwinInputDevices = true};

    /// Records `line` with the scripted or default answer appended after " -> ".
    QString answer(const QString &operation, const QString &arguments, const QString &fallback)
    {
        const QString result = m_recorder->takeAnswer(operation).value_or(fallback);
        QString line = operation;
        if (!arguments.isEmpty())
            line += QLatin1Char(' ') + arguments;
        record(line + u" -> "_qs + result);
        return result;
    }

    /// "ok", or "error CODE DESCRIPTION".
    std::optional<Failure> failureAnswer(const QString &operation, const QString &arguments)
    {
        const QString result = answer(operation, arguments, QStringLiteral("ok"));
        if (!result.startsWith(u"error"_qs))
            return std::nullopt;
        const QStringList words = result.split(QLatin1Char(' '));
        Failure failure;
        failure.code = words.value(1).toInt();
        failure.description = words.mid(2).join(QLatin1Char(' '));
        return failure;
    }

private:
    std::shared_ptr<Recorder> m_recorder;
};

class RecordingShell final : public Shell, Recording
{
public:
    using Recording::Recording;
    void open(const QString &target, const QString &parameters, ShowCommand show) override
    {
        record(u"ShellOpen "_qs + Recorder::quoted(target) + u' ' + Recorder::quoted(parameters) +
               u' ' + showName(show));
    }
    void openFileManager() override { record(QStringLiteral("OpenFileManager")); }
    void openBlankBrowser() override { record(QStringLiteral("OpenBlankBrowser")); }
    void openControlPanel() override { record(QStringLiteral("OpenControlPanel")); }
};

class RecordingSession final : public Session, Recording
{
public:
    using Recording::Recording;
    void exitSession(SessionEnd how) override
    {
        record(u"ExitSession "_qs + sessionEndName(how) + u" force"_qs);
    }
    bool usesPrivileges() override
    {
        return answer(QStringLiteral("UsesPrivileges"), QString(), QStringLiteral("yes")) ==
               u"yes"_qs;
    }
    std::optional<Failure> adjustPrivilege(const QString &name, bool enable) override
    {
        return failureAnswer(QStringLiteral("AdjustPrivilege"),
                             Recorder::quoted(name) + (enable ? u" enable"_qs : u" disable"_qs));
    }
    std::optional<Failure> setPowerState(bool suspend, bool force) override
    {
        return failureAnswer(QStringLiteral("SetPowerState"),
                             QString(suspend ? u"suspend"_qs : u"hibernate"_qs) +
                                 (force ? u" force"_qs : u" ask"_qs));
    }
};

class RecordingInput final : public Input, Recording
{
public:
    using Recording::Recording;
    QPoint cursorPos() override
    {
        const QStringList xy =
            answer(QStringLiteral("CursorPos"), QString(), QStringLiteral("0 0")).split(u' ');
        return QPoint(xy.value(0).toInt(), xy.value(1).toInt());
    }
    void setCursorPos(QPoint pos) override
    {
        record(u"%1 %2 %3"_qs.arg(via(u"SetCursorPos"_qs, Operation::Pointer))
                   .arg(pos.x())
                   .arg(pos.y()));
    }
    void mouseButton(MouseButtonEvent event, QPoint pos) override
    {
        const QString name = event == MouseButtonEvent::LeftDown ? QStringLiteral("left-down")
                                                                 : QStringLiteral("left-up");
        record(u"%1 %2 %3 %4"_qs.arg(via(u"MouseButton"_qs, Operation::Pointer), name)
                   .arg(pos.x())
                   .arg(pos.y()));
    }
    void suspendKeyboard() override
    {
        record(via(u"SuspendKeyboard"_qs, Operation::SuspendInput));
        m_suspended = true;
    }
    void suspendMouse() override
    {
        record(via(u"SuspendMouse"_qs, Operation::SuspendInput));
        m_suspended = true;
    }
    // As on the desktop, giving back when nothing is taken does nothing, and writes nothing.
    void resumeInput() override
    {
        if (std::exchange(m_suspended, false))
            record(QStringLiteral("ResumeInput"));
    }
    QSize screenSize() override
    {
        const QStringList size =
            answer(QStringLiteral("ScreenSize"), QString(), defaultScreenSize()).split(u' ');
        return QSize(size.value(0).toInt(), size.value(1).toInt());
    }
    void pressKeys(const KeyCombination &keys) override
    {
        QString line = via(u"PressKeys"_qs, Operation::PressKeys);
        for (const quint32 keysym : keys.modifiers + QList<quint32>{keys.key})
            line += QStringLiteral(" 0x%1").arg(keysym, 0, 16);
        record(line);
    }

private:
    // The primary screen's size in device pixels where there is a screen, else 1024 × 768.
    static QString defaultScreenSize()
    {
        const QScreen *screen = QGuiApplication::primaryScreen();
        const QSize size = screen ? (QSizeF(screen->size()) * screen->devicePixelRatio()).toSize()
                                  : QSize(1024, 768);
        return QStringLiteral("%1 %2").arg(size.width()).arg(size.height());
    }

    bool m_suspended = false;
};

class RecordingDisplay final : public Display, Recording
{
public:
    RecordingDisplay(std::shared_ptr<Recorder> recorder, std::function<QRect()> workArea)
        : Recording(std::move(recorder)), m_workArea(std::move(workArea))
    {}
    QRect workArea() override
    {
        const QStringList r =
            answer(QStringLiteral("WorkArea"), QString(), defaultWorkArea()).split(u' ');
        return QRect(r.value(0).toInt(), r.value(1).toInt(), r.value(2).toInt(),
                     r.value(3).toInt());
    }
    void minimizeAllWindows() override
    {
        record(via(u"MinimizeAllWindows"_qs, Operation::ShowDesktop));
    }
    void startScreenSaver() override { record(QStringLiteral("StartScreenSaver")); }
    void monitorLowPower() override { record(via(u"MonitorLowPower"_qs, Operation::MonitorOff)); }
    void keepAbove(WId) override { record(QStringLiteral("KeepAbove")); }

private:
    // The desktop's work area where there is a screen (so that windows land on it when the
    // real program runs recorded), else a fixed 1024 × 768.
    QString defaultWorkArea() const
    {
        const QScreen *screen = QGuiApplication::primaryScreen();
        const QRect area = !screen      ? QRect(0, 0, 1024, 768)
                           : m_workArea ? m_workArea()
                                        : screen->availableGeometry();
        return QStringLiteral("%1 %2 %3 %4")
            .arg(area.x())
            .arg(area.y())
            .arg(area.width())
            .arg(area.height());
    }

    std::function<QRect()> m_workArea;
};

class RecordingAudio final : public Audio, Recording
{
public:
    using Recording::Recording;
    void maximiseVolume() override { record(QStringLiteral("MaximiseVolume")); }
    void beep() override { record(QStringLiteral("Beep")); }
};

class RecordingOpticalDrives final : public OpticalDrives, Recording
{
public:
    using Recording::Recording;
    QStringList drives() override
    {
        return answer(QStringLiteral("CdDrives"), QString(), QString())
            .split(u' ', Qt::SkipEmptyParts);
    }
    void setDoor(const QString &drive, bool open) override
    {
        record(u"CdDoor "_qs + Recorder::quoted(drive) + (open ? u" open"_qs : u" close"_qs));
    }
};

class RecordingDialogs final : public Dialogs, Recording
{
public:
    using Recording::Recording;
    Answer messageBox(const QString &text, const QString &caption, unsigned flags) override
    {
        const QString arguments = Recorder::quoted(text) + u' ' + Recorder::quoted(caption) +
                                  u" 0x"_qs + QString::number(flags, 16);
        const Answer fallback = (flags & 0xF) == mb::YesNo ? Answer::Yes : Answer::Ok;
        const QString result =
            answer(QStringLiteral("MessageBox"), arguments, QString::number(int(fallback)));
        return Answer(result.toInt());
    }
};

/// Remembers what it was told: active after a write answered "ok", inactive after a removal
/// answered "ok", so that a dialog shown again finds what it saved.
class RecordingAutostart final : public Autostart, Recording
{
public:
    using Recording::Recording;
    bool isActive() override
    {
        return answer(QStringLiteral("AutostartActive"), QString(),
                      m_active ? QStringLiteral("yes") : QStringLiteral("no")) == u"yes"_qs;
    }
    bool write(const QString &programFile) override
    {
        const bool written = answer(QStringLiteral("AutostartWrite"), Recorder::quoted(programFile),
                                    QStringLiteral("ok")) == u"ok"_qs;
        m_active = m_active || written;
        return written;
    }
    bool removeIfActive() override
    {
        const bool removed =
            answer(QStringLiteral("AutostartRemove"), QString(), QStringLiteral("ok")) == u"ok"_qs;
        m_active = m_active && !removed;
        return removed;
    }

private:
    bool m_active = false;
};

/// The session as the environment describes it, with every means its compositor can offer; not
/// recorded: it is asked, not done.
class RecordingDesktop final : public Desktop, Recording
{
public:
    using Recording::Recording;
    Means means(Operation operation) override { return session().means(operation, EveryOffer); }
};

} // namespace

std::unique_ptr<Platform> makeRecordingPlatform(std::shared_ptr<Recorder> recorder,
                                                std::function<QRect()> workArea)
{
    Platform::Parts parts;
    parts.shell = std::make_unique<RecordingShell>(recorder);
    parts.session = std::make_unique<RecordingSession>(recorder);
    parts.input = std::make_unique<RecordingInput>(recorder);
    parts.display = std::make_unique<RecordingDisplay>(recorder, std::move(workArea));
    parts.audio = std::make_unique<RecordingAudio>(recorder);
    parts.mediaPlayer = std::make_unique<RecordingMediaPlayer>(recorder);
    parts.opticalDrives = std::make_unique<RecordingOpticalDrives>(recorder);
    parts.dialogs = std::make_unique<RecordingDialogs>(recorder);
    parts.sleep = std::make_unique<RecordingSleep>(recorder);
    parts.wakeAlarm = std::make_unique<RecordingWakeAlarm>(recorder);
    parts.autostart = std::make_unique<RecordingAutostart>(recorder);
    parts.desktop = std::make_unique<RecordingDesktop>(recorder);
    return std::make_unique<Platform>(std::move(parts));
}

} // namespace tockwell::platform
