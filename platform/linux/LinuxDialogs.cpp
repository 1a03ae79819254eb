#include "LinuxDialogs.h"

#include <QMessageBox>

namespace tockwell::platform {
namespace {

QMessageBox::Icon iconOf(unsigned flags)
{
    switch (flags & 0xF0) {
    case mb::IconError:
        return QMessageBox::Critical;
    case mb::IconQuestion:
        return QMessageBox::Question;
    case mb::IconExclamation:
        return QMessageBox::Warning;
    case mb::IconInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons buttonsOf(unsigned flags)
{
    switch (flags & 0xF) {
    case mb::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case mb::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    default:
        return QMessageBox::Ok;
    }
}

} // namespace

Answer LinuxDialogs::messageBox(const QString &text, const QString &caption, unsigned flags)
{
    QMessageBox box(iconOf(flags), caption,
                    QString(text).replace(u"\r\n"_qs, u"\n"_qs).replace(u'\r', u'\n'),
                    buttonsOf(flags));
    box.setWindowModality(Qt::ApplicationModal);
    if (flags & mb::Topmost)
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return Answer::Ok;
    }
}

} // namespace tockwell::platform
