#include "Unit3.h"

#include <QCloseEvent>

namespace tockwell {

TF_ALARMUJ::TF_ALARMUJ(QWidget &setupWindow, QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool),
      m_setupWindow(setupWindow), SpeedButton1(u"OK"_qs, this)
{
    setObjectName(u"F_ALARMUJ"_qs);
    // Never visible; it names the window for the window manager.
    setWindowTitle(u"ALARM "_qs + QString(50, QLatin1Char('!')));
    setFixedSize(232, 173);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    SpeedButton1.setObjectName(u"SpeedButton1"_qs);
    SpeedButton1.setGeometry(150, 141, 71, 25);
    connect(&SpeedButton1, &QPushButton::clicked, this, &QWidget::close);
}

void TF_ALARMUJ::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

void TF_ALARMUJ::FormClose()
{
    m_setupWindow.setEnabled(true);
}

} // namespace tockwell
