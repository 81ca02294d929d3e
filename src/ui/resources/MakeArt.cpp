// Build step: draws the program's pictures — the start logo shown while no project is open
// and the application icon — and writes them as PNG files, so that no binary picture has to
// live in the repository. Usage: tesvorn_make_art <logo.png> <icon.png>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

// A flame of height h standing on the point (cx, base).
QPainterPath Flame(qreal cx, qreal base, qreal h)
{
    const qreal w = h * 0.62;
    QPainterPath path;
    path.moveTo(cx, base - h);
    path.cubicTo(cx + w * 0.15, base - h * 0.7, cx + w * 0.62, base - h * 0.55, cx + w * 0.5, base - h * 0.22);
    path.cubicTo(cx + w * 0.42, base - h * 0.02, cx + w * 0.2, base, cx, base);
    path.cubicTo(cx - w * 0.2, base, cx - w * 0.42, base - h * 0.02, cx - w * 0.5, base - h * 0.22);
    path.cubicTo(cx - w * 0.6, base - h * 0.5, cx - w * 0.2, base - h * 0.55, cx, base - h);
    path.closeSubpath();
    return path;
}

// The mark: a heat sensor (a circle with its coverage rings) with a flame in it.
void DrawMark(QPainter& p, QPointF centre, qreal radius, bool onDark)
{
    p.setPen(Qt::NoPen);
    if (!onDark) {
        for (int ring = 3; ring >= 1; --ring) {
            QColor c(200, 40, 30, 30 * ring);
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(c, radius * 0.06));
            p.drawEllipse(centre, radius * (1.0 + 0.22 * ring), radius * (1.0 + 0.22 * ring));
        }
        p.setPen(Qt::NoPen);
        QRadialGradient g(centre, radius);
        g.setColorAt(0, QColor(255, 245, 235));
        g.setColorAt(1, QColor(250, 220, 200));
        p.setBrush(g);
        p.drawEllipse(centre, radius, radius);
    }
    const qreal h = radius * 1.45;
    const qreal base = centre.y() + h * 0.5;
    p.setBrush(onDark ? QColor(255, 255, 255) : QColor(210, 45, 25));
    p.drawPath(Flame(centre.x(), base, h));
    p.setBrush(onDark ? QColor(255, 200, 60) : QColor(255, 170, 40));
    p.drawPath(Flame(centre.x(), base - h * 0.04, h * 0.55));
}

QImage Logo()
{
    QImage image(360, 220, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    DrawMark(p, QPointF(180, 80), 46, false);
    QFont title(QStringLiteral("Sans Serif"));
    title.setPixelSize(34);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(60, 60, 70));
    p.drawText(QRectF(0, 148, 360, 40), Qt::AlignCenter, QStringLiteral("Тесворн"));
    QFont sub(QStringLiteral("Sans Serif"));
    sub.setPixelSize(12);
    p.setFont(sub);
    p.setPen(QColor(110, 110, 120));
    p.drawText(QRectF(0, 186, 360, 20), Qt::AlignCenter, QStringLiteral("расчет систем обнаружения пожара"));
    return image;
}

QImage Icon()
{
    QImage image(128, 128, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 40, 30));
    p.drawRoundedRect(QRectF(6, 6, 116, 116), 24, 24);
    DrawMark(p, QPointF(64, 66), 34, true);
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 3)
        return 2;
    if (!Logo().save(QString::fromLocal8Bit(argv[1]), "PNG"))
        return 1;
    if (!Icon().save(QString::fromLocal8Bit(argv[2]), "PNG"))
        return 1;
    return 0;
}
