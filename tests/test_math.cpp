// Math and collision primitives: clamps, random ranges and the boundaries of
// every overlap test (touching circles hit, touching rectangles miss).
#include <gtest/gtest.h>

#include <limits.h>
#include <math.h>
#include <stdlib.h>

#include "vtmath.h"

TEST(Math, ClampAndPowerOfTwo)
{
    struct ClampCase { const char* name; float value, min, max, expected; };
    const ClampCase clamps[] = {{"below min", -3, 2, 999, 2}, {"above max", 1000, 2, 999, 999},
                                {"inside", 5, 2, 999, 5},     {"on min", 2, 2, 999, 2},
                                {"reversed: min wins", 5, 10, 0, 10}};
    for (const ClampCase& c : clamps)
        EXPECT_EQ(c.expected, VTClamp(c.value, c.min, c.max)) << c.name;

    struct PowCase { int n; int expected; };
    const PowCase pows[] = {{0, 0}, {-1, 0}, {-4, 0}, {INT_MIN, 0}, {1, 1}, {2, 1}, {256, 1},
                            {384, 0}, {3, 0}, {1 << 30, 1}, {INT_MAX, 0}};
    for (const PowCase& c : pows)
        EXPECT_EQ(c.expected, VTIsPowerOfTwo(c.n)) << c.n;
    EXPECT_NEAR(3.1415926f, VTDegreeToRadian(180), 1e-6f);
}

TEST(Math, RandomRanges)
{
    // glibc's rand() reaches far beyond 32767: both ends of [0, 1] are still reached, never passed.
    srand(12345);
    int ends = 0, ints = 0;
    for (int i = 0; i < 4000000 && (ends != 15 || ints != 7); ++i) {
        float u = VTRandomUnit(), f = VTRandomFloat(-1, 1);
        int n = VTRandomInt(0, 3);
        ASSERT_TRUE(u >= 0 && u <= 1 && f >= -1 && f <= 1 && n >= 0 && n < 3) << u << " " << f << " " << n;
        ends |= (u == 0) | (u == 1) << 1 | (f == -1) << 2 | (f == 1) << 3;
        ints |= 1 << n;
    }
    EXPECT_EQ(15, ends);
    EXPECT_EQ(7, ints);
    EXPECT_EQ(7.5f, VTRandomFloat(7.5f, 7.5f));

    struct IntCase { const char* name; int min, max; };
    const IntCase cases[] = {{"equal", 5, 5}, {"reversed", 5, 2}, {"extreme reversed", INT_MAX, INT_MIN},
                             {"negative", -10, -7}, {"full range", INT_MIN, INT_MAX}};
    for (const IntCase& c : cases) {
        for (int i = 0; i < 200; ++i) {
            int n = VTRandomInt(c.min, c.max);
            ASSERT_TRUE(c.max > c.min ? n >= c.min && n < c.max : n == c.min) << c.name << ": " << n;
        }
    }
}

