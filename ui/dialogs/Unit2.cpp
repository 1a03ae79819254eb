#include "Unit2.h"

#include "WindowPlacement.h"

#include <QCloseEvent>
#include <QKeyEvent>

namespace tockwell {

TF_Opcje::TF_Opcje(QWidget &setupWindow, QWidget *parent)
    : QWidget(parent, Qt::Tool), m_setupWindow(setupWindow)
{
    setObjectName(u"F_Opcje"_qs);
    setWindowTitle(u"Opcje"_qs);
    setFixedSize(313, 227);
    centreOnScreen(*this);
}

void TF_Opcje::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

void TF_Opcje::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

void TF_Opcje::FormClose()
{
    m_setupWindow.setEnabled(true);
}

} // namespace tockwell
