#include "AboutWindow.h"

#include "UpdateLocation.h"
#include "WindowPlacement.h"
#include "core/HelpPages.h"
#include "engine/ErrorBox.h"
#include "engine/SystemInfo.h"
#include "engine/UpdateDownload.h"
#include "platform/Platform.h"
#include "ui/skin/ImageFile.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QNetworkAccessManager>
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
    return {programDir,
            QUrl(fromEnvironment.isEmpty() ? QStringLiteral(TOCKWELL_UPDATE_LOCATION)
                                           : fromEnvironment),
            &systeminfo::isOnline, std::chrono::milliseconds(10000)};
}

template <typename Handler> void AboutWindow::guard(Handler &&handler)
{
    guarded(m_platform.dialogs(), std::forward<Handler>(handler));
}

AboutWindow::AboutWindow(platform::Platform &platform, QWidget &setupWindow, AboutSettings settings,
                         QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_platform(platform), m_setupWindow(setupWindow), m_settings(std::move(settings)),
      img_About(this), l_Version(this), l_Maker(this), l_Contact(this), l_HomePage(this),
      a_l_9(this), a_l_CV(this), sb_DownUpdate(this), sb_Pomoc(this), sb_OK(this)
{
    setObjectName(u"F_About"_qs);
    setWindowTitle(u"O programie ..."_qs);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    m_update.homePage = QString::fromUtf16(BuiltInHomePage);
    buildLayout();

    connect(&sb_OK, &QPushButton::clicked, this, [this] { guard([this] { sb_OKClick(); }); });
    connect(&sb_Pomoc, &QPushButton::clicked, this, [this] { guard([this] { sb_PomocClick(); }); });
    connect(&sb_DownUpdate, &QPushButton::clicked, this,
            [this] { guard([this] { sb_DownUpdateClick(); }); });
    connect(&a_l_9, &QLabel::linkActivated, this,
            [this] { guard([this] { openWebAddress(m_update.homePage); }); });
    connect(&a_l_CV, &QLabel::linkActivated, this,
            [this] { guard([this] { openWebAddress(m_update.otherPage); }); });
    layOut();
}

AboutWindow::~AboutWindow() = default;

void AboutWindow::buildLayout()
{
    const auto name = [](QWidget &w, const char *objectName) {
        w.setObjectName(QString::fromLatin1(objectName));
    };
    name(img_About, "img_About");
    img_About.setGeometry(PictureArea);
    img_About.setPixmap(readPixmap(u":/about/about.jpg"_qs, "JPEG"));

    name(l_Version, "l_Version");
    QFont bold = l_Version.font();
    bold.setBold(true);
    l_Version.setFont(bold);

    name(l_Maker, "l_Maker");
    l_Maker.setText(u"© Kestrolab. Wszelkie prawa zastrzeżone."_qs);
    name(l_Contact, "l_Contact");
    l_Contact.setText(u"Uwagi i pytania: tockwell@kestrolab.pl"_qs);
    name(l_HomePage, "l_HomePage");
    l_HomePage.setText(u"Strona domowa:"_qs);
    for (QLabel *link : {&a_l_9, &a_l_CV}) {
        link->setTextFormat(Qt::RichText);
        link->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
        link->setCursor(Qt::PointingHandCursor);
    }
    name(a_l_9, "a_l_9");
    name(a_l_CV, "a_l_CV");

    const auto button = [&name](QPushButton &b, const char *objectName, const QString &text) {
        name(b, objectName);
        b.setText(text);
        b.setFlat(true);
        b.setFocusPolicy(Qt::NoFocus);
    };
    button(sb_OK, "sb_OK", u"OK"_qs);
    sb_OK.setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    button(sb_Pomoc, "sb_Pomoc", u"Pomoc"_qs);
    sb_Pomoc.setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
    button(sb_DownUpdate, "sb_DownUpdate", u"Dostępna jest nowa wersja programu"_qs);
    sb_DownUpdate.setFont(bold);
    sb_DownUpdate.hide();
}

void AboutWindow::layOut()
{
    l_Version.setText(u"v "_qs + m_currentVersion);
    l_Version.adjustSize();
    l_Version.move(PictureArea.right() + 1 - l_Version.width(), PictureArea.bottom() + 1);

    int top = l_Version.geometry().bottom() + 1 + 4;
    const auto line = [&top](QLabel &label, int left = LineLeft) {
        label.adjustSize();
        label.move(left, top);
        top = label.geometry().bottom() + 1 + 2;
    };
    line(l_Maker);
    line(l_Contact);
    a_l_9.setText(linkText(m_update.homePage));
    l_HomePage.adjustSize();
    a_l_9.adjustSize();
    l_HomePage.move(LineLeft, top);
    a_l_9.move(LineLeft + l_HomePage.width() + 4, top);
    top += std::max(l_HomePage.height(), a_l_9.height()) + 2;
    a_l_CV.setVisible(!m_update.otherPage.isEmpty());
    if (!m_update.otherPage.isEmpty()) {
        a_l_CV.setText(linkText(m_update.otherPage));
        line(a_l_CV);
    }

    // The button row: OK at the right, help to its left, the update button filling the rest.
    const int buttonsTop = top - 2 + Margin;
    sb_OK.adjustSize();
    sb_OK.resize(std::max(sb_OK.width(), 75), std::max(sb_OK.height(), 25));
    sb_OK.move(WindowWidth - Margin - sb_OK.width(), buttonsTop);
    sb_Pomoc.adjustSize();
    sb_Pomoc.resize(std::max(sb_Pomoc.width(), 75), sb_OK.height());
    sb_Pomoc.move(sb_OK.x() - Margin - sb_Pomoc.width(), buttonsTop);
    sb_DownUpdate.setGeometry(8, buttonsTop, sb_Pomoc.x() - 16, sb_OK.height());
    sb_DownUpdate.setToolTip(m_update.updateNote);
    // Its bold caption is longer than the place the row leaves it at the desktop's font.
    QFont caption = sb_DownUpdate.font();
    while (sb_DownUpdate.sizeHint().width() > sb_DownUpdate.width() && caption.pointSizeF() > 6) {
        caption.setPointSizeF(caption.pointSizeF() - 0.5);
        sb_DownUpdate.setFont(caption);
    }

    // The frame's caption takes about 16 of the 32 pixels below OK that the window keeps.
    setFixedSize(WindowWidth, sb_OK.geometry().bottom() + 1 + Margin);
}

void AboutWindow::setVisible(bool visible)
{
    if (visible && !isVisible() && !m_showing) {
        m_showing = true;
        guard([this] { FormShow(); });
        m_showing = false;
        centreOnScreen(*this);
    }
    QWidget::setVisible(visible);
}

void AboutWindow::FormShow()
{
    m_currentVersion = systeminfo::versionString();
    if (!m_checkDone && m_settings.online()) {
        checkForUpdate();
        // An address that the desktop would not open as a web page is no address at all.
        sb_DownUpdate.setVisible(isNewerVersion(m_update.newestVersion, m_currentVersion) &&
                                 isWebAddress(m_update.downloadAddress));
        m_checkDone = true;
    }
    layOut();
    sb_Pomoc.setVisible(QFileInfo::exists(helpFile()));
}

void AboutWindow::checkForUpdate()
{
    const BusyCursor busy;
    if (!m_network)
        m_network = std::make_unique<QNetworkAccessManager>();
    // Without a temporary folder the download fails: it goes nowhere else.
    const std::unique_ptr<QTemporaryFile> file = downloadToTemporaryFile(
        *m_network, m_settings.updateLocation.resolved(QUrl(QString::fromUtf16(UpdateFileName))),
        systeminfo::tempDirectory(), m_settings.timeLimit);
    const std::optional<ProfileIni> ini =
        file ? ProfileIni::fromFile(file->fileName()) : std::nullopt;
    takeUpdateFile(ini ? &*ini : nullptr, QString::fromUtf16(BuiltInHomePage), m_update);
    // The file goes with `file`, read or not.
}

void AboutWindow::sb_OKClick()
{
    close();
}

void AboutWindow::sb_PomocClick()
{
    m_platform.shell().open(helpFile(), QString(), platform::ShowCommand::ShowMaximized);
}

void AboutWindow::sb_DownUpdateClick()
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
    FormClose();
    event->accept();
}

void AboutWindow::FormClose()
{
    m_setupWindow.setEnabled(true);
}

QString AboutWindow::helpFile() const
{
    return help::pagePath(m_settings.programDir, help::ProgramPage);
}

} // namespace tockwell
