// The ship's logic on a built ship, frame by frame at 60 frames a second:
// launch, steering, thrust, abilities, near misses, the camera, the warp-out.
#include <gtest/gtest.h>
#include <math.h>
#include <string.h>

#include <utility>
#include <vector>

#include "gamedata.h"
#include "harness.h"
#include "play/ship.h"
#include "vtgraphics.h"
#include "vtinput.h"
#include "vtstatemanager.h"

namespace {

const float DT = 1.0f / 60.0f;
const float HALF_PI = 1.5707964f;

struct Flight
{
    GameData data;
    GameObject* list = NULL; // the ship heads its own little list
    GameObject* ship = NULL;
    VTPadState pad;

    explicit Flight(int shipType, float cameraHeight = 200.0f)
    {
        StartTestEngine(640, 480);
        memset(&pad, 0, sizeof pad);
        VTPlatformScriptPad(&pad);
        ShipResetLatches();
        memset(&data, 0, sizeof data);
        data.shipType = shipType;
        data.level = 1;
        data.scoreMultiplier = 1;
        data.cameraHeight = cameraHeight;
        data.hitGraceTimer = -1.0f;
        data.screenWidth = 640;
        data.screenHeight = 480;
        AddObject(&list);
        ship = list;
        ship->type = shipType == 2 ? &Ship2Type : shipType == 3 ? &Ship3Type : &Ship1Type;
        AddTransform(ship);
        float width = shipType == 2 ? 24.0f : shipType == 3 ? 50.0f : 16.0f;
        ship->transform->scaleX = width;
        ship->transform->scaleY = shipType == 3 ? 50.0f : width / 2;
        ship->transform->z = 50.0f;
        ship->transform->rotation = HALF_PI;
        AddTimer(ship);
        AddObjectState(ship);
        ship->state->power = 100.0f;
        ship->state->angle = HALF_PI;
        ship->state->baseScaleX = ship->transform->scaleX;
        ship->state->baseScaleY = ship->transform->scaleY;
        VTGraphicsSetCamera(0, 0, cameraHeight, 0);
    }
    ~Flight()
    {
        // The next flight in this process starts with every key up.
        for (int key = 1; key < VT_KEY_COUNT; key++)
            VTInputReleaseKey(key);
        VTInputUpdate();
        FreeObjectList(&list);
    }

    // One frame: input rolls over, this frame's key changes arrive, then the
    // ship's logic.
    void Frame(float dt = DT)
    {
        VTPlatformScriptPad(&pad);
        VTInputUpdate();
        for (auto& change : keyChanges) {
            if (change.second)
                VTInputSetKey(change.first, 1);
            else
                VTInputReleaseKey(change.first);
        }
        keyChanges.clear();
        if (ship->type == &Ship1WarpType || ship->type == &Ship2WarpType || ship->type == &Ship3WarpType)
            ShipWarpLogic(ship, &data, dt);
        else
            ShipLogic(ship, &data, dt);
    }
    void Hold(int key) { keyChanges.push_back({key, 1}); }
    void Release(int key) { keyChanges.push_back({key, 0}); }
    std::vector<std::pair<int, int>> keyChanges;
    float Speed() const { return hypotf(ship->state->velX, ship->state->velY); }
};

} // namespace

TEST(Ship, LaunchClimbsForTwoSecondsWithControlsLocked)
{
    EXPECT_EQ(0, RunInChild([] {
        Flight f(1, 100.0f);
        f.Hold(VT_KEY_LEFT);
        f.Hold(VT_KEY_CONTROL);
        int frames = 0;
        while (f.data.cameraHeight < 200.0f && frames < 1000) {
            f.Frame();
            frames++;
            ASSERT_EQ(HALF_PI, f.ship->state->angle) << "no steering during the launch";
            ASSERT_EQ(0.0f, f.ship->timer->time) << "no ability during the launch";
        }
        EXPECT_NEAR(120, frames, 1);
        EXPECT_EQ(200.0f, f.data.cameraHeight) << "clamped to exactly 200";
        EXPECT_FLOAT_EQ(1500, f.ship->state->thrustY) << "thrust without input";
        EXPECT_FLOAT_EQ(100, f.ship->state->velY) << "at the speed limit";
        EXPECT_NEAR(f.ship->transform->y + 100, f.data.focusY, 1e-3);
        // Once at 200 the held key steers.
        f.Frame();
        EXPECT_GT(f.ship->state->angle, HALF_PI);
    }));
}

