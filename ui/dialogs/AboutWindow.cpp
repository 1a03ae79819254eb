#include "AboutWindow.h"

#include "UpdateLocation.h"
#include "WindowPlacement.h"
#include "core/HelpPages.h"
#include "engine/ErrorBox.h"
#include "engine/SystemInfo.h"
#include "platform/Platform.h"
#include "ui/skin/ImageFile.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyle>
#include <QTemporaryFile>

namespace tockwell {
namespace {

constexpr QRect PictureArea(16, 16, 400, 160);
constexpr int WindowWidth = 16 + 400 + 16;
constexpr int LineLeft = 16;
constexpr int Margin = 16;

constexpr auto BuiltInHomePage = u"https://www.kestrolab.pl/";
constexpr auto UpdateFileName = u"version.ini";

QString linkText(const QString &address)
{
    return u"<a href=\"#\">%1</a>"_qs.arg(address.toHtmlEscaped());
}

/// Shows a busy pointer while it lives.
class BusyCursor final
{
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

} // namespace

AboutSettings AboutSettings::forProgram(const QString &programDir)
{
    const QString fromEnvironment = qEnvironmentVariable("TOCKWELL_UPDATE_LOCATION");
    AboutSettings settings{programDir,
                           QUrl(fromEnvironment.isEmpty() ? QStringLiteral(TOCKWELL_UPDATE_LOCATION)
                                                          : fromEnvironment),
                           {},
                           std::chrono::milliseconds(10000)};
    // Not knowing, as without the library, counts as online: the check then tells.
    settings.online = [library = settings.network] {
        network::Backend *backend = library->backend();
        return !backend || backend->isOnline();
    };
    return settings;
}

AboutWindow::AboutWindow(platform::Platform &platform, QWidget &setupWindow, AboutSettings settings,
                         QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_platform(platform), m_setupWindow(setupWindow), m_settings(std::move(settings)),
      m_picture(this), m_versionLabel(this), m_makerLabel(this), m_contactLabel(this),
      m_homePageLabel(this), m_homePageLink(this), m_otherPageLink(this), m_updateButton(this),
      m_helpButton(this), m_okButton(this)
{
    setObjectName(u"F_About"_qs);
    setWindowTitle(u"O programie ..."_qs);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    m_update.homePage = QString::fromUtf16(BuiltInHomePage);
    buildLayout();

    connectGuarded(m_platform.dialogs(), &m_okButton, &QPushButton::clicked, this,
                   &AboutWindow::close);
    connectGuarded(m_platform.dialogs(), &m_helpButton, &QPushButton::clicked, this,
                   &AboutWindow::openHelp);
    connectGuarded(m_platform.dialogs(), &m_updateButton, &QPushButton::clicked, this,
                   &AboutWindow::openDownload);
    connectGuarded(m_platform.dialogs(), &m_homePageLink, &QLabel::linkActivated, this,
                   [this] { openWebAddress(m_update.homePage); });
    connectGuarded(m_platform.dialogs(), &m_otherPageLink, &QLabel::linkActivated, this,
                   [this] { openWebAddress(m_update.otherPage); });
    layOut();
}

AboutWindow::~AboutWindow() = default;

void AboutWindow::buildLayout()
{
    const auto name = [](QWidget &w, const char *objectName) {
        w.setObjectName(QString::fromLatin1(objectName));
    };
    name(m_picture, "img_About");
    m_picture.setGeometry(PictureArea);
    m_picture.setPixmap(readPixmap(u":/about/about.jpg"_qs, "JPEG"));

    name(m_versionLabel, "l_Version");
    QFont bold = m_versionLabel.font();
    bold.setBold(true);
    m_versionLabel.setFont(bold);

    name(m_makerLabel, "l_Maker");
    m_makerLabel.setText(u"© Kestrolab. Wszelkie prawa zastrzeżone."_qs);
    name(m_contactLabel, "l_Contact");
    m_contactLabel.setText(u"Uwagi i pytania: tockwell@kestrolab.pl"_qs);
    name(m_homePageLabel, "l_HomePage");
    m_homePageLabel.setText(u"Strona domowa:"_qs);
    for (QLabel *link : {&m_homePageLink, &m_otherPageLink}) {
        link->setTextFormat(Qt::RichText);
        link->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
        link->setCursor(Qt::PointingHandCursor);
    }
    name(m_homePageLink, "a_l_9");
    name(m_otherPageLink, "a_l_CV");

    const auto button = [&name](QPushButton &b, const char *objectName, const QString &text) {
        name(b, objectName);
        b.setText(text);
        b.setFlat(true);
        b.setFocusPolicy(Qt::NoFocus);
    };
    button(m_okButton, "sb_OK", u"OK"_qs);
    m_okButton.setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    button(m_helpButton, "sb_Pomoc", u"Pomoc"_qs);
    m_helpButton.setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
    button(m_updateButton, "sb_DownUpdate", u"Dostępna jest nowa wersja programu"_qs);
    m_updateButton.setFont(bold);
    m_updateButton.hide();
}

void AboutWindow::layOut()
{
    m_versionLabel.setText(u"v "_qs + m_currentVersion);
    m_versionLabel.adjustSize();
    m_versionLabel.move(PictureArea.right() + 1 - m_versionLabel.width(), PictureArea.bottom() + 1);

    int top = m_versionLabel.geometry().bottom() + 1 + 4;
    const auto line = [&top](QLabel &label, int left = LineLeft) {
        label.adjustSize();
        label.move(left, top);
        top = label.geometry().bottom() + 1 + 2;
    };
    line(m_makerLabel);
    line(m_contactLabel);
    m_homePageLink.setText(linkText(m_update.homePage));
    m_homePageLabel.adjustSize();
    m_homePageLink.adjustSize();
    m_homePageLabel.move(LineLeft, top);
    m_homePageLink.move(LineLeft + m_homePageLabel.width() + 4, top);
    top += std::max(m_homePageLabel.height(), m_homePageLink.height()) + 2;
    m_otherPageLink.setVisible(!m_update.otherPage.isEmpty());
    if (!m_update.otherPage.isEmpty()) {
        m_otherPageLink.setText(linkText(m_update.otherPage));
        line(m_otherPageLink);
    }

    // The button row: OK at the right, help to its left, the update button filling the rest.
    const int buttonsTop = top - 2 + Margin;
    m_okButton.adjustSize();
    m_okButton.resize(std::max(m_okButton.width(), 75), std::max(m_okButton.height(), 25));
    m_okButton.move(WindowWidth - Margin - m_okButton.width(), buttonsTop);
    m_helpButton.adjustSize();
    m_helpButton.resize(std::max(m_helpButton.width(), 75), m_okButton.height());
    m_helpButton.move(m_okButton.x() - Margin - m_helpButton.width(), buttonsTop);
    m_updateButton.setGeometry(8, buttonsTop, m_helpButton.x() - 16, m_okButton.height());
    m_updateButton.setToolTip(m_update.updateNote);
    // Its bold caption is longer than the place the row leaves it at the desktop's font.
    QFont caption = m_updateButton.font();
    while (m_updateButton.sizeHint().width() > m_updateButton.width() && caption.pointSizeF() > 6) {
        caption.setPointSizeF(caption.pointSizeF() - 0.5);
        m_updateButton.setFont(caption);
    }

    // The frame's caption takes about 16 of the 32 pixels below OK that the window keeps.
    setFixedSize(WindowWidth, m_okButton.geometry().bottom() + 1 + Margin);
}

void AboutWindow::setVisible(bool visible)
{
    if (visible && !isVisible() && !m_showing) {
        m_showing = true;
        guarded(m_platform.dialogs(), [this] { prepareShowing(); });
        m_showing = false;
        centreOnScreen(*this);
    }
    QWidget::setVisible(visible);
}

void AboutWindow::prepareShowing()
{
    m_currentVersion = systeminfo::versionString();
    if (!m_checkDone && m_settings.online()) {
        checkForUpdate();
        // An address that the desktop would not open as a web page is no address at all.
        m_updateButton.setVisible(isNewerVersion(m_update.newestVersion, m_currentVersion) &&
                                  isWebAddress(m_update.downloadAddress));
        m_checkDone = true;
    }
    layOut();
    m_helpButton.setVisible(QFileInfo::exists(helpFile()));
}

void AboutWindow::checkForUpdate()
{
    const BusyCursor busy;
    // Without the network library or a temporary folder the download fails: it goes nowhere
    // else.
    network::Backend *backend = m_settings.network->backend();
    const std::unique_ptr<QTemporaryFile> file =
        backend ? backend->download(
                      m_settings.updateLocation.resolved(QUrl(QString::fromUtf16(UpdateFileName))),
                      systeminfo::tempDirectory(), m_settings.timeLimit)
                : nullptr;
    const std::optional<ProfileIni> ini =
        file ? ProfileIni::fromFile(file->fileName()) : std::nullopt;
    takeUpdateFile(ini ? &*ini : nullptr, QString::fromUtf16(BuiltInHomePage), m_update);
    // The file goes with `file`, read or not.
}

void AboutWindow::openHelp()
{
    m_platform.shell().open(helpFile(), QString(), platform::ShowCommand::ShowMaximized);
}

void AboutWindow::openDownload()
{
    // The address came from the network: only a web address goes to the desktop.
    if (isWebAddress(m_update.downloadAddress))
        m_platform.shell().open(m_update.downloadAddress, QString(),
                                platform::ShowCommand::ShowNormal);
}

void AboutWindow::openWebAddress(const QString &address)
{
    if (isWebAddress(address))
        m_platform.shell().open(address, QString(), platform::ShowCommand::ShowMaximized);
}

void AboutWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

void AboutWindow::closeEvent(QCloseEvent *event)
{
    enableSetupWindow();
    event->accept();
}

void AboutWindow::enableSetupWindow()
{
    m_setupWindow.setEnabled(true);
}

QString AboutWindow::helpFile() const
{
    return help::pagePath(m_settings.programDir, help::ProgramPage);
}

} // namespace tockwell
