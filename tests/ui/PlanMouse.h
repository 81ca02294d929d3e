// Mouse events on a widget as the window system delivers them, for tests that drive the
// plan through the real paint box: presses and releases of any button, moves that carry
// the buttons held and the modifiers (QTest's own move carries neither), and the event
// sequence of a real double click.
#pragma once

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPoint>
#include <QWidget>

namespace PlanMouse {

inline void Send(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held,
    Qt::KeyboardModifiers m)
{
    QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, held, m);
    QCoreApplication::sendEvent(w, &e);
}

inline void Press(
    QWidget* w, QPoint p, Qt::KeyboardModifiers m = Qt::NoModifier, Qt::MouseButton b = Qt::LeftButton)
{
    Send(w, QEvent::MouseButtonPress, p, b, b, m);
}

inline void Release(
    QWidget* w, QPoint p, Qt::KeyboardModifiers m = Qt::NoModifier, Qt::MouseButton b = Qt::LeftButton)
{
    Send(w, QEvent::MouseButtonRelease, p, b, Qt::NoButton, m);
}

inline void Move(
    QWidget* w, QPoint p, Qt::KeyboardModifiers m = Qt::NoModifier, Qt::MouseButtons held = Qt::LeftButton)
{
    Send(w, QEvent::MouseMove, p, Qt::NoButton, held, m);
}

inline void Drag(QWidget* w, QPoint from, QPoint to, Qt::KeyboardModifiers m = Qt::NoModifier)
{
    Press(w, from, m);
    Move(w, to, m);
    Release(w, to, m);
}

// Press, release, double click, release, with one button.
inline void DoubleClick(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton)
{
    Press(w, p, Qt::NoModifier, b);
    Release(w, p, Qt::NoModifier, b);
    Send(w, QEvent::MouseButtonDblClick, p, b, b, Qt::NoModifier);
    Release(w, p, Qt::NoModifier, b);
}

} // namespace PlanMouse
