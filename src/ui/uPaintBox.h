// TPaintBox: the surface inside the main window's scroll box on which the plan or the
// start logo is shown. It only shows a picture it is handed and passes the mouse on as
// signals, so that the plan editor can live in its own unit.
#pragma once

#include <QImage>
#include <QWidget>

// Two modes: the logo (white box, the picture centred, truncating halves toward zero) and
// the plan (the picture copied at (0, 0) at its own size; the rest of the box takes the
// window's colour, as does the scroll box around it, so the plan's edge can be seen).
// Mouse positions are in plan pixels (the box's own coordinates). A double click of any
// button is passed on as DblClick followed by MouseDown, the order of the platform the
// program was designed on (the receivers act on the left button's only); the matching
// MouseUp follows as usual. Mouse moves are reported also without a button held.
class TPaintBox : public QWidget {
    Q_OBJECT
public:
    explicit TPaintBox(QWidget* parent = nullptr);

    // Shows `logo` centred on white.
    void ShowLogo(const QImage& logo);
    // Shows `picture` at (0, 0). The image is shared, not copied; call update() or
    // repaint() to bring it to the screen.
    void ShowPicture(const QImage& picture);
    bool LogoMode() const { return FLogoMode; }
    const QImage& Picture() const { return FPicture; }

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
    bool FLogoMode = true;
};
