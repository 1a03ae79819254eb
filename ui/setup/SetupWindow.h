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

class AlarmDraft;
class Clock;
class ClockGroupBox;
class FileNameEdit;
class SetupHost;
class SoundPlayer;
class StoreFile;
struct LastSettings;
struct RecentListContents;
struct RecentListRow;
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

    /// Parses a clock time ("7:5:0", "07:00:00", "7:05") into the clock-time fields; a text
    /// that is not one zeroes them and shows the error box.
    void SetClockTimeFromText(const QString &text);
    /// Parses a countdown ("0:0:90") into the countdown fields; likewise.
    void SetCountdownFromText(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Construction (SetupWindow_Layout.cpp)
    void createSkin();
    void createCommandButtons();
    void createTimingGroup();
    void createActionGroup();
    QWidget *createPanel(const char *name);
    void createMessagePanel();
    void createSoundPanel();
    void createShutdownPanel();
    void createFilePanels();
    void createOtherPanel();
    void createBalloonHints();
    void connectHandlers();
    /// The font at which every caption fits, and the fields placed in their captions' blanks.
    void fitCaptions();

    // Frame (SetupWindow.cpp)
    void FormCreate();
    void restoreBaseValues(const LastSettings &last);
    void t_TimerDoCzasuTimer();
    void rb_ur_o_godzClick();
    void cb_PowtorzAkcjeClick();
    void cb_Typ_AlarmuChange();
    void showChosenKind();
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
    void handle(const std::function<void()> &handler);
    static void enable(std::initializer_list<QWidget *> controls, bool enabled);
    void enable(const QStringList &controls, bool enabled) const;

    // Editors (SetupWindow_Editors.cpp)
    void cb_KomunikatChange();
    void cb_ZamknijSystemChange();
    void fne_PlikEXEChange();
    void fne_PlikChange();
    void de_FolderyChange();
    void e_WWWChange();
    void setActionButtons(bool enabled);
    /// The chosen shutdown and sub-action as they are stored (ShownTexts.h).
    QString chosenShutdown() const;
    QString chosenSubAction() const;

    // Other actions (SetupWindow_OtherActions.cpp)
    void setUpOtherActions();
    void cb_InneOpcjeChange();
    void restoreSubActionValues(const SubActionRow &row);
    void cb_InneOpcjeDropDown();
    void amh_HelpClick();
    void SpeedButton1Click();
    void t_PozycjaMyszyTimer();
    void endPointPicking();
    bool se_Inne_X_DCKeyDown(const QKeyEvent &key);
    void FillCdDriveList();
    void cb_Inne_DyskCDChange();
    void cd_Inne_DyskCD_WsWyChange();
    void cb_KlawiszeChange();

    // Preview (SetupWindow_Preview.cpp)
    void cb_PodgladClick();
    void preview();
    /// Asks before a preview suspends input devices, saying how they come back.
    bool confirmInputSuspension(QStringView subAction);

    // Recent lists (SetupWindow_RecentLists.cpp)
    void loadRecentLists();
    void loadMenu(const RecentListRow &row, const RecentListContents &contents);
    void restoreCurrentEntry(const RecentListRow &row, const RecentListContents &contents);
    void pickRecentEntry(const RecentListRow &row, const QString &entry);
    static void setFieldText(QWidget *field, const QString &text);
    void popupMenu(const RecentListRow &row);
    void showTimeFormatError();

    // Start and Stop (SetupWindow_StartStop.cpp)
    /// The fields' values as they are now.
    AlarmDraft draft() const;
    void start();
    void stop();
    /// Locks the timing and the kind's controls while armed, or gives them back.
    void lockWhileArmed(const AlarmDraft &alarm, bool locked);

    // Sound panel (SetupWindow_SoundPanel.cpp)
    enum class Toolbar
    {
        Playing,
        Paused,
        Stopped
    };
    void fne_PlikWAVChange();
    void lockSoundPanel(bool locked);
    void openAndTimeSound(QString fileName);
    void PlayClick();
    void PauseClick();
    void StopClick();
    void PlayerNotify();
    void setToolbar(Toolbar state);
    /// Stops the test playback without a notification of its own; toolbar *stopped*.
    void stopTestPlayback();

    platform::Platform &m_platform;
    StoreFile &m_storeFile;
    const Clock &m_clock;
    SetupHost &m_host;
    QString m_programDir;
    QString m_otherHelp; ///< the explanation behind "Pomoc ?": text, "|", sub-action

public:
    // The window's controls, named as the program's forms name them.
    SkinWidget *PlasmaForm1; ///< the skin: picture, shape and dragging
    ImageButton *ib_Start, *ib_Stop, *ib_Minimalizuj, *ib_Koniec, *ib_Opcje, *ib_About, *ib_WWW,
        *ib_Mail;

    ClockGroupBox *gb1;
    QRadioButton *rb_ur_o_godz, *rb_ur_po_czasie;
    QSpinBox *se_ur_o_godz_godz, *se_ur_o_godz_min, *se_ur_o_godz_sec;
    QSpinBox *se_ur_po_czasie_godz, *se_ur_po_czasie_min, *se_ur_po_czasie_sec;
    QLabel *Label1, *Label2, *Label13;
    QToolButton *sb_ur_alarm_o, *sb_ur_alarm_za;
    QCheckBox *cb_PowtorzAkcje;
    QLineEdit *e_CzasPowtorki;

    QGroupBox *gb2;
    QComboBox *cb_Typ_Alarmu;
    QWidget *p_k_komunikat, *p_k_PdegrajDzwiek, *p_Zamknij, *p_UrProg, *p_Plik, *p_OtworzFolder,
        *p_WWW, *p_Inne;
    QPushButton *cb_Podglad;
    QLabel *amh_Help;

    QLabel *Label4, *Label5;
    QComboBox *cb_Komunikat, *cb_Caption;

    QLabel *Label6, *Label128, *LabelCzas;
    FileNameEdit *fne_PlikWAV;
    QToolButton *sb_ListaPlikowWAV, *Play, *Pause, *Stop;
    QCheckBox *LoopCheckBox;
    std::unique_ptr<SoundPlayer> Player; ///< the test player, which also plays the alarm sound

    QLabel *Label7;
    QComboBox *cb_ZamknijSystem;

    QLabel *Label8, *Label9, *Label10, *Label11;
    FileNameEdit *fne_PlikEXE, *fne_Plik, *de_Foldery;
    QLineEdit *e_WWW;
    QToolButton *sb_ListaPlikowEXE, *sb_ListaPlikow, *sb_ListaFolderow, *sb_ListaWWW;

    QLabel *Label12, *Label14, *Label16, *Label17, *Label18, *Label19;
    QComboBox *cb_InneOpcje, *cb_Klawisze, *cb_Inne_DyskCD, *cd_Inne_DyskCD_WsWy;
    QWidget *p_Inne_Klawisz, *p_Inne_Klikniecie1, *p_Inne_DyskCD;
    QSpinBox *se_Inne_X_DC, *se_Inne_Y_DC;
    QToolButton *SpeedButton1;

    QMenu *pm_ur_alarm_o, *pm_ur_alarm_za, *pm_PlikiWAV, *pm_PlikiEXE, *pm_Pliki, *pm_Foldery,
        *pm_WWW;
    QTimer t_TimerDoCzasu;
    QTimer t_PozycjaMyszy;
    /// Gives the devices back that a preview has suspended.
    QTimer m_previewInputBack;

private:
    /// The check of each editor, by its objectName.
    QHash<QString, void (SetupWindow::*)()> m_fieldChecks;
};

} // namespace tockwell
