// obstacles.cpp -- spawners, drifting obstacles, planets and warning rings.
#include "obstacles.h"

#include <math.h>

#include "vtgraphics.h"
#include "vtinput.h"
#include "vtmath.h"

// Obstacles, planets and rings leave once they drift this far from the focus.
static const float KEEP_RADIUS = 500.0f;
// A drifting obstacle sheds a debris puff this often while the hole is near.
static const float DEBRIS_INTERVAL = 0.05f;
static const float BLACK_HOLE_NEAR = 100.0f;

// --- common frame of the side spawners -------------------------------------------

// A fresh node right behind the spawner, with a transform to place.
static GameObject* AddSpawn(GameObject* spawner)
{
    return AddPlacedObject(&spawner, &DummyType, 0.0f, 0.0f, 10.0f, 10.0f);
}

// Beside the ship one view away, or just above the top edge. Ahead, the
// height is the spawn's scaleX as it stands now: kinds sized later sit 10
// units up.
static void PlaceBySide(const GameObject* spawner, GameObject* spawn, const GameData* data)
{
    VTVec2 topLeft = VTGraphicsGetWorldTopLeft();
    VTVec2 topRight = VTGraphicsGetWorldTopRight();
    VTVec2 botLeft = VTGraphicsGetWorldBotLeft();
    float w = topRight.x - topLeft.x;
    float h = topRight.y - botLeft.y;
    Transform* t = spawn->transform;
    switch (spawner->timer->number) {
    case 1:
        t->x = data->focusX + w;
        t->y = data->focusY + VTRandomFloat(h / 4.0f, h);
        break;
    case 2:
        t->x = data->focusX - w;
        t->y = data->focusY + VTRandomFloat(h / 4.0f, h);
        break;
    default:
        t->x = data->focusX + VTRandomFloat(-w, w);
        t->y = topRight.y + t->scaleX;
        break;
    }
}

// Spawning follows distance flown, so a ship at rest spawns nothing; the
// side spawners count the sideways travel k times over.
static void CountDown(GameObject* spawner, const GameData* data, float k)
{
    Timer* timer = spawner->timer;
    if (timer->number == 1)
        timer->time -= data->shipStepX * k;
    else if (timer->number == 2)
        timer->time += data->shipStepX * k;
    else
        timer->time -= data->shipStepY;
}

// --- obstacle spawners -------------------------------------------------------------

typedef struct ObstacleKind
{
    ObjectType* type;
    float powerMin, powerMax;
    float thrustMin, thrustMax;
} ObstacleKind;

static const ObstacleKind asteroid1 = {&Asteroid1Type, 50.0f, 200.0f, 100.0f, 200.0f};
static const ObstacleKind asteroid3 = {&Asteroid3Type, 100.0f, 250.0f, 100.0f, 200.0f};
static const ObstacleKind* const asteroidDraws[] = {&asteroid1, &asteroid3};

static const ObstacleKind farAsteroid1 = {&Asteroid1Type, 50.0f, 200.0f, 10.0f, 20.0f};
static const ObstacleKind farAsteroid2 = {&Asteroid2Type, 100.0f, 300.0f, 3.0f, 10.0f};
static const ObstacleKind farAsteroid3 = {&Asteroid3Type, 100.0f, 250.0f, 10.0f, 20.0f};
static const ObstacleKind* const farAsteroidDraws[] = {&farAsteroid1, &farAsteroid1, &farAsteroid2, &farAsteroid3,
                                                       &farAsteroid3};

static const ObstacleKind satellite = {&SatelliteType, 150.0f, 200.0f, 20.0f, 50.0f};
static const ObstacleKind satellitePart1 = {&SatellitePart1Type, 150.0f, 170.0f, 20.0f, 50.0f};
static const ObstacleKind satellitePart2 = {&SatellitePart2Type, 30.0f, 60.0f, 100.0f, 200.0f};
static const ObstacleKind satellitePart3 = {&SatellitePart3Type, 150.0f, 170.0f, 50.0f, 100.0f};
static const ObstacleKind* const satelliteDraws[] = {&satellite,      &satellitePart1, &satellitePart1,
                                                     &satellitePart1, &satellitePart2, &satellitePart2,
                                                     &satellitePart2, &satellitePart3, &satellitePart3,
                                                     &satellitePart3};

static const ObstacleKind farSatellitePart2 = {&SatellitePart2Type, 50.0f, 100.0f, 100.0f, 200.0f};
// The fifth draw yields nothing.
static const ObstacleKind* const farSatelliteDraws[] = {&satellite, &satellitePart1, &farSatellitePart2,
                                                        &satellitePart3, NULL};

