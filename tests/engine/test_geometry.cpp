// The rounded distance, the point-in-triangle test and the plan scale conversions that
// the spacing measurement and the renderer share.
#include "uGeometry.h"
#include "uScale.h"

#include <gtest/gtest.h>
#include <climits>

TEST(Geometry, RoundedDistanceRoundsToEvenPixel)
{
    EXPECT_EQ(RoundedDistance(0, 0, 1, 1), 1);  // √2
    EXPECT_EQ(RoundedDistance(0, 0, 3, 4), 5);
    EXPECT_EQ(RoundedDistance(3, 4, 0, 0), 5);
    EXPECT_EQ(RoundedDistance(0, 0, 1, 2), 2);  // √5 = 2.236
    EXPECT_EQ(RoundedDistance(0, 0, 2, 3), 4);  // √13 = 3.606
    EXPECT_EQ(RoundedDistance(0, 0, 0, 0, 0, 2), 2);
    // Exact halves come out of the z term only (√(x²+y²) of whole pixels is never a half):
    EXPECT_EQ(RoundedDistance(0, 0, 0, 0, 0, 2.5L), 2);
    EXPECT_EQ(RoundedDistance(0, 0, 0, 0, 0, 3.5L), 4);
}

// Points on the edges and corners are inside; a flat triangle holds nothing.
TEST(Geometry, PointInTriangleEdgesAndCorners)
{
    // Triangle (0,0) (10,0) (0,10), both windings.
    for (bool reversed : {false, true}) {
        auto in = [reversed](int x, int y) {
            return reversed ? PointInTriangle(0, 0, 0, 10, 10, 0, x, y) : PointInTriangle(0, 0, 10, 0, 0, 10, x, y);
        };
        SCOPED_TRACE(reversed ? "clockwise" : "counter-clockwise");
        EXPECT_TRUE(in(0, 0));
        EXPECT_TRUE(in(10, 0));
        EXPECT_TRUE(in(0, 10));
        EXPECT_TRUE(in(5, 0));  // on an edge
        EXPECT_TRUE(in(0, 7));
        EXPECT_TRUE(in(5, 5));  // on the hypotenuse, where s + t is exactly 1
        EXPECT_TRUE(in(3, 3));
        EXPECT_FALSE(in(6, 5)); // just past the hypotenuse
        EXPECT_FALSE(in(-1, 0));
        EXPECT_FALSE(in(0, -1));
        EXPECT_FALSE(in(11, 0));
    }
    // A hypotenuse whose 1/D is not exact in binary: D = 3 · 7 = 21. Every lattice point on
    // the edge from (3, 0) to (0, 7) is (3, 0) or (0, 7); use a triangle scaled so that it
    // has inner lattice points on the edge: (0,0) (21,0) (0,7) has (3,6), (6,5), … on it.
    for (int k = 0; k <= 7; ++k)
        EXPECT_TRUE(PointInTriangle(0, 0, 21, 0, 0, 7, 21 - 3 * k, k)) << k;
    EXPECT_FALSE(PointInTriangle(0, 0, 21, 0, 0, 7, 19, 1)); // 19 + 3 > 21
    // Three points on one line contain nothing, not even their own corners.
    EXPECT_FALSE(PointInTriangle(0, 0, 5, 5, 10, 10, 5, 5));
    EXPECT_FALSE(PointInTriangle(0, 0, 5, 5, 10, 10, 0, 0));
    EXPECT_FALSE(PointInTriangle(3, 3, 3, 3, 3, 3, 3, 3));
}

TEST(Geometry, PointInTriangleLargeCoordinatesDoNotOverflow)
{
    // Products of these coordinates overflow 32 bits (and their differences 64-bit
    // products would, too, near the int limits).
    EXPECT_TRUE(PointInTriangle(0, 0, 100000, 0, 0, 100000, 50000, 50000));
    EXPECT_FALSE(PointInTriangle(0, 0, 100000, 0, 0, 100000, 50001, 50000));
    // Legs of 2^32 - 1: (0, -1) lies on the hypotenuse, (0, 0) one step beyond it.
    EXPECT_TRUE(PointInTriangle(INT_MIN, INT_MIN, INT_MAX, INT_MIN, INT_MIN, INT_MAX, -1, -1));
    EXPECT_TRUE(PointInTriangle(INT_MIN, INT_MIN, INT_MAX, INT_MIN, INT_MIN, INT_MAX, 0, -1));
    EXPECT_FALSE(PointInTriangle(INT_MIN, INT_MIN, INT_MAX, INT_MIN, INT_MIN, INT_MAX, 0, 0));
}

TEST(Scale, PixelsToMetresAndBack)
{
    // 137 px at 0.25 m/px is 34.25 m, halfway, and rounds to the even 34.2.
    EXPECT_EQ(ScaledValue(137, 0.25L), 342 / 10.0L);
    EXPECT_EQ(ScaledValue(139, 0.25L), 348 / 10.0L); // 34.75 -> 34.8
    EXPECT_EQ(ScaledValue(70, 0.1L), 7.0L);
    EXPECT_EQ(UnscaledValue(3.125L, 0.25L), 12); // 12.5 -> 12
    EXPECT_EQ(UnscaledValue(3.1L, 0.25L), 12);   // 12.4
    EXPECT_EQ(UnscaledValue(7.0L, 0.1L), 70);
    // No scale: one pixel is one metre, not rounded on the way to metres.
    EXPECT_EQ(ScaledValue(37, NoPlanScale), 37.0L);
    EXPECT_EQ(ScaledValue(37.25L, NoPlanScale), 37.25L);
    EXPECT_EQ(UnscaledValue(2.5L, NoPlanScale), 2);
    EXPECT_EQ(UnscaledValue(3.5L, 0), 4);
    EXPECT_EQ(UnscaledValue(1e12L, 0.1L), INT32_MAX); // saturates
}
