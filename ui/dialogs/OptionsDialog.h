#pragma once

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QPushButton>
#include <QWidget>

#include <array>

namespace tockwell {

struct ArmedAlarm;
class StoreFile;
namespace platform {
class Platform;
}

/// The options dialog: the five option flags, waking the computer for an alarm (WakeFromSleep)
/// and the autostart entry. Every showing loads the
/// boxes from the store; "OK" writes them to the store and to the armed alarm's flags and
/// closes; any other way of closing discards the changes. The setup window is disabled behind
/// the dialog while it is open.
class OptionsDialog final : public QWidget
{
    Q_OBJECT

public:
    /// `setupWindow` is enabled again when the dialog closes; `programFile` is the program's full
    /// path, which the autostart entry names and next to which the help pages lie.
    OptionsDialog(platform::Platform &platform, StoreFile &storeFile, ArmedAlarm &alarm,
                  QWidget &setupWindow, QString programFile, QWidget *parent = nullptr);

signals:
    /// "OK" has written the options to the store and the armed alarm.
    void saved();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    /// One stored option: its box, its value in the store, its flag in the armed alarm, and the
    /// state when the value is missing or not an integer.
    struct Option
    {
        QCheckBox *box;
        QStringView key;
        bool ArmedAlarm::*flag;
        bool byDefault = false;
    };
    /// The options in the order in which they are read and written: the five option flags, then
    /// WakeFromSleep.
    std::array<Option, 6> options();

    void buildLayout();
    void fitCaptions();
    void load();
    void answerKey(int key);
    void save();
    void openHelp();
    void beep();
    void enableSetupWindow();
    QString helpFile() const;

    platform::Platform &m_platform;
    StoreFile &m_storeFile;
    ArmedAlarm &m_alarm;
    QWidget &m_setupWindow;
    const QString m_programFile;

    QFrame m_startupFrame;
    QCheckBox m_autostartBox;
    QCheckBox m_minimizeAtStartBox;
    QGroupBox m_beforeAlarmGroup;
    QCheckBox m_screenSaverOffBox;
    QCheckBox m_minimizeAllBox;
    QCheckBox m_minimizeOnPreviewBox;
    QCheckBox m_beepBox;
    QCheckBox m_wakeBox;
    QFrame m_buttonLine;
    QPushButton m_helpButton;
    QPushButton m_okButton;
};

} // namespace tockwell