// Far obstacles are dim, small, slow background traffic that nothing hits.
static void BuildObstacle(GameObject* o, const ObstacleKind* kind, int far)
{
    Transform* t = o->transform;
    ObjectState* s = o->state;
    Appearance* a = o->appearance;
    o->type = kind->type;
    s->power = VTRandomFloat(kind->powerMin, kind->powerMax);
    s->thrustX = s->thrustY = VTRandomFloat(kind->thrustMin, kind->thrustMax);
    t->z = far ? 35.0f : FLIGHT_Z;
    t->rotation = VTDegreeToRadian(VTRandomFloat(0.0f, 360.0f));
    s->spin = far ? VTDegreeToRadian(VTRandomFloat(-45.0f, 45.0f)) : VTDegreeToRadian(VTRandomFloat(-360.0f, 360.0f));
    // Heading downward, give or take 20 degrees.
    s->angle = VTDegreeToRadian(VTRandomFloat(250.0f, 290.0f));
    if (!far) {
        float speed = VTRandomFloat(100.0f, 200.0f);
        s->velX = cosf(s->angle) * speed;
        s->velY = sinf(s->angle) * speed;
    }
    float size = s->power * (far ? 0.1f : 0.2f);
    t->scaleX = t->scaleY = size;
    s->baseScaleX = s->baseScaleY = size;
    if (far) {
        a->red = (unsigned char)VTRandomInt(77, 81);
        a->green = (unsigned char)VTRandomInt(73, 76);
        a->blue = (unsigned char)VTRandomInt(73, 74);
        o->timer->flag = 1;
    } else {
        a->red = (unsigned char)VTRandomInt(205, 215);
        a->green = (unsigned char)VTRandomInt(190, 210);
        a->blue = (unsigned char)VTRandomInt(190, 195);
    }
}

static void RunObstacleSpawner(GameObject* spawner, GameData* data, float timeMin, float timeMax,
                               const ObstacleKind* const* draws, int drawCount, int far, float k)
{
    spawner->visible = 0;
    if (spawner->timer->time <= 0.0f) {
        spawner->timer->time = VTRandomFloat(timeMin, timeMax);
        GameObject* o = AddSpawn(spawner);
        AddTimer(o);
        AddAppearance(o);
        AddObjectState(o);
        PlaceBySide(spawner, o, data);
        const ObstacleKind* kind = draws[VTRandomInt(1, drawCount + 1) - 1];
        if (kind)
            BuildObstacle(o, kind, far);
        else
            o->visible = 0; // a dummy: removed on the next frame
    }
    CountDown(spawner, data, k);
}

void AsteroidSpawnerLogic(GameObject* object, GameData* data, float)
{
    // Denser fields each level; distances in units flown.
    float timeMin = 50.0f, timeMax = 100.0f;
    if (data->level == 2) {
        timeMin = 10.0f;
        timeMax = 30.0f;
    } else if (data->level >= 3) {
        timeMin = 2.0f;
        timeMax = 5.0f;
    }
    RunObstacleSpawner(object, data, timeMin, timeMax, asteroidDraws, 2, 0, 2.0f);
}

void FarAsteroidSpawnerLogic(GameObject* object, GameData* data, float)
{
    RunObstacleSpawner(object, data, 10.0f, 20.0f, farAsteroidDraws, 5, 1, 1.0f);
}

void SatelliteSpawnerLogic(GameObject* object, GameData* data, float)
{
    RunObstacleSpawner(object, data, 20.0f, 50.0f, satelliteDraws, 10, 0, 2.0f);
}

void FarSatelliteSpawnerLogic(GameObject* object, GameData* data, float)
{
    RunObstacleSpawner(object, data, 10.0f, 20.0f, farSatelliteDraws, 5, 1, 1.0f);
}

// --- fuel, nebula, cluster and planet spawners ----------------------------------

void FuelSpawnerLogic(GameObject* object, GameData* data, float)
{
    // The tutorial brings fuel in only once it has taught the pickups.
    if (data->level == -1 && data->tutorialStep < 6)
        return;
    object->visible = 0;
    if (object->timer->time <= 0.0f) {
        object->timer->time = VTRandomFloat(2.0f, 5.0f);
        if (VTInputIsPressed(VT_KEY_Q) || VTInputIsPressed(VT_KEY_PAD_Y))
            object->timer->time = 0.0f; // a pickup every frame
        GameObject* p = AddSpawn(object);
        AddTimer(p);
        AddAppearance(p);
        AddObjectState(p);
        p->type = &FuelPickupType;
        p->transform->z = FLIGHT_Z;
        PlaceBySide(object, p, data);
        float size = VTRandomFloat(10.0f, 30.0f);
        p->transform->scaleX = p->transform->scaleY = size;
        p->state->power = 10.0f;
        p->state->thrustX = p->state->thrustY = VTRandomFloat(100.0f, 200.0f);
        p->state->angle = VTDegreeToRadian(VTRandomFloat(250.0f, 290.0f));
        if (data->level >= 1)
            p->timer->number = (int)(size / 10.0f);
        else if (data->level == -1)
            p->timer->number = 3;
        p->appearance->red = (unsigned char)VTRandomInt(100, 200);
        p->appearance->green = (unsigned char)VTRandomInt(200, 255);
        p->appearance->blue = 255;
    }
    CountDown(object, data, 1.0f);
}

