// Collision responses on small hand-built lists: bounces, ship hits, bullets,
// planets and wind. Sound stays off; the responses' sound calls are guarded.
#include <gtest/gtest.h>
#include <math.h>
#include <string.h>

#include <vector>

#include "collision.h"
#include "vtmath.h"

namespace {

struct Scene
{
    GameObject* head = NULL;
    GameData data;

    Scene()
    {
        memset(&data, 0, sizeof data);
        data.scoreMultiplier = 1;
        data.level = 1;
        data.fuel = 50.0f;
        data.hitGraceTimer = -1.0f;
        data.nearMissDistance = 99.0f;
        AddObject(&head); // the list head, as every state creates first
    }
    ~Scene() { FreeObjectList(&head); }

    // Appends an object of kind behind the head's existing successors.
    GameObject* Add(ObjectType* kind, float x, float y, float size, float power = 1.0f)
    {
        GameObject* last = head;
        while (last->next)
            last = last->next;
        AddObject(&last);
        GameObject* o = last->next;
        o->type = kind;
        AddTransform(o);
        *o->transform = Transform{x, y, size, size, 0, 0};
        AddTimer(o);
        AddObjectState(o);
        o->state->power = power;
        o->state->baseScaleX = o->state->baseScaleY = size;
        return o;
    }

    // Kinds of the objects directly behind o, up to the next non-particle.
    std::vector<ObjectType*> ParticlesBehind(GameObject* o)
    {
        std::vector<ObjectType*> kinds;
        for (GameObject* p = o->next; p && (p->type == &BoomType || p->type == &CollideFlashType); p = p->next)
            kinds.push_back(p->type);
        return kinds;
    }
};

GameObject* Velocity(GameObject* o, float x, float y)
{
    o->state->velX = x;
    o->state->velY = y;
    return o;
}

} // namespace

TEST(Collision, ElasticBounceBetweenObstacles)
{
    SCOPED_TRACE("equal masses head-on swap normal velocities, keep tangential ones");
    Scene s;
    GameObject* a = Velocity(s.Add(&Asteroid1Type, 0, 0, 10), 10, 0);
    GameObject* b = Velocity(s.Add(&Asteroid3Type, 9, 0, 10), -10, 5);
    a->transform->z = 7;
    HitObstacle(a, b, &s.data, 0.0f);
    EXPECT_FLOAT_EQ(-10, a->state->velX);
    EXPECT_FLOAT_EQ(0, a->state->velY);
    EXPECT_FLOAT_EQ(10, b->state->velX);
    EXPECT_FLOAT_EQ(5, b->state->velY);
    EXPECT_FLOAT_EQ(10, b->transform->x) << "pushed apart to the sum of half widths";
    EXPECT_FLOAT_EQ(0, b->transform->y);
    EXPECT_NEAR(10 * 0.017453292f, b->state->spin, 1e-6);
    EXPECT_NEAR(-10 * 0.017453292f, a->state->spin, 1e-6);
    // Three flashes at a's edge toward b, at a's depth.
    ASSERT_EQ(3u, s.ParticlesBehind(a).size());
    EXPECT_EQ(&CollideFlashType, a->next->type);
    EXPECT_FLOAT_EQ(5, a->next->transform->x);
    EXPECT_FLOAT_EQ(7, a->next->transform->z);
    EXPECT_EQ(99.0f, s.data.nearMissDistance) << "no ship, no near miss";

    SCOPED_TRACE("unequal masses at an angle keep momentum and normal energy");
    Scene u;
    a = Velocity(u.Add(&Asteroid1Type, 0, 0, 10, 3.0f), 4, 1);
    b = Velocity(u.Add(&SatellitePart1Type, 5, 5, 10, 1.0f), -2, 0);
    HitObstacle(a, b, &u.data, 0.0f);
    EXPECT_NEAR(3 * 4 + 1 * -2, 3 * a->state->velX + 1 * b->state->velX, 1e-4);
    EXPECT_NEAR(3 * 1 + 0, 3 * a->state->velY + 1 * b->state->velY, 1e-4);
    float before = 3 * (4 * 4 + 1) + 4, after = 3 * (a->state->velX * a->state->velX + a->state->velY * a->state->velY) +
                                                 b->state->velX * b->state->velX + b->state->velY * b->state->velY;
    EXPECT_NEAR(before, after, 1e-3);
    EXPECT_NEAR(10, hypotf(b->transform->x, b->transform->y), 1e-4);

    SCOPED_TRACE("satellites collide with 80 per cent of their half width");
    Scene r;
    a = r.Add(&SatelliteType, 0, 0, 10);
    b = r.Add(&SatellitePart3Type, 8.5f, 0, 10);
    HitObstacle(a, b, &r.data, 0.0f);
    EXPECT_FLOAT_EQ(8.5f, b->transform->x) << "4 + 4 < 8.5: untouched";
    GameObject* c = r.Add(&Asteroid1Type, 30, 0, 10);
    GameObject* d = r.Add(&Asteroid3Type, 38.5f, 0, 10);
    HitObstacle(c, d, &r.data, 0.0f);
    EXPECT_FLOAT_EQ(40, d->transform->x);

    SCOPED_TRACE("contact is judged where the two will be after dt");
    Scene p;
    a = Velocity(p.Add(&Asteroid1Type, 0, 0, 10), 100, 0);
    b = p.Add(&Asteroid1Type, 12, 0, 10);
    HitObstacle(a, b, &p.data, 0.0f);
    EXPECT_FLOAT_EQ(100, a->state->velX);
    HitObstacle(a, b, &p.data, 0.05f);
    EXPECT_FLOAT_EQ(0, a->state->velX);
    EXPECT_FLOAT_EQ(100, b->state->velX);

    SCOPED_TRACE("massless pairs and coinciding centres stay finite");
    Scene z;
    a = Velocity(z.Add(&Asteroid1Type, 0, 0, 10, 0.0f), 3, 0);
    b = z.Add(&Asteroid3Type, 0, 0, 10, 0.0f);
    HitObstacle(a, b, &z.data, 0.0f);
    EXPECT_FLOAT_EQ(3, a->state->velX);
    EXPECT_FLOAT_EQ(10, b->transform->x) << "separated along (1, 0)";
    HitObstacle(a, a, &z.data, 0.0f);
    EXPECT_FLOAT_EQ(3, a->state->velX);
}

