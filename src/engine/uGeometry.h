// Small plane-geometry helpers shared by the plan renderer and the sensor-spacing
// measurement: a distance rounded to a whole pixel and a point-in-triangle test.
// Plain functions over pixel coordinates; no state.
#pragma once

#include <cstdint>

// The distance between (x1, y1, z1) and (x2, y2, z2), computed in extended precision
// and rounded to the nearest whole number, ties to the even neighbour. Every caller
// passes z1 = z2 = 0, so it is the plane distance rounded to a whole pixel:
// (0, 0)-(1, 1) gives 1, (0, 0)-(3, 4) gives 5.
int64_t RoundedDistance(long double x1, long double y1, long double x2, long double y2,
                        long double z1 = 0, long double z2 = 0);

// True when (px, py) lies inside the triangle (x0, y0), (x1, y1), (x2, y2); points on
// its edges and corners count as inside. A triangle whose three points lie on one line
// contains nothing. Exact for any 32-bit coordinates (the test is done in integers).
bool PointInTriangle(int x0, int y0, int x1, int y1, int x2, int y2, int px, int py);