void NebulaSpawnerLogic(GameObject* object, GameData* data, float)
{
    object->visible = 0;
    if (object->timer->time <= 0.0f) {
        object->timer->time = VTRandomFloat(30.0f, 50.0f);
        GameObject* n = AddSpawn(object);
        AddTimer(n);
        n->transform->z = 10.0f;
        float size = VTRandomFloat(300.0f, 500.0f);
        n->transform->scaleX = n->transform->scaleY = size;
        PlaceBySide(object, n, data);
        // Any turn suits a nebula, so degrees pass for radians here.
        n->transform->rotation = VTRandomFloat(0.0f, 360.0f);
        if (data->level == 1) {
            n->type = VTRandomInt(1, 3) == 1 ? &Nebula1Type : &Nebula2Type;
        } else if (data->level == 2) {
            AddAppearance(n);
            n->appearance->blue = 100;
            n->appearance->green = 220;
            n->type = &Nebula1Type;
        } else if (data->level >= 3) {
            AddAppearance(n);
            n->appearance->alpha = (float)VTRandomInt(50, 150);
            n->type = &Nebula3Type;
        } else {
            n->visible = 0;
        }
    }
    CountDown(object, data, 1.0f);
}

void ClusterSpawnerLogic(GameObject* object, GameData* data, float)
{
    object->visible = 0;
    if (data->level <= 2)
        return; // star clusters belong to the deeper levels
    if (object->timer->time <= 0.0f) {
        object->timer->time = VTRandomFloat(50.0f, 100.0f);
        GameObject* c = AddSpawn(object);
        AddTimer(c);
        AddAppearance(c);
        c->transform->z = 10.0f;
        float size = VTRandomFloat(50.0f, 100.0f);
        c->transform->scaleX = c->transform->scaleY = size;
        PlaceBySide(object, c, data);
        c->appearance->alpha = (float)VTRandomInt(50, 150);
        c->type = VTRandomInt(1, 3) == 1 ? &Cluster1Type : &Cluster2Type;
    }
    CountDown(object, data, 1.0f);
}

void PlanetSpawnerLogic(GameObject* object, GameData* data, float)
{
    object->visible = 0;
    if (object->timer->time <= 0.0f && data->level != 0) {
        if (data->level == 1)
            object->timer->time = VTRandomFloat(1000.0f, 3000.0f);
        else if (data->level == 2)
            object->timer->time = VTRandomFloat(300.0f, 1000.0f);
        else if (data->level >= 3)
            object->timer->time = VTRandomFloat(800.0f, 2000.0f);
        GameObject* p = AddSpawn(object);
        AddTimer(p);
        AddAppearance(p);
        AddObjectState(p);
        Transform* t = p->transform;
        t->z = PLANET_Z;
        if (data->level == 1) {
            p->type = &MoonType;
            t->scaleX = t->scaleY = VTRandomFloat(50.0f, 100.0f);
        } else if (data->level == 2) {
            p->type = &MarsType;
            t->scaleX = t->scaleY = VTRandomFloat(80.0f, 130.0f);
        } else if (data->level == 3) {
            p->type = &UranusType;
            t->scaleX = t->scaleY = VTRandomFloat(100.0f, 200.0f);
        } else {
            p->visible = 0; // no planets from level 4 on
        }
        float size = t->scaleX;
        t->x = data->focusX + VTRandomFloat(-200.0f, 200.0f);
        t->y = VTGraphicsGetWorldTopLeft().y + 2.0f * size;
        p->state->power = size * 50.0f;
        p->state->baseScaleX = p->state->baseScaleY = size;
        t->rotation = VTRandomFloat(0.0f, 360.0f); // degrees passed as radians: any turn will do
        p->state->angle = VTDegreeToRadian(VTRandomFloat(0.0f, 360.0f));
        p->appearance->red = 185;
        p->appearance->green = 185;
        p->appearance->blue = 170;
    }
    object->timer->time -= data->shipStepY;
}

