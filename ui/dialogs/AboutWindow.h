#pragma once

#include "NetworkLibrary.h"
#include "core/UpdateFile.h"

#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QWidget>

#include <chrono>
#include <functional>
#include <memory>

namespace tockwell {
namespace platform {
class Platform;
}

/// Where the About window finds its help page and the update file, how it tells whether the
/// computer is online and what downloads. forProgram() gives the program's own; tests replace
/// them.
struct AboutSettings
{
    QString programDir;           ///< the help pages are in its "help" folder
    QUrl updateLocation;          ///< a base address ending in "/"; "version.ini" is added
    std::function<bool()> online; ///< the online test
    std::chrono::milliseconds timeLimit{10000}; ///< of the download
    /// The network library, opened at the first check; by default the one next to the program.
    std::shared_ptr<NetworkLibrary> network = std::make_shared<NetworkLibrary>();

    /// The update location from the build, or from $TOCKWELL_UPDATE_LOCATION when it is set.
    static AboutSettings forProgram(const QString &programDir);
};

/// The About window: the program's picture and version, the maker's contact lines and links,
/// help, and a button for a newer version. Its first showing while online waits for the check
/// for a newer version; the window appears when the check has ended. The setup window is
/// disabled behind it while it is open.
class AboutWindow final : public QWidget
{
    Q_OBJECT

public:
    /// `setupWindow` is enabled again when the window closes.
    AboutWindow(platform::Platform &platform, QWidget &setupWindow, AboutSettings settings,
                QWidget *parent = nullptr);
    ~AboutWindow() override;

    /// Showing runs the showing sequence first, so the window appears with its final contents.
    void setVisible(bool visible) override;

    /// What the update check found so far.
    const UpdateInfo &updateInfo() const { return m_update; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildLayout();
    void layOut();
    void prepareShowing();
    void checkForUpdate();
    void openHelp();
    void openDownload();
    void openWebAddress(const QString &address);
    void enableSetupWindow();
    QString helpFile() const;

    platform::Platform &m_platform;
    QWidget &m_setupWindow;
    const AboutSettings m_settings;
    UpdateInfo m_update;
    QString m_currentVersion;
    bool m_checkDone = false;
    bool m_showing = false;

    QLabel m_picture;
    QLabel m_versionLabel;
    QLabel m_makerLabel;
    QLabel m_contactLabel;
    QLabel m_homePageLabel;
    QLabel m_homePageLink;
    QLabel m_otherPageLink;
    QPushButton m_updateButton;
    QPushButton m_helpButton;
    QPushButton m_okButton;
};

} // namespace tockwell
