// Plane-geometry helpers: see uGeometry.h.
#include "uGeometry.h"

#include "uNumberText.h"

#include <cmath>

int64_t RoundedDistance(long double x1, long double y1, long double x2, long double y2,
                        long double z1, long double z2)
{
    const long double dx = x1 - x2;
    const long double dy = y1 - y2;
    const long double dz = z1 - z2;
    return RoundToInt64(std::sqrt(dx * dx + dy * dy + dz * dz));
}

bool PointInTriangle(int x0, int y0, int x1, int y1, int x2, int y2, int px, int py)
{
    // Barycentric coordinates s = a / D and t = b / D of the point in the frame
    // (u, v) anchored at the first corner. The point is inside when s >= 0, t >= 0 and
    // s + t <= 1. Comparing the integer numerators with D directly, instead of dividing
    // in floating point, keeps points that lie exactly on an edge inside: with a
    // rounded 1/D the sum s + t of an edge point can come out a hair above 1.
    // Wide products: coordinates of a few tens of thousands of pixels already overflow
    // 32-bit products, and differences of 32-bit coordinates overflow 64-bit ones.
    using Wide = __int128;
    const Wide ux = Wide(x1) - x0, uy = Wide(y1) - y0;
    const Wide vx = Wide(x2) - x0, vy = Wide(y2) - y0;
    const Wide wx = Wide(px) - x0, wy = Wide(py) - y0;
    Wide d = ux * vy - uy * vx;
    if (d == 0)
        return false;
    Wide a = wx * vy - vx * wy;
    Wide b = ux * wy - uy * wx;
    if (d < 0) {
        d = -d;
        a = -a;
        b = -b;
    }
    return a >= 0 && b >= 0 && a + b <= d;
}
