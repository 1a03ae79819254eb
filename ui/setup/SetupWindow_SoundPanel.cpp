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
    m_playButton->setChecked(state == Toolbar::Playing);
    m_pauseButton->setChecked(state == Toolbar::Paused);
    m_stopPlayingButton->setChecked(state == Toolbar::Stopped);
}

void SetupWindow::stopTestPlayback()
{
    // With no sound open there is nothing to stop; the buttons are set all the same.
    if (m_player->isOpen()) {
        m_player->setNotify(false);
        m_player->stop();
    }
    setToolbar(Toolbar::Stopped);
}

void SetupWindow::fne_PlikWAVChange()
{
    const QString file = fileNameOfFieldText(m_soundField->text());
    if (file.isEmpty() || !QFileInfo(file).isFile()) {
        m_durationValue->setText(u"(brak pliku)"_qs);
        if (m_playButton->isChecked())
            stopTestPlayback();
        enable({m_playButton, m_pauseButton, m_stopPlayingButton, m_loopBox, m_startButton}, false);
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
        throw Error(Actions::soundErrorText(m_player->fileName()));
    }
    enable({m_playButton, m_pauseButton, m_stopPlayingButton, m_loopBox, m_previewButton,
            m_startButton},
           true);
}

void SetupWindow::lockSoundPanel(bool locked)
{
    // A test playback ends with the lock; after the alarm's own sound the buttons are reset.
    if (locked ? m_playButton->isChecked() : m_stopPlayingButton->isChecked())
        stopTestPlayback();
}

void SetupWindow::openAndTimeSound(QString fileName)
{
    // A bare name of one of the desktop's own sounds is found in the system's sound folder,
    // and a file of that name there wins.
    const QString systemSound = systemSoundFolder() + QLatin1Char('/') + fileName;
    if (QFileInfo(systemSound).isFile())
        fileName = systemSound;
    setToolbar(Toolbar::Stopped);
    m_player->setFileName(fileName);
    m_player->open();
    m_durationValue->setText(playingTimeText(m_player->length()));
}

void SetupWindow::PlayClick()
{
    try {
        m_player->setNotify(true);
        m_player->play();
        setToolbar(Toolbar::Playing);
    } catch (const MediaDeviceError &) {
        m_playButton->setChecked(false);
        throw Error(u"Najpierw musisz wybrac dźwięk do odtworzenia !!!"_qs);
    }
}

void SetupWindow::PauseClick()
{
    try {
        m_player->pause();
        setToolbar(Toolbar::Paused);
    } catch (const MediaDeviceError &) {
        m_pauseButton->setChecked(false);
        throw Error(u"Dźwięk nie jest odtwarzany !!!"_qs);
    }
}

void SetupWindow::StopClick()
{
    try {
        m_player->setNotify(false);
        m_player->stop();
        setToolbar(Toolbar::Stopped);
    } catch (const MediaDeviceError &) {
        m_stopPlayingButton->setChecked(false);
        throw Error(u"Nie można wyłączyć dźwięku ponieważ nie jest on odtwarzany !!!"_qs);
    }
}

void SetupWindow::playbackEnded()
{
    // The loop box is read now, so a change during a play counts from the end of that play.
    if (!m_loopBox->isChecked()) {
        setToolbar(Toolbar::Stopped);
        return;
    }
    if (m_player->notifyValue() == platform::MediaNotification::Successful && m_player->isOpen())
        m_player->play();
}

void SetupWindow::playAlarmSound(const QString &file)
{
    m_stopPlayingButton->setChecked(false);
    m_player->setFileName(file);
    m_player->open();
    m_playButton->setChecked(true);
    m_player->play();
}

} // namespace tockwell
