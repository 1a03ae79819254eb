#include "SoundPanel.h"

#include "core/Error.h"
#include "engine/Actions.h"
#include "engine/ErrorBox.h"
#include "platform/Platform.h"
#include "settings/Keys.h"
#include "settings/RecentList.h"
#include "settings/Seeding.h"
#include "ui/setup/AlarmDraft.h"
#include "ui/setup/FileNameEdit.h"
#include "ui/setup/RecentListButton.h"
#include "ui/setup/SetupControls.h"
#include "ui/setup/SoundPlayer.h"
#include "ui/skin/ImageFile.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QToolButton>

namespace tockwell {

using namespace controls;

SoundPanel::SoundPanel(platform::Platform &platform, StoreFile &storeFile, QWidget *parent)
    : ActionPanel("p_k_PdegrajDzwiek", parent), m_platform(platform)
{
    m_soundLabel = label(this, "Label6", QRect(4, 0, 222, 16), u"Wybierz dźwięk do odegrania:"_qs);
    m_soundField = make<FileNameEdit>(this, "fne_PlikWAV", QRect(4, 16, 198, 22),
                                      FileNameEdit::Kind::ExistingFile);
    nameAfter(m_soundLabel, m_soundField);
    m_soundField->setFilters({{u"Wszystkie dźwięki (*.wav *.mp3 *.mid *.midi *.oga *.ogg)"_qs,
                               u"*.wav *.mp3 *.mid *.midi *.oga *.ogg"_qs},
                              {u"MP3 (*.mp3)"_qs, u"*.mp3"_qs},
                              {u"MID (*.mid *.midi)"_qs, u"*.mid *.midi"_qs},
                              {u"WAV (*.wav)"_qs, u"*.wav"_qs}});
    m_listButton = new RecentListButton(keys::Sound_MRU, "sb_ListaPlikowWAV", "pm_PlikiWAV",
                                        QRect(204, 16, 22, 22), storeFile, platform.dialogs(), this,
                                        m_soundField);
    m_durationLabel = label(this, "Label128", QRect(4, 46, 36, 16), u"Czas:"_qs);
    m_durationValue = label(this, "LabelCzas", QRect(40, 46, 120, 16), u"(brak pliku)"_qs);
    m_durationValue->setToolTip(u"Czas trwania utworu"_qs);
    QFont bold; // only the weight: the size follows the window's
    bold.setBold(true);
    m_durationValue->setFont(bold);
    createToolbar();
    m_player = std::make_unique<SoundPlayer>(platform.mediaPlayer(), [this] {
        guarded(m_platform.dialogs(), [this] { playbackEnded(); });
    });

    platform::Dialogs &dialogs = platform.dialogs();
    connectGuarded(dialogs, m_soundField, &FileNameEdit::textChanged, this, &SoundPanel::check);
    connectGuarded(dialogs, m_playButton, &QToolButton::clicked, this, &SoundPanel::play);
    connectGuarded(dialogs, m_pauseButton, &QToolButton::clicked, this, &SoundPanel::pause);
    connectGuarded(dialogs, m_stopButton, &QToolButton::clicked, this, &SoundPanel::stopPlaying);
    connect(m_listButton, &RecentListButton::entryChosen, m_soundField, &FileNameEdit::setText);
}

SoundPanel::~SoundPanel() = default;

void SoundPanel::createToolbar()
{
    const auto toolButton = [this](const char *name, int left, const QString &image,
                                   const QString &hint) {
        auto *button = make<QToolButton>(this, name, QRect(left, 68, 26, 24));
        button->setIcon(readIcon(u":/setup/"_qs + image, "PNG"));
        button->setToolTip(hint);
        button->setCheckable(true);
        return button;
    };
    m_playButton = toolButton("Play", 4, u"play.png"_qs, u"Odgrywaj dźwięk"_qs);
    m_pauseButton = toolButton("Pause", 32, u"pause.png"_qs, u"Pauza"_qs);
    m_stopButton = toolButton("Stop", 60, u"stop.png"_qs, u"Stop"_qs);
    m_stopButton->setChecked(true);
    m_loopBox =
        make<QCheckBox>(this, "LoopCheckBox", QRect(4, 96, 222, 20), u"Graj w nieskończoność"_qs);
    m_loopBox->setToolTip(u"Dźwięk jest cały czas powtarzany"_qs);
}

void SoundPanel::restore(const LastSettings &)
{
    const RecentListContents contents = m_listButton->load();
    const QSignalBlocker blocker(m_soundField);
    m_soundField->setText(restoredFieldText(keys::Sound_MRU, contents));
}

void SoundPanel::check()
{
    const QString file = fileNameOfFieldText(m_soundField->text());
    const std::initializer_list<QWidget *> player = {m_playButton, m_pauseButton, m_stopButton,
                                                     m_loopBox};
    if (file.isEmpty() || !QFileInfo(file).isFile()) {
        m_durationValue->setText(u"(brak pliku)"_qs);
        if (m_playButton->isChecked())
            stopTestPlayback();
        for (QWidget *control : player)
            control->setEnabled(false);
        emit readinessChanged(false, false);
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
    for (QWidget *control : player)
        control->setEnabled(true);
    emit readinessChanged(true, true);
}

void SoundPanel::showDraft(const AlarmDraft &draft)
{
    m_soundField->setText(draft.soundField);
}

void SoundPanel::readInto(AlarmDraft &draft) const
{
    draft.soundField = m_soundField->text();
}

void SoundPanel::setLocked(bool locked)
{
    for (QWidget *control : std::initializer_list<QWidget *>{
             m_soundLabel, m_soundField, m_listButton, m_durationLabel, m_durationValue,
             m_playButton, m_pauseButton, m_stopButton, m_loopBox})
        control->setEnabled(!locked);
    if (locked ? m_playButton->isChecked() : m_stopButton->isChecked())
        stopTestPlayback();
}

QWidget *SoundPanel::firstField() const
{
    return m_soundField;
}

void SoundPanel::playAlarmSound(const QString &file)
{
    m_stopButton->setChecked(false);
    m_player->setFileName(file);
    m_player->open();
    m_playButton->setChecked(true);
    m_player->play();
}

void SoundPanel::openAndTimeSound(QString fileName)
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

void SoundPanel::play()
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

void SoundPanel::pause()
{
    try {
        m_player->pause();
        setToolbar(Toolbar::Paused);
    } catch (const MediaDeviceError &) {
        m_pauseButton->setChecked(false);
        throw Error(u"Dźwięk nie jest odtwarzany !!!"_qs);
    }
}

void SoundPanel::stopPlaying()
{
    try {
        m_player->setNotify(false);
        m_player->stop();
        setToolbar(Toolbar::Stopped);
        emit soundEnded();
    } catch (const MediaDeviceError &) {
        m_stopButton->setChecked(false);
        throw Error(u"Nie można wyłączyć dźwięku ponieważ nie jest on odtwarzany !!!"_qs);
    }
}

bool SoundPanel::isSounding() const
{
    return m_playButton->isChecked() || m_pauseButton->isChecked();
}

void SoundPanel::playbackEnded()
{
    // The loop box is read now, so a change during a play counts from the end of that play.
    if (!m_loopBox->isChecked()) {
        setToolbar(Toolbar::Stopped);
        emit soundEnded();
        return;
    }
    if (m_player->notifyValue() == platform::MediaNotification::Successful && m_player->isOpen())
        m_player->play();
}

void SoundPanel::setToolbar(Toolbar state)
{
    m_playButton->setChecked(state == Toolbar::Playing);
    m_pauseButton->setChecked(state == Toolbar::Paused);
    m_stopButton->setChecked(state == Toolbar::Stopped);
}

void SoundPanel::stopTestPlayback()
{
    // With no sound open there is nothing to stop; the buttons are set all the same.
    if (m_player->isOpen()) {
        m_player->setNotify(false);
        m_player->stop();
    }
    setToolbar(Toolbar::Stopped);
}

} // namespace tockwell
