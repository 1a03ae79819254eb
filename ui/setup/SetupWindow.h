#pragma once

#include "ui/skin/ImageButton.h"
#include "ui/skin/SkinWidget.h"

#include <QHash>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QToolButton;

namespace tockwell {

class ActionPanel;
class AlarmDraft;
class Clock;
class FileNameEdit;
class RecentListButton;
class SetupHost;
class OtherActionsPanel;
class SoundPanel;
class StoreFile;
class TimingGroup;
class WideListComboBox;
struct LastSettings;
struct KindRow;
struct SubActionRow;
namespace platform {
class Platform;
}

/// The setup window: when the alarm goes off and what happens then. Created once at start and
/// afterwards only shown and hidden.
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

    /// Plays the alarm sound through the window's player; throws MediaDeviceError when it cannot.
    void playAlarmSound(const QString &file);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // Construction (SetupWindow_Layout.cpp)
    void createSkin();
    void createCommandButtons();
    void createActionGroup();
    /// The panel of `kind`; none for a kind without parameters.
    ActionPanel *panelOf(QStringView kind) const;
    void connectHandlers();
    /// The font at which every caption fits, and the fields placed in their captions' blanks.
    void fitCaptions();

    // Frame (SetupWindow.cpp)
    void initialise();
    void restoreBaseValues(const LastSettings &last);
    void cb_Typ_AlarmuChange();
    void showChosenKind();
    /// The repeat box can be used unless the kind (none: any) cannot repeat.
    void allowRepeatFor(const KindRow *row);
    /// Shows the kind panel named `panel` and hides the others.
    void showPanel(QStringView panel);
    /// The control of that objectName.
    QWidget *control(QStringView name) const;
    void openHelp();
    void ib_OpcjeClick();
    void ib_AboutClick();
    void ib_KoniecClick();
    void ib_MinimalizujClick();
    void ib_WWWClick();
    void ib_MailClick();
    static void enable(std::initializer_list<QWidget *> controls, bool enabled);
    void enable(const QStringList &controls, bool enabled) const;

    // Editors (SetupWindow_Editors.cpp)
    /// A panel's check: whether Start and Preview may be used.
    void showReadiness(bool canStart, bool canPreview);

    // Preview (SetupWindow_Preview.cpp)
    void cb_PodgladClick();
    void preview();
    /// Asks before a preview suspends input devices, saying how they come back.
    bool confirmInputSuspension(QStringView subAction);

    // Recent lists (SetupWindow_RecentLists.cpp)
    void loadRecentLists(const LastSettings &last);

    // Start and Stop (SetupWindow_StartStop.cpp)
    /// The fields' values as they are now.
    AlarmDraft draft() const;
    void start();
    void stop();
    /// Locks the timing and the kind's controls while armed, or gives them back.
    void lockWhileArmed(const AlarmDraft &alarm, bool locked);

    platform::Platform &m_platform;
    StoreFile &m_storeFile;
    const Clock &m_clock;
    SetupHost &m_host;
    QString m_programDir;

    // The window's controls. Their objectNames are the program's form names
    // (SetupWindow_Layout.cpp), which the tests and the users' scripts reach them by.
    SkinWidget *m_skin; ///< the skin: picture, shape and dragging
    ImageButton *m_startButton, *m_stopButton, *m_minimizeButton, *m_quitButton, *m_optionsButton,
        *m_aboutButton, *m_webPageButton, *m_mailButton;

    TimingGroup *m_timing;

    QGroupBox *m_actionGroup;
    QComboBox *m_kindBox;
    /// The kinds' panels, in the order of the kind list.
    std::vector<std::pair<QStringView, ActionPanel *>> m_panels;
    SoundPanel *m_soundPanel;
    OtherActionsPanel *m_otherPanel;
    QPushButton *m_previewButton;

    /// Gives the devices back that a preview has suspended (objectName "previewInputBack").
    QTimer *m_previewInputBack;
};

} // namespace tockwell
