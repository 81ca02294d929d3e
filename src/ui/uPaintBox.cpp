// The plan surface of the main window.
#include "uPaintBox.h"

#include "uPlanCanvas.h"

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

void TPaintBox::ShowPicture(const QImage& picture, QPoint at)
{
    FPicture = picture;
    FPictureAt = at;
    FLogoMode = false;
}

QPoint TPaintBox::ToPlan(QPoint pos) const
{
    TPlanView view;
    view.Percent = FZoom;
    return QPoint(int(view.FromZoomed(pos.x())), int(view.FromZoomed(pos.y())));
}

void TPaintBox::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (FLogoMode) {
        painter.fillRect(rect(), Qt::white);
        const int left = (width() - FPicture.width()) / 2;
        const int top = (height() - FPicture.height()) / 2;
        painter.drawImage(left, top, FPicture);
    } else {
        // Beyond the plan the window's colour, so that the white plan's edge shows.
        const QRect shown(FPictureAt, FPicture.size());
        const QRegion outside = QRegion(event->rect()) - QRegion(shown);
        for (const QRect& r : outside)
            painter.fillRect(r, palette().color(QPalette::Window));
        painter.drawImage(FPictureAt, FPicture);
    }
    emit Paint(painter);
}

void TPaintBox::mousePressEvent(QMouseEvent* event)
{
    emit MouseDown(event->button(), event->modifiers(), ToPlan(event->position().toPoint()));
}

void TPaintBox::mouseMoveEvent(QMouseEvent* event)
{
    emit MouseMove(event->buttons(), event->modifiers(), ToPlan(event->position().toPoint()));
}

void TPaintBox::mouseReleaseEvent(QMouseEvent* event)
{
    emit MouseUp(event->button(), event->modifiers(), ToPlan(event->position().toPoint()));
}

void TPaintBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint pos = ToPlan(event->position().toPoint());
    emit DblClick(event->button(), event->modifiers(), pos);
    emit MouseDown(event->button(), event->modifiers(), pos);
}
