// TPaintBox: the surface inside the main window's scroll box on which the plan or the
// start logo is shown. It only shows a picture it is handed and passes the mouse on as
// signals, so that the plan editor can live in its own unit.
#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>

// Two modes: the logo (white box, the picture centred, truncating halves toward zero) and
// the plan (the picture copied at its place, (0, 0) for the whole plan, the top-left of
// the part shown for a zoomed view; the rest of the box takes the window's colour, as does
// the scroll box around it, so the plan's edge can be seen). Zoomed, the box is as large
// as the zoomed plan. Mouse positions are passed on in plan pixels: this is where they
// are converted from the box's zoomed pixels, once (TPlanView::FromZoomed), so that every
// receiver works the same at any zoom. A double click of any
// button is passed on as DblClick followed by MouseDown, the order of the platform the
// program was designed on (the receivers act on the left button's only); the matching
// MouseUp follows as usual. Mouse moves are reported also without a button held.
class TPaintBox : public QWidget {
    Q_OBJECT
public:
    explicit TPaintBox(QWidget* parent = nullptr);

    // Shows `logo` centred on white.
    void ShowLogo(const QImage& logo);
    // Shows `picture` with its top-left corner at `at` (box pixels). The image is shared,
    // not copied; call update() or repaint() to bring it to the screen.
    void ShowPicture(const QImage& picture, QPoint at = QPoint());
    bool LogoMode() const { return FLogoMode; }
    const QImage& Picture() const { return FPicture; }
    QPoint PictureAt() const { return FPictureAt; }

    // The zoom the box shows the plan at, in whole percent (100: box pixels are plan pixels).
    void SetZoom(int32_t percent) { FZoom = percent; }
    int32_t Zoom() const { return FZoom; }
    // The plan pixel under box position `pos`.
    QPoint ToPlan(QPoint pos) const;

signals:
    // Emitted after the picture has been drawn, for extra drawing on the screen.
    void Paint(QPainter& painter);
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint pos);
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void DblClick(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QImage FPicture;
    QPoint FPictureAt;
    bool FLogoMode = true;
    int32_t FZoom = 100;
};