TEST(Ship, SteeringAndThrust)
{
    EXPECT_EQ(0, RunInChild([] {
        SCOPED_TRACE("200 degrees a second, ship 2 turning 1.2 times as fast, the body following");
        for (int type : {1, 2}) {
            Flight f(type);
            f.Hold(VT_KEY_LEFT);
            for (int i = 0; i < 30; i++)
                f.Frame();
            float expected = HALF_PI + 30 * (200.0f / 60.0f) * 0.017453292f * (type == 2 ? 1.2f : 1.0f);
            EXPECT_NEAR(expected, f.ship->state->angle, 1e-4);
            EXPECT_EQ(f.ship->state->angle, f.ship->transform->rotation);
        }

        SCOPED_TRACE("left and right cancel; a stick adds to a key; ship 3's body spins on its own");
        Flight both(3);
        both.Hold(VT_KEY_LEFT);
        both.Hold(VT_KEY_RIGHT);
        both.Frame();
        EXPECT_FLOAT_EQ(HALF_PI, both.ship->state->angle);
        EXPECT_NEAR(HALF_PI + 400.0f / 60 * 0.017453292f, both.ship->transform->rotation, 1e-5);
        both.Release(VT_KEY_RIGHT);
        both.Frame(); // a released key still counts until the next frame starts
        both.pad.thumbLX = -32767; // full left: another turn to the left
        both.Frame();
        EXPECT_NEAR(HALF_PI + 2 * (200.0f / 60.0f) * 0.017453292f, both.ship->state->angle, 1e-4);

        SCOPED_TRACE("without thrust input the speed drops 2 per cent a frame, paused or not");
        Flight coast(1);
        coast.ship->state->velX = 50.0f;
        coast.Frame(0.0f);
        EXPECT_FLOAT_EQ(49.0f, coast.ship->state->velX);
        EXPECT_FLOAT_EQ(0.0f, coast.ship->transform->x) << "no motion while paused";
        coast.Hold(VT_KEY_UP);
        coast.Frame();
        EXPECT_FLOAT_EQ(1500, coast.ship->state->thrustX);
        coast.Release(VT_KEY_UP);
        coast.pad.leftTrigger = 255;
        coast.Frame();
        EXPECT_FLOAT_EQ(1500, coast.ship->state->thrustX) << "the left trigger thrusts too";
    }));
}

