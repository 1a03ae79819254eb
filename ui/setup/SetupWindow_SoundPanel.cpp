// The sound panel: choosing and timing a sound file, the test player's buttons, the end-of-play
// rule with its endless loop, and the alarm sound, which plays through the same player.
#include "FileNameEdit.h"
#include "SetupWindow.h"
#include "SoundPlayer.h"
#include "core/Error.h"
#include "engine/Actions.h"
#include "engine/ErrorBox.h"
#include "platform/Platform.h"
#include "settings/RecentList.h"
#include "settings/Seeding.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace tockwell {

void SetupWindow::setToolbar(Toolbar state)
{
    Play->setChecked(state == Toolbar::Playing);
    Pause->setChecked(state == Toolbar::Paused);
    Stop->setChecked(state == Toolbar::Stopped);
}

void SetupWindow::stopTestPlayback()
{
    // With no sound open there is nothing to stop; the buttons are set all the same.
    if (Player->isOpen()) {
        Player->setNotify(false);
        Player->stop();
    }
    setToolbar(Toolbar::Stopped);
}

void SetupWindow::fne_PlikWAVChange()
{
    const QString file = fileNameOfFieldText(fne_PlikWAV->text());
    if (file.isEmpty() || !QFileInfo(file).isFile()) {
        LabelCzas->setText(u"(brak pliku)"_qs);
        if (Play->isChecked())
            stopTestPlayback();
        enable({Play, Pause, Stop, LoopCheckBox, ib_Start}, false);
        return;
    }
    if (!isSoundFileName(file)) {
        m_platform.dialogs().messageBox(
            u"Wybrany format pliku jest niepoprawny.\rWybierz inny plik lub upewnij się, czy "
            "wybrany plik ma rozszerzenie typu WAV lub MP3"_qs,
            QString::fromUtf16(AppTitle), platform::mb::Ok);
        return;
    }
    try {
        openAndTimeSound(file);
    } catch (const MediaDeviceError &) {
        throw Error(Actions::soundErrorText(Player->fileName()));
    }
    enable({Play, Pause, Stop, LoopCheckBox, cb_Podglad, ib_Start}, true);
}

void SetupWindow::checkSoundField()
{
    handle([this] { fne_PlikWAVChange(); });
}

void SetupWindow::openAndTimeSound(QString fileName)
{
    // A bare name of one of the desktop's own sounds is found in the system's sound folder,
    // and a file of that name there wins.
    const QString systemSound = systemSoundFolder() + QLatin1Char('/') + fileName;
    if (QFileInfo(systemSound).isFile())
        fileName = systemSound;
    setToolbar(Toolbar::Stopped);
    Player->setFileName(fileName);
    Player->open();
    LabelCzas->setText(playingTimeText(Player->length()));
}

void SetupWindow::PlayClick()
{
    try {
        Player->setNotify(true);
        Player->play();
        setToolbar(Toolbar::Playing);
    } catch (const MediaDeviceError &) {
        Play->setChecked(false);
        throw Error(u"Najpierw musisz wybrac dźwięk do odtworzenia !!!"_qs);
    }
}

void SetupWindow::PauseClick()
{
    try {
        Player->pause();
        setToolbar(Toolbar::Paused);
    } catch (const MediaDeviceError &) {
        Pause->setChecked(false);
        throw Error(u"Dźwięk nie jest odtwarzany !!!"_qs);
    }
}

void SetupWindow::StopClick()
{
    try {
        Player->setNotify(false);
        Player->stop();
        setToolbar(Toolbar::Stopped);
    } catch (const MediaDeviceError &) {
        Stop->setChecked(false);
        throw Error(u"Nie można wyłączyć dźwięku ponieważ nie jest on odtwarzany !!!"_qs);
    }
}

void SetupWindow::PlayerNotify()
{
    // The loop box is read now, so a change during a play counts from the end of that play.
    if (!LoopCheckBox->isChecked()) {
        setToolbar(Toolbar::Stopped);
        return;
    }
    if (Player->notifyValue() == platform::MediaNotification::Successful && Player->isOpen())
        Player->play();
}

void SetupWindow::playAlarmSound(const QString &file)
{
    Stop->setChecked(false);
    Player->setFileName(file);
    Player->open();
    Play->setChecked(true);
    Player->play();
}

} // namespace tockwell
