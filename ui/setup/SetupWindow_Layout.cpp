// The setup window's controls: their names, captions, places, ranges and hints.
#include "AlarmDraft.h"
#include "ClockGroupBox.h"
#include "DigitFields.h"
#include "FileNameEdit.h"
#include "RecentListButton.h"
#include "SetupControls.h"
#include "SetupWindow.h"
#include "ShownTexts.h"
#include "SoundPlayer.h"
#include "TimingGroup.h"
#include "WideListComboBox.h"
#include "core/ArmedAlarm.h"
#include "engine/ErrorBox.h"
#include "panels/MessagePanel.h"
#include "panels/PathPanel.h"
#include "panels/ShutdownPanel.h"
#include "panels/SoundPanel.h"
#include "platform/Platform.h"
#include "settings/Keys.h"
#include "ui/skin/CaptionFont.h"
#include "ui/skin/ImageFile.h"
#include "ui/skin/SkinAssets.h"
#include "ui/skin/SkinWidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionButton>
#include <QToolButton>

#include <limits>

namespace tockwell {

using namespace controls;

namespace {

/// A command button; its hint is also its name for a screen reader (`name` where it has none).
ImageButton *commandButton(QWidget *parent, const char *name, int left, const QString &hint,
                           const QString &accessibleName = QString())
{
    auto *button = make<ImageButton>(parent, name, QRect(left, 6, 31, 31));
    loadButtonBitmaps(*button, QLatin1String(name));
    button->setToolTip(hint);
    button->setAccessibleName(hint.isEmpty() ? accessibleName : hint);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

void SetupWindow::createSkin()
{
    cacheStylePictures();
    m_skin = new SkinWidget(this);
    m_skin->setObjectName(u"PlasmaForm1"_qs);
    m_skin->setPicture(setupSkinPicture());
    m_skin->setMaskRegion(setupSkinMask());
}

void SetupWindow::createCommandButtons()
{
    m_startButton = commandButton(this, "ib_Start", 8, u"Rozpocznij odliczanie czasu"_qs);
    m_stopButton = commandButton(this, "ib_Stop", 8, u"Zatrzymaj odliczanie"_qs);
    m_stopButton->move(-40, -40);
    m_minimizeButton = commandButton(this, "ib_Minimalizuj", 43, u"Minimalizuj do traya"_qs);
    m_optionsButton = commandButton(this, "ib_Opcje", 78, u"Opcje programu"_qs);
    m_aboutButton = commandButton(this, "ib_About", 113, u"Wyświetl informacje o programie"_qs);
    m_webPageButton =
        commandButton(this, "ib_WWW", 365, QString(), u"Strona WWW autora programu"_qs);
    m_mailButton =
        commandButton(this, "ib_Mail", 400, QString(), u"Napisz list do autora programu"_qs);
    m_quitButton = commandButton(this, "ib_Koniec", 435, u"Zakończ działanie programu"_qs);
}

QWidget *SetupWindow::createPanel(const char *name)
{
    auto *panel = make<QWidget>(m_actionGroup, name, QRect(4, 44, 230, 118));
    panel->hide();
    return panel;
}

void SetupWindow::createActionGroup()
{
    m_actionGroup = make<QGroupBox>(this, "gb2", QRect(228, 42, 238, 196));
    m_actionGroup->setTitle(u" Zaalarmuj mnie w następujący sposób: "_qs);
    m_kindBox = combo(m_actionGroup, "cb_Typ_Alarmu", QRect(8, 20, 222, 22), false);
    m_kindBox->addItems(listed(kinds::All));
    m_kindBox->setCurrentIndex(-1);
    m_kindBox->setAccessibleName(u"Rodzaj alarmu"_qs);
    setBalloonHint(m_kindBox, false, u"INFORMACJA"_qs,
                   u"Wybierz z poniższej listy rodzaj alarmu"_qs);

    // In the order of the tab key, which is not the kind list's.
    platform::Dialogs &dialogs = m_platform.dialogs();
    auto *message = new MessagePanel(m_storeFile, dialogs, m_actionGroup);
    m_soundPanel = new SoundPanel(m_platform, m_storeFile, m_actionGroup);
    auto *shutdown = new ShutdownPanel(dialogs, m_actionGroup);
    const auto pathPanel = [&](PathPanel::Target target) {
        return new PathPanel(target, m_storeFile, dialogs, m_actionGroup);
    };
    auto *program = pathPanel(PathPanel::Target::Program);
    auto *file = pathPanel(PathPanel::Target::File);
    auto *folder = pathPanel(PathPanel::Target::Folder);
    auto *webPage = pathPanel(PathPanel::Target::WebPage);
    createOtherPanel();
    m_panels = {{kinds::Message, message},    {kinds::PlaySound, m_soundPanel},
                {kinds::OpenFolder, folder},  {kinds::OpenFile, file},
                {kinds::RunProgram, program}, {kinds::OpenWebPage, webPage},
                {kinds::Shutdown, shutdown}};

    m_previewButton =
        make<QPushButton>(m_actionGroup, "cb_Podglad", QRect(150, 166, 80, 24), u"Podgląd"_qs);
    m_previewButton->setFlat(true);
    m_otherHelpLink = label(m_actionGroup, "amh_Help", QRect(10, 170, 80, 16), u"Pomoc ?"_qs);
    m_otherHelpLink->hide();
}

void SetupWindow::createOtherPanel()
{
    m_otherPanel = createPanel("p_Inne");
    m_subActionLabel = label(m_otherPanel, "Label12", QRect(4, 0, 222, 16),
                             u"Wybierz jedną z poniższych możliwości:"_qs);
    m_subActionBox = combo(m_otherPanel, "cb_InneOpcje", QRect(4, 16, 222, 22), true);
    m_subActionBox->addItems(listed(others::Listed));
    m_subActionBox->fitListToItems(30);
    m_subActionBox->setCurrentIndex(-1);
    nameAfter(m_subActionLabel, m_subActionBox);

    const QRect sub(0, 42, 230, 76);
    m_keyPanel = make<QWidget>(m_otherPanel, "p_Inne_Klawisz", sub);
    // The longest caption of the window may take two lines; its box stands below them.
    m_keyLabel = label(m_keyPanel, "Label14", QRect(4, 2, 222, 30),
                       u"Jaki klawisz (lub kombinację) mam zasymulować:"_qs);
    m_keyLabel->setWordWrap(true);
    m_keyLabel->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    m_keyBox = combo(m_keyPanel, "cb_Klawisze", QRect(4, 34, 222, 22), true);
    nameAfter(m_keyLabel, m_keyBox);

    m_clickPanel = make<QWidget>(m_otherPanel, "p_Inne_Klikniecie1", sub);
    m_pointLabel = label(m_clickPanel, "Label16", QRect(4, 2, 222, 16),
                         u"Podaj współrzędne (określ punkt kliknięcia):"_qs);
    m_pointCaption =
        label(m_clickPanel, "Label17", QRect(4, 22, 150, 22), u"x =                     y = "_qs);
    m_pointX = spin<QSpinBox>(m_clickPanel, "se_Inne_X_DC", QRect(24, 22, 56, 22), 0);
    m_pointY = spin<QSpinBox>(m_clickPanel, "se_Inne_Y_DC", QRect(112, 22, 56, 22), 0);
    m_pickPointButton = make<QToolButton>(m_clickPanel, "SpeedButton1", QRect(4, 48, 100, 22));
    m_pickPointButton->setText(u"Określ punkt"_qs);
    m_pointX->setAccessibleName(u"Punkt kliknięcia: x"_qs);
    m_pointY->setAccessibleName(u"Punkt kliknięcia: y"_qs);

    m_cdPanel = make<QWidget>(m_otherPanel, "p_Inne_DyskCD", sub);
    m_cdDriveLabel = label(m_cdPanel, "Label18", QRect(4, 2, 222, 16),
                           u"Wybierz dysk, którego szufladę mam ws/wy:"_qs);
    m_cdCaption = label(m_cdPanel, "Label19", QRect(4, 20, 222, 16),
                        u"Litera dysku:             Operacja:"_qs);
    m_cdDriveBox = combo(m_cdPanel, "cb_Inne_DyskCD", QRect(4, 38, 70, 22), true);
    m_cdOperationBox = combo(m_cdPanel, "cd_Inne_DyskCD_WsWy", QRect(104, 38, 90, 22), true);
    m_cdOperationBox->addItems({u"Wsuń"_qs, u"Wysuń"_qs});
    m_cdOperationBox->setEditText(u"Wysuń"_qs);
    m_cdDriveBox->setAccessibleName(u"Litera dysku"_qs);
    m_cdOperationBox->setAccessibleName(u"Operacja"_qs);

    for (QWidget *subPanel : {m_keyPanel, m_clickPanel, m_cdPanel})
        subPanel->hide();
}

void SetupWindow::fitCaptions()
{
    fitCaptionFont(*this, captionsOf(*this));
    // Fields that sit in the blanks of a caption follow the words of the chosen font.
    m_timing->fitCaptions();
    placeInGap(m_pointCaption, m_pointCaption->text(), u"x ="_qs, m_pointX);
    const int yLeft = textLeft(m_pointCaption) +
                      m_pointCaption->fontMetrics().horizontalAdvance(m_pointCaption->text());
    m_pointY->move(yLeft, m_pointY->y());
    // The operation box stands under its word "Operacja:".
    const QString cdCaption = m_cdCaption->text();
    const int operation =
        textLeft(m_cdCaption) + m_cdCaption->fontMetrics().horizontalAdvance(
                                    cdCaption.left(cdCaption.indexOf(u"Operacja"_qs)));
    m_cdOperationBox->move(operation, m_cdOperationBox->y());
}

} // namespace tockwell
