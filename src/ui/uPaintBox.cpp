// The plan surface of the main window.
#include "uPaintBox.h"

#include <QMouseEvent>
#include <QPainter>

TPaintBox::TPaintBox(QWidget* parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPaintBox::ShowLogo(const QImage& logo)
{
    FPicture = logo;
    FLogoMode = true;
}

void TPaintBox::ShowPicture(const QImage& picture)
{
    FPicture = picture;
    FLogoMode = false;
}

void TPaintBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (FLogoMode) {
        const int left = (width() - FPicture.width()) / 2;
        const int top = (height() - FPicture.height()) / 2;
        painter.drawImage(left, top, FPicture);
    } else {
        painter.drawImage(0, 0, FPicture);
    }
    emit Paint(painter);
}

void TPaintBox::mousePressEvent(QMouseEvent* event)
{
    emit MouseDown(event->button(), event->modifiers(), event->position().toPoint());
}

void TPaintBox::mouseMoveEvent(QMouseEvent* event)
{
    emit MouseMove(event->buttons(), event->modifiers(), event->position().toPoint());
}

void TPaintBox::mouseReleaseEvent(QMouseEvent* event)
{
    emit MouseUp(event->button(), event->modifiers(), event->position().toPoint());
}

void TPaintBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    emit DblClick(event->button(), event->modifiers(), pos);
    emit MouseDown(event->button(), event->modifiers(), pos);
}
