// Spawners, drifting obstacles, planets and warning rings on hand-built lists;
// placement needs a real view, so it runs in a child with the engine started.
#include <gtest/gtest.h>
#include <math.h>
#include <stdlib.h>
#include <string.h>

#include "harness.h"
#include "play/obstacles.h"
#include "vtgraphics.h"

namespace {

struct World
{
    GameObject* head = NULL;
    GameData data{};
    World(int level = 1)
    {
        data.level = level;
        data.blackHoleDistance = 300.0f;
        AddObject(&head);
    }
    ~World() { FreeObjectList(&head); }
    GameObject* Add(ObjectType* kind, float time, int number = 0)
    {
        AddObject(&head);
        head->next->type = kind;
        AddTimer(head->next);
        *head->next->timer = Timer{number, time, 0.0f, 0};
        return head->next;
    }
    // At rest at (0, y), its debris countdown run out.
    GameObject* Obstacle(ObjectType* kind, float y, float size = 10.0f)
    {
        GameObject* o = Add(kind, -1.0f);
        AddTransform(o);
        AddAppearance(o);
        AddObjectState(o);
        *o->transform = Transform{0.0f, y, size, size, 0.0f, 0.0f};
        return o;
    }
    // One spawner frame: what it dropped, or NULL.
    GameObject* Run(ObjectLogic logic, GameObject* spawner)
    {
        GameObject* before = spawner->next;
        logic(spawner, &data, 0.0f);
        return spawner->next != before ? spawner->next : NULL;
    }
    GameObject* Fresh(ObjectLogic logic, ObjectType* kind, int number = 0) { return Run(logic, Add(kind, 0.0f, number)); }
    int Count(ObjectType* kind)
    {
        int n = 0;
        for (GameObject* o = head; o; o = o->next)
            n += o->type == kind;
        return n;
    }
};

} // namespace

TEST(Spawners, PlaceBesideOrAboveTheView)
{
    EXPECT_EQ(0, RunInChild([] {
        StartTestEngine(640, 480);
        VTGraphicsSetCamera(0.0f, 0.0f, 200.0f, 0.0f);
        VTVec2 tl = VTGraphicsGetWorldTopLeft(), tr = VTGraphicsGetWorldTopRight(), bl = VTGraphicsGetWorldBotLeft();
        float w = tr.x - tl.x, h = tr.y - bl.y;
        World world;
        world.data.focusX = 30.0f;
        world.data.focusY = 130.0f;
        for (int side = 1; side <= 2; side++) {
            Transform* t = world.Fresh(AsteroidSpawnerLogic, &AsteroidSpawnerType, side)->transform;
            EXPECT_FLOAT_EQ(side == 1 ? 30.0f + w : 30.0f - w, t->x);
            EXPECT_TRUE(t->y >= 130.0f + h / 4.0f - 0.01f && t->y <= 130.0f + h + 0.01f);
        }
        Transform* ahead = world.Fresh(AsteroidSpawnerLogic, &AsteroidSpawnerType, 0)->transform;
        EXPECT_LE(fabsf(ahead->x - 30.0f), w);
        EXPECT_FLOAT_EQ(tr.y + 10.0f, ahead->y) << "placed at the default width, sized later";
        Transform* nebula = world.Fresh(NebulaSpawnerLogic, &NebulaSpawnerType)->transform;
        EXPECT_FLOAT_EQ(tr.y + nebula->scaleX, nebula->y) << "sized before placement";
        Transform* planet = world.Fresh(PlanetSpawnerLogic, &PlanetSpawnerType)->transform;
        EXPECT_FLOAT_EQ(tl.y + 2.0f * planet->scaleX, planet->y);
    }));
}

TEST(Spawners, CountDownByDistanceFlown)
{
    World w;
    GameObject* right = w.Add(&AsteroidSpawnerType, 100.0f, 1);
    GameObject* left = w.Add(&SatelliteSpawnerType, 10.0f, 2);
    GameObject* ahead = w.Add(&AsteroidSpawnerType, 100.0f, 0);
    GameObject* fuel = w.Add(&FuelSpawnerType, 100.0f, 1);
    auto frame = [&] {
        return (w.Run(AsteroidSpawnerLogic, right) != NULL) + (w.Run(SatelliteSpawnerLogic, left) != NULL) +
               (w.Run(AsteroidSpawnerLogic, ahead) != NULL) + (w.Run(FuelSpawnerLogic, fuel) != NULL);
    };
    for (int i = 0; i < 50; i++)
        ASSERT_EQ(0, frame()) << "a ship at rest spawns nothing";
    w.data.shipStepX = -5.0f; // left: the sides count twice the step, fuel once
    EXPECT_EQ(0, frame());
    EXPECT_TRUE(right->timer->time == 110.0f && left->timer->time == 0.0f && fuel->timer->time == 105.0f);
    EXPECT_EQ(1, frame()) << "the left spawner is due";
    w.data.shipStepX = 0.0f;
    w.data.shipStepY = 20.0f; // up: only the one ahead
    EXPECT_EQ(0, frame());
    EXPECT_TRUE(ahead->timer->time == 80.0f && right->timer->time == 120.0f);
}