TEST(Ship, Abilities)
{
    EXPECT_EQ(0, RunInChild([] {
        {
            SCOPED_TRACE("the right trigger counts once per pull; below half way releases it");
            Flight f(1);
            auto pull = [&f](unsigned char value) {
                f.pad.rightTrigger = value;
                VTPlatformScriptPad(&f.pad);
                VTInputUpdate();
                return RightTriggerPulled();
            };
            EXPECT_EQ(1, pull(255));
            EXPECT_EQ(0, pull(255)) << "held";
            EXPECT_EQ(0, pull(160)) << "eased above half way: still the same pull";
            EXPECT_EQ(0, pull(255));
            EXPECT_EQ(0, pull(120)) << "below half way: released";
            EXPECT_EQ(1, pull(200));
        }
        {
            SCOPED_TRACE("ship 1: 200 units/s along the heading for 0.2 s, then 0.3 s of cooldown");
            Flight one(1);
            one.ship->state->angle = one.ship->transform->rotation = 0.0f; // heading +x
            one.Hold(VT_KEY_CONTROL);
            int boosted = 0;
            do {
                one.Frame();
                EXPECT_FLOAT_EQ(200.0f, one.ship->state->velX) << boosted;
                EXPECT_EQ(1, one.data.boosting);
                boosted++;
            } while (one.ship->timer->time < 0.0f && boosted < 100);
            EXPECT_NEAR(12, boosted, 1) << "0.2 s of frames";
            EXPECT_FLOAT_EQ(0.3f, one.ship->timer->time);
            int cooling = 0;
            while (one.ship->timer->time > 0.0f && cooling < 100) {
                one.Frame();
                EXPECT_EQ(0, one.data.boosting);
                cooling++;
            }
            EXPECT_NEAR(18, cooling, 1);
            EXPECT_EQ(0.0f, one.ship->timer->time) << "a key held through the cooldown is not remembered";
            one.Release(VT_KEY_CONTROL);
            one.Frame();
            one.Hold(VT_KEY_CONTROL);
            one.Frame();
            EXPECT_LT(one.ship->timer->time, 0.0f) << "a fresh press boosts again";
        }
        {
            SCOPED_TRACE("ship 2: a pair of bullets across the heading, one pair per press");
            Flight two(2);
            two.ship->transform->x = 10;
            two.ship->transform->y = 20;
            two.Hold(VT_KEY_CONTROL);
            two.data.paused = 1;
            two.Frame(0.0f); // paused: the press is taken, the shot waits
            EXPECT_EQ(nullptr, two.ship->next);
            EXPECT_FLOAT_EQ(-0.2f, two.ship->timer->time);
            two.data.paused = 0;
            two.Frame();
            GameObject* a = two.ship->next;
            ASSERT_NE(nullptr, a);
            GameObject* b = a->next;
            ASSERT_NE(nullptr, b);
            EXPECT_EQ(nullptr, b->next);
            EXPECT_EQ(&BulletType, a->type);
            EXPECT_NEAR(20, a->transform->y, 1e-4);
            EXPECT_NEAR(6, fabsf(a->transform->x - b->transform->x), 1e-4);
            EXPECT_NEAR(20, (a->transform->x + b->transform->x), 1e-4) << "centred on the ship";
            EXPECT_NEAR(400, b->state->velY, 1e-3);
            EXPECT_FLOAT_EQ(0.3f, two.ship->timer->time);
            float y = b->transform->y;
            BulletLogic(b, &two.data, 0.5f);
            EXPECT_NEAR(y + 200, b->transform->y, 1e-3);
        }
        SCOPED_TRACE("ship 3: a wind that grows to 200 and ends the antigravity");
        Flight three(3);
        three.Hold(VT_KEY_CONTROL);
        three.Frame();
        GameObject* wind = three.ship->next;
        ASSERT_NE(nullptr, wind);
        EXPECT_EQ(&WindType, wind->type);
        EXPECT_EQ(1, three.data.antigravityActive);
        EXPECT_FLOAT_EQ(50, wind->transform->scaleX);
        EXPECT_FLOAT_EQ(1.2f, three.ship->timer->time);
        int frames = 0;
        while (wind->visible && frames < 100) {
            WindLogic(wind, &three.data, DT);
            frames++;
        }
        EXPECT_EQ(18, frames);
        EXPECT_EQ(200, wind->transform->scaleX);
        EXPECT_EQ(0, three.data.antigravityActive);
    }));
}

