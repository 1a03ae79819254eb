#include "about.h"

#include "Version.h"
#include "WindowPlacement.h"

#include <QCloseEvent>
#include <QKeyEvent>

namespace tockwell {
namespace {

// The program's picture fills this place; the rest of the window is laid out below it.
constexpr QRect PictureArea(16, 16, 400, 160);

} // namespace

TF_About::TF_About(QWidget &setupWindow, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_setupWindow(setupWindow), l_Version(this), sb_OK(u"OK"_qs, this)
{
    setObjectName(u"F_About"_qs);
    setWindowTitle(u"O programie ..."_qs);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    l_Version.setObjectName(u"l_Version"_qs);
    QFont bold = l_Version.font();
    bold.setBold(true);
    l_Version.setFont(bold);
    l_Version.setText(u"v "_qs + QStringLiteral(TOCKWELL_VERSION));
    l_Version.adjustSize();
    l_Version.move(PictureArea.right() + 1 - l_Version.width(), PictureArea.bottom() + 1);

    sb_OK.setObjectName(u"sb_OK"_qs);
    sb_OK.adjustSize();
    const int width = PictureArea.right() + 1 + 16;
    sb_OK.move(width - 16 - sb_OK.width(), l_Version.geometry().bottom() + 1 + 16);
    connect(&sb_OK, &QPushButton::clicked, this, &TF_About::sb_OKClick);

    setFixedSize(width, sb_OK.geometry().bottom() + 1 + 16);
    centreOnScreen(*this);
}

void TF_About::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

void TF_About::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

void TF_About::sb_OKClick()
{
    close();
}

void TF_About::FormClose()
{
    m_setupWindow.setEnabled(true);
}

} // namespace tockwell
