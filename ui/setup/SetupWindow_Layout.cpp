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
#include "panels/OtherActionsPanel.h"
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
    m_otherPanel = new OtherActionsPanel(m_platform, m_storeFile, m_host, m_actionGroup);
    m_panels = {{kinds::Message, message},    {kinds::PlaySound, m_soundPanel},
                {kinds::OpenFolder, folder},  {kinds::OpenFile, file},
                {kinds::RunProgram, program}, {kinds::OpenWebPage, webPage},
                {kinds::Shutdown, shutdown},  {kinds::Other, m_otherPanel}};

    m_previewButton =
        make<QPushButton>(m_actionGroup, "cb_Podglad", QRect(150, 166, 80, 24), u"Podgląd"_qs);
    m_previewButton->setFlat(true);
    m_otherPanel->createHelpLink(m_actionGroup);
}

void SetupWindow::fitCaptions()
{
    fitCaptionFont(*this, captionsOf(*this));
    // Fields that sit in the blanks of a caption follow the words of the chosen font.
    m_timing->fitCaptions();
    for (const auto &[kind, panel] : m_panels)
        panel->fitCaptions();
}

} // namespace tockwell
