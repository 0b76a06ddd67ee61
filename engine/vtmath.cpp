// vtmath.cpp -- vector, matrix, random and collision primitives. Stateless
// apart from the C library's random generator, which the game seeds itself.
#include "vtmath.h"

#include <math.h>
#include <stdlib.h>

// Circle tests forgive this much floating-point error so touching counts.
static const float touchTolerance = 0.00001f;

// The game's random ranges were tuned for a generator giving 0..32767. glibc's
// rand() reaches 2^31 - 1, so keep its top 15 bits and the tuning holds.
static int RandomDraw(void)
{
    return rand() / (RAND_MAX / 32768 + 1);
}

float VTDegreeToRadian(float degrees)
{
    return degrees * 0.017453292f;
}

float VTClamp(float value, float min, float max)
{
    float result = value;
    if (min > value)
        result = min;
    else if (value > max)
        result = max;
    return result;
}

int VTIsPowerOfTwo(int n)
{
    int result = 0;
    if (n >= 1)
        result = (n & (n - 1)) == 0;
    return result;
}

float VTRandomUnit(void)
{
    return (float)(RandomDraw() / 32767.0);
}

float VTRandomFloat(float min, float max)
{
    return VTRandomUnit() * (max - min) + min;
}

int VTRandomInt(int min, int max)
{
    int result = min;
    // The width is taken in 64 bits so extreme bounds cannot overflow.
    if (max > min) {
        long long range = (long long)max - min;
        result = (int)(RandomDraw() % range + min);
    }
    return result;
}

void VTVec2Sub(VTVec2* out, const VTVec2* a, const VTVec2* b)
{
    float x = a->x - b->x;
    float y = a->y - b->y;
    out->x = x;
    out->y = y;
}

float VTVec2Dot(const VTVec2* a, const VTVec2* b)
{
    return a->x * b->x + a->y * b->y;
}

float VTVec2LengthSquared(const VTVec2* v)
{
    return VTVec2Dot(v, v);
}

float VTVec2Length(const VTVec2* v)
{
    return (float)sqrt(VTVec2LengthSquared(v));
}

float VTVec2DistanceSquared(const VTVec2* a, const VTVec2* b)
{
    VTVec2 d;
    VTVec2Sub(&d, b, a);
    return VTVec2LengthSquared(&d);
}

float VTVec2Distance(const VTVec2* a, const VTVec2* b)
{
    return (float)sqrt(VTVec2DistanceSquared(a, b));
}

void VTMatrixRotationZ(VTMatrix4* out, float angle)
{
    float c = (float)cos(angle);
    float s = (float)sin(angle);
    for (int i = 0; i < 16; ++i)
        out->m[i] = 0.0f;
    out->m[0] = c;
    out->m[1] = s;
    out->m[4] = -s;
    out->m[5] = c;
    out->m[10] = 1.0f;
    out->m[15] = 1.0f;
}

void VTMatrixTransform(VTMatrix4* out, float scaleX, float scaleY, float angle,
                       float x, float y, float z)
{
    // translate x rotate x scale, written out: columns 0 and 1 carry the
    // scaled rotation, column 3 the translation.
    float c = (float)cos(angle);
    float s = (float)sin(angle);
    for (int i = 0; i < 16; ++i)
        out->m[i] = 0.0f;
    out->m[0] = scaleX * c;
    out->m[1] = scaleX * s;
    out->m[4] = -s * scaleY;
    out->m[5] = scaleY * c;
    out->m[10] = 1.0f;
    out->m[12] = x;
    out->m[13] = y;
    out->m[14] = z;
    out->m[15] = 1.0f;
}

float VTPointCircleDistance(const VTVec2* point, const VTVec2* centre, float radius)
{
    return VTVec2Distance(point, centre) - radius;
}

float VTCircleCircleDistance(const VTVec2* centre0, float radius0,
                             const VTVec2* centre1, float radius1)
{
    return VTPointCircleDistance(centre0, centre1, radius0 + radius1);
}

float VTPointRectDistance(const VTVec2* point, const VTVec2* centre, float width, float height)
{
    float hw = width / 2.0f;
    float hh = height / 2.0f;
    VTVec2 d;
    VTVec2Sub(&d, point, centre);
    // The nearest point of the rectangle, relative to its centre; equal to d
    // inside, so the distance there is exactly 0.
    VTVec2 q = { VTClamp(d.x, -hw, hw), VTClamp(d.y, -hh, hh) };
    return VTVec2Distance(&d, &q);
}

float VTCircleRectDistance(const VTVec2* circleCentre, float radius,
                           const VTVec2* rectCentre, float width, float height)
{
    return VTPointRectDistance(circleCentre, rectCentre, width, height) - radius;
}

int VTPointCircleCollision(const VTVec2* point, const VTVec2* centre, float radius)
{
    // Squared on both sides: no square root for the most frequent test.
    return VTVec2DistanceSquared(point, centre) - radius * radius <= touchTolerance;
}

int VTCircleCircleCollision(const VTVec2* centre0, float radius0,
                            const VTVec2* centre1, float radius1)
{
    return VTPointCircleCollision(centre0, centre1, radius0 + radius1);
}

int VTCircleRectCollision(const VTVec2* circleCentre, float radius,
                          const VTVec2* rectCentre, float width, float height)
{
    return VTCircleRectDistance(circleCentre, radius, rectCentre, width, height) <= touchTolerance;
}

int VTPointRectCollision(const VTVec2* point, const VTVec2* centre, float width, float height)
{
    float hw = width / 2.0f;
    float hh = height / 2.0f;
    VTVec2 d;
    VTVec2Sub(&d, point, centre);
    return -hw < d.x && d.x < hw && -hh < d.y && d.y < hh;
}

int VTRectRectCollision(const VTVec2* centre0, float width0, float height0,
                        const VTVec2* centre1, float width1, float height1)
{
    // Two rectangles overlap exactly when one centre lies strictly inside the
    // other rectangle grown by the first one's size.
    return VTPointRectCollision(centre0, centre1, width0 + width1, height0 + height1);
}