TEST(Spawners, DifficultyAndBackdropFollowTheLevel)
{
    srand(7);
    const float asteroidGaps[][3] = {{1, 50, 100}, {2, 10, 30}, {3, 2, 5}, {8, 2, 5}, {0, 50, 100}};
    for (const auto& row : asteroidGaps) {
        World w((int)row[0]);
        GameObject* s = w.Add(&AsteroidSpawnerType, 0.0f);
        w.Run(AsteroidSpawnerLogic, s);
        EXPECT_TRUE(s->timer->time >= row[1] && s->timer->time <= row[2]) << "level " << row[0];
    }
    ObjectType* planets[] = {&MoonType, &MarsType, &UranusType, &DummyType};
    for (int level = 1; level <= 4; level++) {
        World w(level);
        GameObject* p = w.Fresh(PlanetSpawnerLogic, &PlanetSpawnerType);
        EXPECT_TRUE(p->type == planets[level - 1] && p->visible == (level < 4)) << "no planets from level 4";
    }
    for (int level = -1; level <= 3; level++) {
        World w(level);
        EXPECT_EQ(level == 3, w.Fresh(ClusterSpawnerLogic, &ClusterSpawnerType) != NULL) << "clusters from level 3";
        GameObject* nebula = w.Fresh(NebulaSpawnerLogic, &NebulaSpawnerType);
        EXPECT_EQ(level >= 1, nebula->visible == 1) << "hidden in levels 0 and -1";
        EXPECT_EQ(level >= 2, nebula->appearance != NULL) << "tinted in level 2, translucent later";
    }
    World tutorial(-1);
    tutorial.data.tutorialStep = 5;
    EXPECT_EQ(nullptr, tutorial.Fresh(FuelSpawnerLogic, &FuelSpawnerType)) << "no fuel before the tutorial's step 6";
    tutorial.data.tutorialStep = 6;
    EXPECT_EQ(3, tutorial.Fresh(FuelSpawnerLogic, &FuelSpawnerType)->timer->number);
}

TEST(Spawners, FarTrafficIsDimSlowAndUntouchable)
{
    srand(11);
    World w;
    for (int i = 0; i < 50; i++) {
        GameObject* f = w.Fresh(FarAsteroidSpawnerLogic, &FarAsteroidSpawnerType);
        EXPECT_TRUE(f->state->velX == 0.0f && f->state->velY == 0.0f && f->timer->flag == 1 && f->transform->z == 35.0f);
        EXPECT_TRUE(f->appearance->red < 81 && f->transform->scaleX == f->state->power * 0.1f);
    }
    int empty = 0;
    for (int i = 0; i < 1000; i++)
        empty += w.Fresh(FarSatelliteSpawnerLogic, &FarSatelliteSpawnerType)->visible == 0;
    EXPECT_TRUE(empty > 150 && empty < 250) << empty << " of 1000 far satellite draws were empty";
}

TEST(DriftingObstacles, LeaveTheKeepRadiusAndShedDebrisNearTheBlackHole)
{
    srand(3);
    World w;
    w.data.focusY = 100.0f;
    GameObject* inside = w.Obstacle(&Asteroid1Type, 609.5f);
    GameObject* outside = w.Obstacle(&Asteroid1Type, 611.0f);
    DriftingObstacleLogic(inside, &w.data, 0.0f);
    DriftingObstacleLogic(outside, &w.data, 0.0f);
    EXPECT_TRUE(inside->visible == 1 && outside->visible == 0);
    EXPECT_EQ(0, w.Count(&Asteroid1DebrisType)) << "the black hole is far";

    w.data.blackHoleDistance = 50.0f; // its line at y 150
    GameObject* a = w.Obstacle(&Asteroid3Type, 120.0f);
    DriftingObstacleLogic(a, &w.data, 0.0f);
    ASSERT_EQ(&Asteroid3DebrisType, a->next->type);
    EXPECT_TRUE(a->appearance->alpha == 51.0f && a->next->appearance->alpha == 51.0f);
    for (int i = 0; i < 40; i++) // three frames of countdown, then a puff
        DriftingObstacleLogic(a, &w.data, 0.02f);
    EXPECT_EQ(11, w.Count(&Asteroid3DebrisType));

    GameObject* low = w.Obstacle(&SatellitePart2Type, 80.0f);
    DriftingObstacleLogic(low, &w.data, 0.0f);
    EXPECT_EQ(-51.0f, low->appearance->alpha) << "not clamped";
    EXPECT_TRUE(low->next->type == &SatellitePart2DebrisType && low->next->appearance->alpha == 255.0f);
    GameObject* high = w.Obstacle(&SatelliteType, 160.0f);
    DriftingObstacleLogic(high, &w.data, 0.0f);
    EXPECT_EQ(low, high->next) << "above the black hole's line";
    GameObject* nebula = w.Obstacle(&Nebula2Type, 80.0f);
    DriftingObstacleLogic(nebula, &w.data, 0.5f);
    EXPECT_FLOAT_EQ(-1.5f, nebula->timer->time) << "backdrops shed nothing";
}

TEST(Planets, PulseShrinkingWarningRings)
{
    World w;
    w.data.focusY = 100.0f;
    GameObject* p = w.Obstacle(&MarsType, 200.0f, 60.0f);
    p->timer->time = 0.0f;
    PlanetLogic(p, &w.data, 1.0f / 64.0f);
    GameObject* ring = p->next;
    ASSERT_EQ(&PlanetWarningType, ring->type);
    EXPECT_EQ(240.0f, ring->transform->scaleX);
    for (int i = 1; i < 12 * 64; i++)
        PlanetLogic(p, &w.data, 1.0f / 64.0f);
    EXPECT_EQ(10, w.Count(&PlanetWarningType)) << "one ring every 1.2 s";

    // 100 alpha a second from 255; an exact landing on 0 ends the ring too.
    float seconds = 0.0f;
    ring->transform->scaleX = 100.0f;
    for (; ring->visible && seconds < 5.0f; seconds += 0.01f)
        PlanetWarningLogic(ring, &w.data, 0.01f);
    EXPECT_NEAR(2.55f, seconds, 0.015f);
    EXPECT_NEAR(100.0f * powf(0.997f, 255.0f), ring->transform->scaleX, 0.5f);
}
