#pragma once

#include <QPoint>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>
#include <utility>

namespace tockwell {

/// The one armed alarm of the program: what Start decided, what the tick and the executor read.
/// Whether it is armed is not stored here: it is armed exactly while the main tick runs.
struct ArmedAlarm
{
    QString Mode;        ///< "G" = at a clock time, "D" = countdown; empty until the first Start
    QString ActionKind;  ///< one of kinds::All, as the kind list shows it
    QString MainParam;   ///< the action's main parameter (by kind)
    QString SecondParam; ///< click point "x;y", CD tray "D;1", or the key text
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int CountdownLeft = 0; ///< "D": ticks still to go
    int RepeatSeconds = 0; ///< 0 = fire once

    // The option flags: loaded at start-up, replaced by the options dialog, read when firing.
    bool AutoMinimize = false;
    bool ScreenSaverOff = false; ///< stored as `Wyg_Off`: end the screen saver before firing
    bool MinimizeAll = false;
    bool MinimizeProg = false;
    bool PlayBeep = false;
    /// Wake the computer from sleep for a clock-time alarm (option WakeFromSleep, default on).
    bool WakeFromSleep = true;
};

inline constexpr QStringView ModeClock = u"G";
inline constexpr QStringView ModeCountdown = u"D";

/// The action kinds, in the order of the kind list. They are identifiers: compared whole and
/// exactly, letter case included.
namespace kinds {
inline constexpr QStringView DefaultWindow = u"Domyślne okno";
inline constexpr QStringView Message = u"Komunikat";
inline constexpr QStringView PlaySound = u"Odegraj dźwięk";
inline constexpr QStringView OpenFolder = u"Otwórz folder";
inline constexpr QStringView OpenFile = u"Uruchom plik";
inline constexpr QStringView RunProgram = u"Uruchom program";
inline constexpr QStringView OpenWebPage = u"Uruchom stronę WWW";
inline constexpr QStringView Shutdown = u"Zamknij system";
inline constexpr QStringView Other = u"Inne możliwości";
inline constexpr std::array All = {DefaultWindow, Message,     PlaySound, OpenFolder, OpenFile,
                                   RunProgram,    OpenWebPage, Shutdown,  Other};
} // namespace kinds

/// The choices of "Zamknij system", in list order.
namespace shutdowns {
inline constexpr QStringView Hibernate = u"Przejdź w stan hibernacji";
inline constexpr QStringView Suspend = u"Przejdź w stan wstrzymania";
inline constexpr QStringView Restart = u"Uruchom ponownie (restart)";
inline constexpr QStringView LogOff = u"Wyloguj aktualnego użytkownika";
inline constexpr QStringView PowerOff = u"Wyłącz komputer";
inline constexpr QStringView ShutDown = u"Zamknij system (Przejdź do DOS Win 9x i ME)";
inline constexpr std::array All = {Hibernate, Suspend, Restart, LogOff, PowerOff, ShutDown};
} // namespace shutdowns

/// The sub-actions of "Inne możliwości", in list order.
namespace others {
inline constexpr QStringView MinimizeAll = u"Minimalizuj wszystkie okna";
inline constexpr QStringView Browser = u"Uruchom domyślną przeglądarkę internetową";
inline constexpr QStringView Explorer = u"Uruchom eksplorator Windows";
inline constexpr QStringView ControlPanel = u"Uruchom Panel Sterowania";
inline constexpr QStringView ScreenSaver = u"Uruchom wygaszacz ekranu";
inline constexpr QStringView MonitorOff = u"Wygaś monitor";
inline constexpr QStringView CdTray = u"Wysuń/wsuń szufladę CD-ROMu";
inline constexpr QStringView DoubleClick = u"Zasymuluj podwójne kliknięcie myszy";
inline constexpr QStringView SingleClick = u"Zasymuluj pojedyncze kliknięcie myszy";
inline constexpr QStringView SuspendKeyboard = u"Zawieś działanie klawiatury";
inline constexpr QStringView SuspendMouse = u"Zawieś działanie myszy";
inline constexpr QStringView SuspendMouseAndKeyboard = u"Zawieś działanie myszy i klawiatury";
inline constexpr QStringView MaxVolume = u"Zwiększ głośność maksymalnie";
inline constexpr QStringView PressKey = u"Zasymuluj wciśnięcie dowolnego klawisza";
inline constexpr std::array Listed = {
    MinimizeAll, Browser,     Explorer,    ControlPanel,    ScreenSaver,  MonitorOff,
    CdTray,      DoubleClick, SingleClick, SuspendKeyboard, SuspendMouse, SuspendMouseAndKeyboard,
    MaxVolume,   PressKey};
} // namespace others

/// The separator between the title and the text of a "Komunikat" parameter.
inline constexpr QChar Pilcrow = QChar(0x00B6);

/// "Komunikat": title + "¶" + message.
QString joinMessageParam(const QString &title, const QString &message);
/// Splits at the first "¶": the title before it, everything after it as the message. Without a
/// "¶" the whole text is the title and the message is empty.
std::pair<QString, QString> splitMessageParam(const QString &mainParam);

/// Click point "x;y", decimal without leading zeros.
QString clickPointParam(int x, int y);
/// Reads x before the first ";" and y after it as whole numbers; throws ConvertError otherwise.
QPoint parseClickPoint(const QString &secondParam);

/// The CD tray operation of the editor's operation text: "WYSUŃ" (in any letter case) gives "1"
/// (open), "WSUŃ" gives "0" (close), any other text gives nothing.
std::optional<QString> cdTrayOperation(const QString &operationText);
/// The CD tray parameter for a drive letter and the operation text of the editor: drive;1 or
/// drive;0 as cdTrayOperation reads the text, nothing for any other text.
std::optional<QString> cdTrayParam(const QString &drive, const QString &operationText);
/// The drive is character 1 and the operation character 3 of the parameter; a character the text
/// does not have reads as empty.
struct CdTrayRequest
{
    QString drive;
    QString operation; ///< "1" opens the tray, anything else closes it
};
CdTrayRequest parseCdTrayParam(const QString &secondParam);

/// An armed alarm as a line shows it: its kind and the gist of its parameter, as in
/// "Odegraj dźwięk: Budzik.mp3", "Komunikat: Spotkanie" or "Domyślne okno".
QString alarmSummary(const ArmedAlarm &alarm);

/// A number of seconds as a countdown shows it: "0:04:12".
QString countdownText(qint64 seconds);

/// hours × 3600 + minutes × 60 + seconds, computed without overflow.
qint64 countdownSeconds(int hours, int minutes, int seconds);
/// The countdown of Start: countdownSeconds. A total outside 1 … 2^31−1 gives nothing: such a
/// countdown would never fire.
std::optional<int> countdownTotal(int hours, int minutes, int seconds);

} // namespace tockwell