// --- drifting obstacles, planets and rings ------------------------------------------

static int OutsideKeepRadius(const GameObject* o, const GameData* data)
{
    VTVec2 centre = {o->transform->x, o->transform->y};
    VTVec2 focus = {data->focusX, data->focusY};
    return !VTCircleCircleCollision(&centre, o->transform->scaleX, &focus, KEEP_RADIUS);
}

static void Drift(GameObject* o, GameData* data, float dt)
{
    ObjectState* s = o->state;
    s->accelX = cosf(s->angle) * s->thrustX + s->pushX;
    s->accelY = sinf(s->angle) * s->thrustY + s->pushY;
    ApplyAcceleration(o, data, dt);
    o->transform->x += s->velX * dt;
    o->transform->y += s->velY * dt;
}

// While the black hole is near, whatever has sunk below its line fades and
// sheds glowing puffs, one per DEBRIS_INTERVAL on its own countdown.
static void ShedDebris(GameObject* o, GameData* data, float dt, float* countdown, ObjectType* debrisKind)
{
    if (!(*countdown < 0.0f && o->appearance && !(o->type->traits & KIND_BACKDROP))) {
        *countdown -= dt;
        return;
    }
    float b = data->blackHoleDistance;
    Transform* t = o->transform;
    if (b < BLACK_HOLE_NEAR && data->focusY + b > t->y) {
        // Not clamped: below the focus the value goes negative.
        float alpha = (t->y - data->focusY) * 255.0f / 100.0f;
        o->appearance->alpha = alpha;
        GameObject* anchor = o;
        GameObject* d = AddPlacedObject(&anchor, debrisKind ? debrisKind : &DummyType, 0.0f, 0.0f, 0.0f, 0.0f);
        d->visible = debrisKind != NULL;
        AddTimer(d);
        AddAppearance(d);
        d->timer->time = 2.5f;
        *d->transform = *t;
        d->appearance->alpha = alpha < 0.0f ? 255.0f : alpha;
        d->appearance->red = 255;
        d->appearance->green = (unsigned char)VTRandomFloat(100.0f, 250.0f);
        d->appearance->blue = (unsigned char)VTRandomFloat(0.0f, 50.0f);
    } else {
        o->appearance->alpha = 255.0f;
    }
    *countdown = DEBRIS_INTERVAL;
}

void DriftingObstacleLogic(GameObject* object, GameData* data, float dt)
{
    // The tutorial keeps its props however far the ship wanders.
    if (data->level != -1 && OutsideKeepRadius(object, data))
        object->visible = 0;
    if (object->state) {
        Drift(object, data, dt);
        Transform* t = object->transform;
        t->rotation += object->state->spin * dt;
        if (t->rotation > VT_TWO_PI)
            t->rotation = 0.0f;
        if (t->rotation < 0.0f)
            t->rotation = VT_TWO_PI;
    }
    if (object->timer)
        ShedDebris(object, data, dt, &object->timer->time, object->type->debris);
}

void PlanetLogic(GameObject* object, GameData* data, float dt)
{
    if (data->level != -1 && OutsideKeepRadius(object, data))
        object->visible = 0;
    // Planets hold still unless something pushes them.
    if (object->state)
        Drift(object, data, dt);
    Timer* timer = object->timer;
    if (!timer)
        return;
    if (timer->time <= 0.0f) {
        timer->time = 1.2f;
        GameObject* anchor = object;
        const Transform* t = object->transform;
        GameObject* ring = AddPlacedObject(&anchor, &PlanetWarningType, t->x, t->y, t->scaleX * 4.0f, t->scaleY * 4.0f);
        ring->transform->z = PLANET_Z;
        AddTimer(ring);
        AddAppearance(ring);
        AddObjectState(ring);
        ring->appearance->red = 100;
        ring->appearance->green = 100;
    }
    timer->time -= dt;
    ShedDebris(object, data, dt, &timer->stage, &PlanetDebrisType);
}

void PlanetWarningLogic(GameObject* object, GameData* data, float dt)
{
    if (OutsideKeepRadius(object, data))
        object->visible = 0;
    if (object->state)
        Drift(object, data, dt);
    object->transform->scaleX *= 1.0f - 0.3f * dt;
    object->transform->scaleY *= 1.0f - 0.3f * dt;
    Appearance* a = object->appearance;
    if (!a)
        return;
    if (a->alpha > 0.0f)
        a->alpha -= 100.0f * dt;
    // A fade that lands exactly on 0 ends too; it would otherwise linger unseen.
    if (a->alpha <= 0.0f) {
        object->visible = 0;
        a->alpha = 0.0f;
    }
}
