// Rotated text on the plan, drawn with QPainter.
#include "uTextOutRotated.h"

#include <QFontMetrics>
#include <QPainter>

void TextOutRotated(QPainter& Canvas, int Angle, int X, int Y, const QString& Text)
{
    if (Text.isEmpty())
        return;
    const QFontMetrics fm(Canvas.font());
    Canvas.save();
    Canvas.translate(X, Y);
    // QPainter turns clockwise on a y-down picture; the plan's angles turn the other way.
    if (Angle != 0)
        Canvas.rotate(-Angle);
    if (Canvas.backgroundMode() == Qt::OpaqueMode)
        Canvas.fillRect(QRect(0, 0, fm.horizontalAdvance(Text), fm.height()), Canvas.background());
    Canvas.drawText(0, fm.ascent(), Text);
    Canvas.restore();
}
