#pragma once

#include "ui/skin/ImageButton.h"
#include "ui/skin/SkinWidget.h"

#include <QStringView>
#include <QWidget>

#include <utility>
#include <vector>

class QComboBox;
class QGroupBox;
class QPushButton;
class QTimer;

namespace tockwell {

class ActionPanel;
struct ArmedAlarm;
class AlarmDraft;
class Clock;
class OtherActionsPanel;
class SetupHost;
class SoundPanel;
class StoreFile;
class TimingGroup;
namespace platform {
class Platform;
}

/// The setup window: when the alarm goes off and what happens then. It wears the skin with the
/// command buttons, holds the timing group and the kind box over one panel per kind, and
/// starts, stops and previews the alarm that the timing and the shown panel compose. Created
/// once at start and afterwards only shown and hidden.
class SetupWindow final : public QWidget
{
    Q_OBJECT

public:
    SetupWindow(platform::Platform &platform, StoreFile &storeFile, const Clock &clock,
                SetupHost &host, const QString &programDir, QWidget *parent = nullptr);
    ~SetupWindow() override;

    /// Checks the alarm, remembers the entered values and arms it.
    void ib_StartClick();
    /// Disarms the alarm and gives the window back its editable state.
    void ib_StopClick();
    /// The user's Stop: the input devices a suspension took come back, then ib_StopClick.
    void stopByUser();
    /// Shows `alarm`, which is armed already (at an earlier run, or by a snooze), in the fields,
    /// locked, with Stop. Nothing is stored.
    void showArmed(const ArmedAlarm &alarm);

    /// Plays the alarm sound through the sound panel's player; throws MediaDeviceError when it
    /// cannot.
    void playAlarmSound(const QString &file);
    /// Stops the alarm sound (a snooze).
    void stopAlarmSound();
    /// Whether the sound panel's player plays or pauses a sound.
    bool isSounding() const;

signals:
    /// The sound panel's sound ended.
    void soundEnded();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createSkin();
    void createCommandButtons();
    void createActionGroup();
    void createPanels();
    void connectHandlers();
    /// The font at which every caption fits, and the fields placed in their captions' blanks.
    void fitCaptions();
    /// Restores the last-used values and shows the last kind.
    void initialise();

    /// Shows the chosen kind's panel with the focus in its first field, and runs its check.
    void showChosenKind();
    /// Shows `shown` (none: no panel) and hides the other panels.
    void showPanel(const ActionPanel *shown);
    /// The panel of `kind`; none for a kind without parameters.
    ActionPanel *panelOf(QStringView kind) const;
    /// A panel's check: whether Start and Preview may be used.
    void showReadiness(bool canStart, bool canPreview);

    /// "Podgląd": the composed action at once, without arming anything.
    void preview();
    /// Asks before a preview suspends input devices, saying how they come back.
    bool confirmInputSuspension(QStringView subAction);
    /// The alarm as the fields compose it now.
    AlarmDraft draft() const;
    void start();
    void stop();
    /// Locks the timing and the kind's controls while armed, or gives them back.
    void lockWhileArmed(const AlarmDraft &alarm, bool locked);

    void openHelp();
    /// The options dialog or the About window; the window is disabled until it closes.
    void showOptions();
    void showAbout();
    /// Ends the program; while the alarm is armed, only when the user says so.
    void quit();
    void openMakerPage();
    void writeToMaker();

    platform::Platform &m_platform;
    StoreFile &m_storeFile;
    SetupHost &m_host;
    QString m_programDir;

    // The window's own controls. Their objectNames are the program's form names, which the tests
    // and the users' scripts reach them by.
    SkinWidget *m_skin; ///< the skin: picture, shape and dragging
    ImageButton *m_startButton, *m_stopButton, *m_minimizeButton, *m_quitButton, *m_optionsButton,
        *m_aboutButton, *m_webPageButton, *m_mailButton;
    TimingGroup *m_timing;
    QGroupBox *m_actionGroup;
    QComboBox *m_kindBox;
    /// The kinds' panels, in the order of the kind list; the popup's kind has none.
    std::vector<std::pair<QStringView, ActionPanel *>> m_panels;
    SoundPanel *m_soundPanel;
    OtherActionsPanel *m_otherPanel;
    QPushButton *m_previewButton;
    /// Gives the devices back that a preview has suspended (objectName "previewInputBack").
    QTimer *m_previewInputBack;
};

} // namespace tockwell
