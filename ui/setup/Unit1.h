#pragma once

#include <QWidget>

namespace tockwell {

class Clock;
class SetupHost;
namespace platform {
class Platform;
}

/// The setup window: when the alarm goes off and what happens then.
class TF_Alarm final : public QWidget
{
    Q_OBJECT

public:
    TF_Alarm(platform::Platform &platform, const Clock &clock, SetupHost &host,
             const QString &programDir, QWidget *parent = nullptr);
    ~TF_Alarm() override;

    /// Disarms the alarm and gives the window back its editable state.
    void ib_StopClick();

    /// Plays the alarm sound through the window's player; throws MediaDeviceError when it cannot.
    void playAlarmSound(const QString &file);

private:
    platform::Platform &m_platform;
    const Clock &m_clock;
    SetupHost &m_host;
    QString m_programDir;
};

} // namespace tockwell
