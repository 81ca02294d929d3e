// The font of the program's small windows: the system face at 11 pixels (8 points at
// 96 dpi), the size their fixed layouts are measured for.
#pragma once

#include <QFont>
#include <QWidget>

inline void SetDialogFont(QWidget* window)
{
    QFont font = window->font();
    font.setPixelSize(11);
    window->setFont(font);
}