TEST(Ship, NearMissesDoubleTheCombo)
{
    EXPECT_EQ(0, RunInChild([] {
        SCOPED_TRACE("a graze counts once its gap stops changing");
        Flight f(1);
        f.data.combo = 6;
        f.data.nearMissDistance = 9.0f;
        f.Frame();
        EXPECT_EQ(6, f.data.combo);
        f.data.nearMissDistance = 7.0f; // still grazing
        f.Frame();
        EXPECT_EQ(6, f.data.combo);
        f.Frame();
        EXPECT_EQ(12, f.data.combo);
        EXPECT_EQ(0.0f, f.data.nearMissDistance);
        GameObject* popup = f.ship->next;
        ASSERT_NE(nullptr, popup);
        EXPECT_EQ(&ComboPopupType, popup->type);
        EXPECT_EQ(248, popup->appearance->green) << "combo 12 in the 10-49 colour";
        f.Frame();
        EXPECT_EQ(12, f.data.combo) << "once only";

        SCOPED_TRACE("grazes during the grace after a hit are void; none while paused");
        Flight g(1);
        g.data.combo = 6;
        g.data.hitGraceTimer = 0.5f;
        g.data.nearMissDistance = 9.0f;
        g.Frame();
        g.Frame();
        EXPECT_EQ(6, g.data.combo);
        EXPECT_EQ(0.0f, g.data.nearMissDistance);
        Flight p(1);
        p.data.combo = 6;
        p.data.nearMissDistance = 9.0f;
        p.Frame();
        p.data.paused = 1;
        p.Frame(0.0f);
        EXPECT_EQ(6, p.data.combo);

        SCOPED_TRACE("combos above 10000 are banked into the score");
        Flight b(1);
        b.data.scoreMultiplier = 1 << 20; // a long run's: the product takes more than an int
        b.data.combo = 10000;
        b.Frame();
        EXPECT_EQ(10000, b.data.combo);
        b.data.combo = 10001;
        b.Frame();
        EXPECT_EQ(0, b.data.combo);
        EXPECT_FLOAT_EQ(10001.0f * 1048576.0f, b.data.score);
    }));
}

TEST(Ship, CameraFollowsOutsideItsDeadZone)
{
    EXPECT_EQ(0, RunInChild([] {
        Flight f(1);
        // 640 x 480 from height 200: a half width of 266.7, so the focus roams
        // freely within 100 units of the camera's x.
        f.ship->transform->x = 90;
        f.Frame(0.0f);
        EXPECT_FLOAT_EQ(0, f.data.cameraX);
        f.ship->transform->x = 150;
        f.Frame(0.0f);
        EXPECT_NEAR(50, f.data.cameraX, 1e-3);
        f.ship->transform->x = -200;
        f.Frame(0.0f);
        EXPECT_NEAR(-100, f.data.cameraX, 1e-3);
        SCOPED_TRACE("the shake decays per frame, even when paused");
        f.data.cameraShake = 10.0f;
        f.Frame(0.0f);
        EXPECT_FLOAT_EQ(9.0f, f.data.cameraShake);
    }));
}

TEST(Ship, WarpOutClimbsIntoTheNextLevel)
{
    EXPECT_EQ(0, RunInChild([] {
        for (int type : {0, 2, 4}) {
            Flight f(type);
            f.ship->transform->rotation = f.ship->state->angle = 3.0f;
            f.data.warpOpen = 1;
            f.data.scoreMultiplier = 2;
            f.Frame();
            EXPECT_EQ(type == 2 ? &Ship2WarpType : &Ship1WarpType, f.ship->type);
        }
        Flight f(1);
        f.ship->transform->rotation = 3.0f;
        f.ship->state->velX = 30.0f;
        f.data.warpOpen = 1;
        f.data.scoreMultiplier = 2;
        f.data.blackHoleDistance = 100.0f;
        f.Frame();
        int frames = 0;
        while (f.ship->transform->rotation != HALF_PI && frames < 1000) {
            f.Frame();
            frames++;
        }
        EXPECT_LT(frames, 200) << "straightens up";
        EXPECT_FLOAT_EQ(500, f.ship->state->velY);
        EXPECT_FLOAT_EQ(0, f.data.shipStepY) << "spawners stop";
        while (f.data.level == 1 && frames < 2000) {
            f.Frame();
            frames++;
        }
        EXPECT_EQ(2, f.data.level);
        EXPECT_EQ(4, f.data.scoreMultiplier);
        EXPECT_EQ(1, VTSMIsRestarting());
        EXPECT_GT(f.data.blackHoleDistance, 100.0f) << "the black hole falls back";
    }));
}