TEST(Collision, WhatAShipHitCosts)
{
    // Ship moving up at 100 into an asteroid falling at 100: combined speed 200.
    struct Hit
    {
        Scene s;
        GameObject* ship;
        GameObject* rock;
        Hit(float fuel, float grace)
        {
            s.data.fuel = fuel;
            s.data.hitGraceTimer = grace;
            s.data.combo = 7;
            s.data.scoreMultiplier = 2;
            ship = Velocity(s.Add(&Ship1Type, 0, 0, 16, 100.0f), 0, 100);
            rock = Velocity(s.Add(&Asteroid1Type, 0, 12, 10, 1.0f), 0, -100);
        }
        void Run() { CollideShip(&Ship1Type, ship, &s.head, &s.data, 0.0f); }
    };

    struct Case { const char* name; float fuel, grace; int level, step; float fuelAfter, graceAfter, score; int combo; }
    const cases[] = {
        {"costly hit: fuel, banked combo, shake, grace", 50, -1, 1, 0, 40, 1, 14, 0},
        {"within the grace time: a bounce, nothing more", 50, 0.5f, 1, 0, 50, 0.5f, 0, 7},
        {"the tank's last reserve", 3, -1, 1, 0, -10, 1, 14, 0},
        {"emptied to exactly 0: no reserve, no explosion", 10, -1, 1, 0, 0, 1, 14, 0},
        {"tutorial: free until step 5, but the combo still ends", 50, -1, -1, 4, 50, 1, 14, 0},
        {"tutorial step 5 pays", 50, -1, -1, 5, 40, 1, 14, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Hit h(c.fuel, c.grace);
        h.s.data.level = c.level;
        h.s.data.tutorialStep = c.step;
        h.Run();
        EXPECT_EQ(1, h.s.data.shipHit);
        EXPECT_FLOAT_EQ(c.fuelAfter, h.s.data.fuel);
        EXPECT_FLOAT_EQ(c.graceAfter, h.s.data.hitGraceTimer);
        EXPECT_FLOAT_EQ(c.score, h.s.data.score);
        EXPECT_EQ(c.combo, h.s.data.combo);
        EXPECT_FLOAT_EQ(c.grace < 0 ? 10 : 0, h.s.data.cameraShake);
        EXPECT_EQ(c.level, h.s.data.level) << "the run goes on";
        EXPECT_EQ(3u, h.s.ParticlesBehind(h.ship).size()) << "flashes, no boom";
        EXPECT_FLOAT_EQ(0.3f, h.ship->timer->time);
        EXPECT_LT(h.ship->state->velY, 100) << "the ship bounced";
    }

    SCOPED_TRACE("a long run's multiplier times a big combo is banked whole");
    Hit big(50, -1);
    big.s.data.scoreMultiplier = 32768;
    big.s.data.combo = 98304;
    big.s.data.score = 500000;
    big.Run();
    EXPECT_FLOAT_EQ(500000.0f + 3221225472.0f, big.s.data.score);

    SCOPED_TRACE("a hit past the reserve ends the run with a boom directly behind the ship");
    Hit end(-10, -1);
    end.Run();
    EXPECT_FLOAT_EQ(-20, end.s.data.fuel);
    EXPECT_EQ(0, end.s.data.level);
    ASSERT_EQ(&BoomType, end.ship->next->type);
    EXPECT_EQ(4u, end.s.ParticlesBehind(end.ship).size());

    SCOPED_TRACE("a near miss records the gap without a hit");
    Hit graze(50, -1);
    graze.rock->transform->y = 23; // circles 8 and 5 apart by 10
    Velocity(graze.ship, 0, 0);
    Velocity(graze.rock, 0, 0);
    graze.Run();
    EXPECT_FLOAT_EQ(10, graze.s.data.nearMissDistance);
    EXPECT_EQ(0, graze.s.data.shipHit);
    graze.rock->transform->y = 40;
    graze.s.data.nearMissDistance = 99;
    graze.Run();
    EXPECT_FLOAT_EQ(99, graze.s.data.nearMissDistance);

    SCOPED_TRACE("an invisible head, a flagged or hidden rock, the wrong kind: nothing");
    for (int way = 0; way < 4; way++) {
        Hit none(50, -1);
        none.s.head->visible = way != 0;
        none.rock->timer->flag = way == 1;
        none.rock->visible = way != 2;
        CollideShip(way == 3 ? &Ship2Type : &Ship1Type, none.ship, &none.s.head, &none.s.data, 0.0f);
        EXPECT_EQ(0, none.s.data.shipHit) << way;
        EXPECT_FLOAT_EQ(50, none.s.data.fuel) << way;
    }
}

TEST(Collision, BulletStrikes)
{
    Scene s;
    s.data.scoreMultiplier = 1 << 28; // a long run's: ten points a strike take more than an int
    GameObject* rock = s.Add(&Asteroid3Type, 0, 0, 10);
    GameObject* satellite = s.Add(&SatelliteType, 3, 0, 10);
    GameObject* bullet = s.Add(&BulletType, 2, 0, 2);
    GameObject* far = s.Add(&Asteroid1Type, 50, 0, 10);
    CollideBullet(bullet, &s.head, &s.data);
    // Both overlapping targets are struck in the one walk.
    EXPECT_EQ(0, rock->visible);
    EXPECT_EQ(0, satellite->visible);
    EXPECT_EQ(1, far->visible);
    EXPECT_EQ(0, bullet->visible);
    EXPECT_FLOAT_EQ(2 * 30 * 268435456.0f, s.data.score);
    EXPECT_EQ(2 * 3 * (1 << 28), s.data.combo);
    EXPECT_EQ(6u, s.ParticlesBehind(bullet).size());
    EXPECT_EQ(&BoomType, bullet->next->type);

    SCOPED_TRACE("flagged bullets and flagged targets pass through");
    Scene f;
    rock = f.Add(&Asteroid1Type, 0, 0, 10);
    bullet = f.Add(&BulletType, 0, 0, 2);
    bullet->timer->flag = 1;
    CollideBullet(bullet, &f.head, &f.data);
    EXPECT_EQ(1, rock->visible);
    bullet->timer->flag = 0;
    rock->timer->flag = 1;
    CollideBullet(bullet, &f.head, &f.data);
    EXPECT_EQ(1, rock->visible);
    EXPECT_FLOAT_EQ(0, f.data.score);
}

TEST(Collision, PlanetsPullShrinkAndSwallow)
{
    // Earth 40 wide reaches 120 units; power 100.
    struct Pull
    {
        Scene s;
        GameObject* planet;
        GameObject* n;
        Pull(ObjectType* kind, float distance)
        {
            planet = s.Add(&EarthType, 0, 0, 40, 100.0f);
            n = s.Add(kind, distance, 0, 16);
        }
    };

    SCOPED_TRACE("at a quarter of the reach: half the power, toward the planet, half the size");
    Pull quarter(&Ship1Type, 30);
    CollideShip(&Ship1Type, quarter.n, &quarter.s.head, &quarter.s.data, 0.0f);
    EXPECT_NEAR(-50, quarter.planet->state->forceX, 1e-4);
    EXPECT_NEAR(-50, quarter.n->state->pushX, 1e-4);
    EXPECT_NEAR(8, quarter.n->transform->scaleX, 1e-4);
    EXPECT_EQ(1, quarter.n->visible);

    SCOPED_TRACE("at the reach and beyond: nothing");
    for (float distance : {120.0f, 200.0f}) {
        Pull out(&Ship1Type, distance);
        CollideShip(&Ship1Type, out.n, &out.s.head, &out.s.data, 0.0f);
        EXPECT_EQ(0, out.planet->state->forceX);
        EXPECT_EQ(16, out.n->transform->scaleX);
    }

    SCOPED_TRACE("ship 2 feels 70 per cent; ship 3's antigravity reverses the pull");
    Pull light(&Ship2Type, 30);
    CollideShip(&Ship2Type, light.n, &light.s.head, &light.s.data, 0.0f);
    EXPECT_NEAR(-35, light.n->state->pushX, 1e-4);
    Pull anti(&Ship3Type, 30);
    anti.s.data.antigravityActive = 1;
    CollideShip(&Ship3Type, anti.n, &anti.s.head, &anti.s.data, 0.0f);
    EXPECT_NEAR(50, anti.n->state->pushX, 1e-4);

    SCOPED_TRACE("the last planet in the list sets the size from every pull before it");
    Pull two(&Asteroid1Type, 30);
    GameObject* moon = two.s.Add(&MoonType, 1000, 0, 10, 100.0f);
    CollideObstacle(&Asteroid1Type, two.n, &two.s.head, &two.s.data, 0.0f);
    EXPECT_EQ(0, moon->state->forceX);
    EXPECT_NEAR(8, two.n->transform->scaleX, 1e-4);

    SCOPED_TRACE("far objects feel planets too; a powerless planet leaves the size alone");
    Pull far(&Asteroid2Type, 30);
    CollideFarObstacle(&Asteroid2Type, far.n, &far.s.head, &far.s.data);
    EXPECT_NEAR(-50, far.n->state->pushX, 1e-4);
    Pull weak(&Asteroid2Type, 30);
    weak.planet->state->power = 0;
    CollideFarObstacle(&Asteroid2Type, weak.n, &weak.s.head, &weak.s.data);
    EXPECT_EQ(16, weak.n->transform->scaleX);

    SCOPED_TRACE("within a quarter of the planet's width: swallowed");
    Pull deep(&Asteroid1Type, 10);
    deep.s.data.level = -1;
    CollideObstacle(&Asteroid1Type, deep.n, &deep.s.head, &deep.s.data, 0.0f);
    EXPECT_EQ(0, deep.n->visible);
    EXPECT_EQ(1, deep.s.data.tutorialSwallowed);
    EXPECT_EQ(3u, deep.s.ParticlesBehind(deep.n).size());
    EXPECT_FLOAT_EQ(0, deep.s.data.score);
}

TEST(Collision, WindPushesObstaclesAway)
{
    Scene s;
    GameObject* wind = s.Add(&WindType, 0, 0, 5);
    GameObject* rock = s.Add(&Asteroid1Type, 3, 0, 2);
    CollideObstacle(&Asteroid1Type, rock, &s.head, &s.data, 0.0f);
    EXPECT_FLOAT_EQ(25 - 9, wind->state->forceX);
    EXPECT_FLOAT_EQ(16, rock->state->pushX);

    rock->state->pushX = 0;
    rock->timer->flag = 1;
    CollideObstacle(&Asteroid1Type, rock, &s.head, &s.data, 0.0f);
    EXPECT_EQ(0, rock->state->pushX) << "flagged objects feel no wind";

    rock->timer->flag = 0;
    rock->transform->x = 6;
    CollideObstacle(&Asteroid1Type, rock, &s.head, &s.data, 0.0f);
    EXPECT_EQ(0, wind->state->forceX);
}

namespace {

// A crowded field of every breakable kind and a ship, many pairs placed right
// on the touching distance (or the ship's near-miss distance) give or take a
// rounding step, some far apart, one with a NaN velocity and one huge.
void BuildCrowd(Scene* s, unsigned seed)
{
    static ObjectType* const kinds[] = {&Asteroid1Type, &Asteroid3Type, &SatelliteType, &SatellitePart1Type,
                                        &SatellitePart3Type};
    srand(seed);
    GameObject* ship = Velocity(s->Add(&Ship1Type, 0, 0, 12, 50.0f), 30, -10);
    GameObject* last = ship;
    for (int i = 0; i < 60; i++) {
        ObjectType* kind = kinds[rand() % 5];
        float size = VTRandomFloat(2.0f, 30.0f);
        float ra = last->transform->scaleX * 0.5f * (last->type == &SatelliteType ? 0.8f : 1.0f);
        float gap = ra + size * 0.5f + (last == ship && i % 3 == 0 ? VTRandomFloat(1.0f, 14.0f) : 0.0f);
        float angle = VTRandomFloat(0.0f, 6.2831853f);
        float x = last->transform->x + cosf(angle) * gap;
        float y = last->transform->y + sinf(angle) * gap;
        if (i % 4 == 1)
            x = nextafterf(x, x > last->transform->x ? INFINITY : -INFINITY);
        if (i % 7 == 3)
            x += 500.0f; // clear of everything
        GameObject* o = s->Add(kind, x, y, size, VTRandomFloat(1.0f, 80.0f));
        Velocity(o, VTRandomFloat(-40.0f, 40.0f), VTRandomFloat(-40.0f, 40.0f));
        o->visible = i % 11 != 5;
        o->timer->flag = i % 13 == 6;
        last = i % 5 == 0 ? ship : o;
    }
    Velocity(s->Add(&Asteroid1Type, 1, 1, 8), NAN, 0);
    s->Add(&Asteroid3Type, -3e6f, 0, 1e6f);
    // Last in the list, so the ship's walk ends on a near miss.
    float angle = VTRandomFloat(0.0f, 6.2831853f);
    float gap = 6.0f + 4.0f + VTRandomFloat(1.0f, 14.0f);
    s->Add(&Asteroid1Type, cosf(angle) * gap, sinf(angle) * gap, 8);
}

// The walks as written before they learnt to skip distant pairs: every
// eligible breakable goes to HitObstacle.
void ReferenceWalks(Scene* s, float dt)
{
    for (GameObject* n = s->head; n; n = n->next) {
        int ship = n->type == &Ship1Type;
        if (!ship && !IsBreakableKind(n->type))
            continue;
        ObjectType* kind = n->type;
        for (GameObject* o = s->head; o && n->type == kind; o = o->next)
            if (n->visible && (ship || n->timer->flag == 0) && IsBreakableKind(o->type) && o->visible &&
                o->timer->flag == 0)
                HitObstacle(n, o, &s->data, dt);
    }
}

void RealWalks(Scene* s, float dt)
{
    for (GameObject* n = s->head; n; n = n->next) {
        CollideShip(&Ship1Type, n, &s->head, &s->data, dt);
        for (ObjectType* kind : {&Asteroid1Type, &Asteroid3Type, &SatelliteType, &SatellitePart1Type,
                                 &SatellitePart3Type})
            CollideObstacle(kind, n, &s->head, &s->data, dt);
    }
}

} // namespace

TEST(Collision, WalksSkipOnlyPairsThatCannotTouch)
{
    for (unsigned seed = 1; seed <= 40; seed++) {
        Scene real, reference;
        BuildCrowd(&real, seed);
        BuildCrowd(&reference, seed);
        srand(seed * 7919u);
        RealWalks(&real, 1.0f / 60.0f);
        srand(seed * 7919u);
        ReferenceWalks(&reference, 1.0f / 60.0f);

        SCOPED_TRACE(seed);
        int hits = 0, index = 0;
        GameObject* a = real.head;
        GameObject* b = reference.head;
        for (; a && b; a = a->next, b = b->next, index++) {
            ASSERT_EQ(a->type, b->type) << "object " << index;
            hits += a->type == &CollideFlashType;
            if (a->transform) {
                EXPECT_EQ(0, memcmp(a->transform, b->transform, sizeof *a->transform)) << "object " << index;
            }
            if (a->state) {
                EXPECT_EQ(0, memcmp(a->state, b->state, sizeof *a->state)) << "object " << index;
            }
        }
        EXPECT_EQ(a, b) << "the lists differ in length";
        EXPECT_EQ(0, memcmp(&real.data, &reference.data, sizeof real.data));
        EXPECT_GT(hits, 0) << "the crowd must collide somewhere";
    }
}