TEST(Math, SubtractionIntoAnInputAndMatrices)
{
    VTVec2 a = {3, 4}, b = {6, 8};
    VTVec2Sub(&a, &a, &b);
    EXPECT_TRUE(a.x == -3.0f && a.y == -4.0f) << a.x << ", " << a.y;

    struct Case { const char* name; float sx, sy, angle, tx, ty, tz, px, py, ex, ey, ez; };
    const Case cases[] = {
        {"unit quad corner", 10, 10, 0, 5, 6, 0.5f, 0.5f, 0.5f, 10, 11, 0.5f},
        // Scale before rotate: (0, 0.5) -> (0, 2) -> (-2, 0), then moved.
        {"scale then rotate", 2, 4, 1.5707964f, 1, 1, 0, 0, 0.5f, -1, 1, 0},
        {"counter-clockwise", 1, 1, 1.5707964f, 0, 0, 0, 1, 0, 0, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VTMatrix4 m;
        VTMatrixTransform(&m, c.sx, c.sy, c.angle, c.tx, c.ty, c.tz);
        // The column-major matrix applied to (px, py, 0, 1).
        const float e[3] = {c.ex, c.ey, c.ez};
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(e[i], m.m[i] * c.px + m.m[4 + i] * c.py + m.m[12 + i], 1e-5f) << i;
        EXPECT_EQ(1.0f, m.m[15]);
        EXPECT_EQ(0.0f, m.m[3] + m.m[7] + m.m[11]);
    }
    VTMatrix4 r;
    for (float& v : r.m)
        v = 9.0f; // every element must be written, not only the rotation
    VTMatrixRotationZ(&r, 1.5707964f);
    const float expected[16] = {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(expected[i], r.m[i], 1e-6f) << i;
}

TEST(Math, CircleTests)
{
    struct Case { const char* name; VTVec2 a; float ra; VTVec2 b; float rb; int hit; float distance; };
    const Case cases[] = {
        {"touching", {0, 0}, 1, {2, 0}, 1, 1, 0},       {"just apart", {0, 0}, 1, {2.001f, 0}, 1, 0, 0.001f},
        {"diagonal touch", {0, 0}, 2, {3, 4}, 3, 1, 0}, {"overlapping", {0, 0}, 2, {1, 0}, 2, 1, -3},
        {"far", {0, 0}, 1, {5, 0}, 1, 0, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.hit, VTCircleCircleCollision(&c.a, c.ra, &c.b, c.rb));
        EXPECT_NEAR(c.distance, VTCircleCircleDistance(&c.a, c.ra, &c.b, c.rb), 1e-5f);
    }
    VTVec2 centre = {0, 0}, onEdge = {0.6f, 0.8f}, outside = {0.6f, 0.81f};
    EXPECT_EQ(1, VTPointCircleCollision(&onEdge, &centre, 1));
    EXPECT_EQ(0, VTPointCircleCollision(&outside, &centre, 1));
}

TEST(Math, RectangleTests)
{
    // Rectangle 10 x 20 centred on (100, 50): hw 5, hh 10.
    const VTVec2 c = {100, 50};
    struct PointCase { const char* name; VTVec2 p; int inside; float distance; };
    const PointCase points[] = {
        {"centre", {100, 50}, 1, 0},        {"just inside", {104.99f, 59.99f}, 1, 0},
        {"on right edge", {105, 50}, 0, 0}, {"on bottom edge", {100, 40}, 0, 0},
        {"on corner", {95, 60}, 0, 0},      {"3 right", {108, 50}, 0, 3},
        {"3 right, 4 up", {108, 64}, 0, 5}, {"4 left, 3 down", {91, 37}, 0, 5},
    };
    for (const PointCase& t : points) {
        SCOPED_TRACE(t.name);
        EXPECT_EQ(t.inside, VTPointRectCollision(&t.p, &c, 10, 20));
        EXPECT_NEAR(t.distance, VTPointRectDistance(&t.p, &c, 10, 20), 1e-4f);
    }

    struct RectCase { const char* name; VTVec2 b; float w, h; int hit; };
    const RectCase rects[] = {{"sharing an edge", {110, 50}, 10, 20, 0}, {"sharing a corner", {110, 70}, 10, 20, 0},
                              {"overlapping a bit", {109.9f, 50}, 10, 20, 1}, {"contained", {100, 50}, 2, 2, 1}};
    for (const RectCase& t : rects) {
        EXPECT_EQ(t.hit, VTRectRectCollision(&c, 10, 20, &t.b, t.w, t.h)) << t.name;
        EXPECT_EQ(t.hit, VTRectRectCollision(&t.b, t.w, t.h, &c, 10, 20)) << t.name << ", reversed";
    }

    struct CircleCase { const char* name; VTVec2 p; float r; int hit; float distance; };
    const CircleCase circles[] = {{"touching side", {107, 50}, 2, 1, 0}, {"just apart", {107.01f, 50}, 2, 0, 0.01f},
                                  {"touching corner", {108, 64}, 5, 1, 0}, {"centre inside", {100, 50}, 1, 1, -1}};
    for (const CircleCase& t : circles) {
        SCOPED_TRACE(t.name);
        EXPECT_EQ(t.hit, VTCircleRectCollision(&t.p, t.r, &c, 10, 20));
        EXPECT_NEAR(t.distance, VTCircleRectDistance(&t.p, t.r, &c, 10, 20), 1e-4f);
    }
}
