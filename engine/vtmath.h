// vtmath.h -- 2D vectors, 4x4 matrices, random numbers and the overlap and
// distance tests between points, circles and axis-aligned rectangles.
// All arithmetic is 32-bit float; circles are centre + radius, rectangles are
// centre + full width and height. Distances of 0 or less mean touching.
#ifndef VTMATH_H
#define VTMATH_H

typedef struct VTVec2
{
    float x;
    float y;
} VTVec2;

// Column-major: element i of column j at m[4 * j + i], ready for the GL stack.
typedef struct VTMatrix4
{
    float m[16];
} VTMatrix4;

// Pi in the game's 32-bit floats, and the turns the game steers by: half
// of it is straight up, twice it one whole turn.
#define VT_PI 3.14159265f
#define VT_HALF_PI (VT_PI / 2.0f)
#define VT_TWO_PI (VT_PI * 2.0f)

float VTDegreeToRadian(float degrees);
// min when value is below min, max when above max (min is tested first).
float VTClamp(float value, float min, float max);
// 0 for n < 1.
int VTIsPowerOfTwo(int n);

// Uniform in [0, 1], both ends reachable (32768 steps).
float VTRandomUnit(void);
// Uniform in [min, max], both ends reachable.
float VTRandomFloat(float min, float max);
// min inclusive, max exclusive; min itself when max is not above min.
int VTRandomInt(int min, int max);

// out = a - b; out may alias a or b.
void VTVec2Sub(VTVec2* out, const VTVec2* a, const VTVec2* b);
float VTVec2Dot(const VTVec2* a, const VTVec2* b);
float VTVec2LengthSquared(const VTVec2* v);
float VTVec2Length(const VTVec2* v);
float VTVec2DistanceSquared(const VTVec2* a, const VTVec2* b);
float VTVec2Distance(const VTVec2* a, const VTVec2* b);

// Counter-clockwise rotation about z by angle radians.
void VTMatrixRotationZ(VTMatrix4* out, float angle);
// Scale, then rotate (radians, counter-clockwise), then translate.
void VTMatrixTransform(VTMatrix4* out, float scaleX, float scaleY, float angle,
                       float x, float y, float z);

// Signed gap between the shapes: negative when they overlap.
float VTPointCircleDistance(const VTVec2* point, const VTVec2* centre, float radius);
float VTCircleCircleDistance(const VTVec2* centre0, float radius0,
                             const VTVec2* centre1, float radius1);
// Distance to the nearest point of the rectangle; 0 inside, never negative.
float VTPointRectDistance(const VTVec2* point, const VTVec2* centre, float width, float height);
float VTCircleRectDistance(const VTVec2* circleCentre, float radius,
                           const VTVec2* rectCentre, float width, float height);

// Circle tests count touching (a tolerance of 0.00001) as a hit; 1 or 0.
int VTPointCircleCollision(const VTVec2* point, const VTVec2* centre, float radius);
int VTCircleCircleCollision(const VTVec2* centre0, float radius0,
                            const VTVec2* centre1, float radius1);
int VTCircleRectCollision(const VTVec2* circleCentre, float radius,
                          const VTVec2* rectCentre, float width, float height);
// Rectangle tests exclude the boundary: shapes that only share an edge miss.
int VTPointRectCollision(const VTVec2* point, const VTVec2* centre, float width, float height);
int VTRectRectCollision(const VTVec2* centre0, float width0, float height0,
                        const VTVec2* centre1, float width1, float height1);

#endif
