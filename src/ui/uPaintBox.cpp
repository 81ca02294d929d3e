// The plan surface of the main window.
#include "uPaintBox.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRegion>

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
    if (FLogoMode) {
        painter.fillRect(rect(), Qt::white);
        const int left = (width() - FPicture.width()) / 2;
        const int top = (height() - FPicture.height()) / 2;
        painter.drawImage(left, top, FPicture);
    } else {
        // Beyond the plan the window's colour, so that the white plan's edge shows.
        const QRegion outside = QRegion(rect()) - QRegion(FPicture.rect());
        for (const QRect& r : outside)
            painter.fillRect(r, palette().color(QPalette::Window));
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
