// Rotated text on the plan: writes a text turned about its starting point, as the
// wall-distance labels of a selected sensor need (a label reading upward beside the
// left wall, downward beside the right wall).
#pragma once

#include <QString>

class QPainter;

// Writes Text with the painter's current font and pen colour, turned by Angle degrees
// counter-clockwise about (X, Y): 0 is ordinary text, 90 reads upward, -90 downward.
// (X, Y) is the top-left corner of the unturned text cell (not its baseline). The
// text background follows the painter's background mode: opaque mode fills the cell
// with the background brush first, transparent mode leaves the picture showing
// through. The painter's transformation is restored before returning.
void TextOutRotated(QPainter& Canvas, int Angle, int X, int Y, const QString& Text);
