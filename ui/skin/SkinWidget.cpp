#include "SkinWidget.h"

#include "core/Error.h"

#include <QMouseEvent>
#include <QPainter>

namespace tockwell {

namespace {

QWidget *requireForm(QWidget *form)
{
    if (form == nullptr || !form->isWindow())
        throw Error(u"Please Drop on a Form"_qs);
    return form;
}

} // namespace

SkinWidget::SkinWidget(QWidget *form) : QWidget(requireForm(form))
{
    if (!form->windowFlags().testFlag(Qt::FramelessWindowHint))
        form->setWindowFlag(Qt::FramelessWindowHint);
    setGeometry(form->rect());
    form->installEventFilter(this);
}

void SkinWidget::setPicture(const QImage &picture)
{
    // An opaque picture is kept in three bytes a pixel rather than four: the window holds it
    // as long as it lives, and painting it gives the same pixels.
    m_picture = picture.hasAlphaChannel() || picture.depth() != 32
                    ? picture
                    : picture.convertToFormat(QImage::Format_RGB888);
    if (!m_picture.isNull()) {
        form()->setFixedSize(m_picture.size());
        resize(m_picture.size());
    }
    update();
}

void SkinWidget::setMaskRegion(const WindowShape &mask)
{
    m_mask = mask;
    if (m_mask.isEmpty())
        form()->clearMask();
    else
        form()->setMask(m_mask.region());
}

void SkinWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_picture);
}

void SkinWidget::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->position().toPoint();
    event->accept();
}

void SkinWidget::mouseMoveEvent(QMouseEvent *event)
{
    constexpr Qt::KeyboardModifiers keys =
        Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    event->accept();
    if (!m_moveable || event->buttons() != Qt::LeftButton || (event->modifiers() & keys) != 0)
        return;
    // From the global position: the window may not have reached its last place yet, and the
    // local position would then count that move twice.
    const QPoint offset = mapTo(form(), QPoint(0, 0));
    form()->move(event->globalPosition().toPoint() - m_pressed - offset);
}

bool SkinWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == form() && event->type() == QEvent::Resize)
        setGeometry(form()->rect());
    return QWidget::eventFilter(watched, event);
}

} // namespace tockwell
