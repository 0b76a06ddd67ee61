// Fuel pickups, the fuel gauge and fading particles on hand-built objects.
#include <gtest/gtest.h>

#include "play/fuel.h"

namespace {

struct Hud
{
    GameObject* head = NULL;
    GameData data{};
    Hud()
    {
        data.level = 1;
        data.fuel = 50.0f;
        data.gameOverPending = 1;
        data.blackHoleDistance = 300.0f;
        data.focusY = 100.0f; // the ship at the origin
        data.shipRadius = 8.0f;
        AddObject(&head);
    }
    ~Hud() { FreeObjectList(&head); }
    GameObject* Add(ObjectType* kind, float x, float y, float width, int number = 0)
    {
        AddObject(&head);
        GameObject* o = head->next;
        o->type = kind;
        AddTransform(o);
        AddTimer(o);
        AddAppearance(o);
        AddObjectState(o);
        *o->transform = Transform{x, y, width, width, 0.0f, 0.0f};
        o->timer->number = number;
        return o;
    }
    // The play walk: a dead successor leaves before anyone's logic runs.
    void Frame(ObjectLogic logic, float dt)
    {
        for (GameObject* o = head; o; o = o->next) {
            RemoveDeadSuccessor(o);
            if (o != head)
                logic(o, &data, dt);
        }
    }
};

} // namespace

TEST(FuelPickup, CollectedOnceByALivingShipFadingAndFalling)
{
    Hud h;
    h.data.level = 2;
    h.Add(&FuelPickupType, 0.0f, 12.0f, 10.0f, 2); // 12 apart, reach 5 + 8
    h.Add(&FuelPickupType, 0.0f, 14.0f, 10.0f, 2);
    for (int i = 0; i < 3; i++)
        h.Frame(FuelPickupLogic, 0.0f);
    EXPECT_TRUE(h.data.fuel == 52.0f && h.data.combo == 1 && h.data.score == 20.0f);
    EXPECT_EQ(14.0f, h.head->next->transform->y) << "the far one is left";

    h.data.gameOverPending = 0;
    GameObject* late = h.Add(&FuelPickupType, 0.0f, 0.0f, 10.0f, 2);
    FuelPickupLogic(late, &h.data, 0.0f);
    EXPECT_TRUE(late->visible == 1 && h.data.fuel == 52.0f) << "a dead ship collects nothing";

    h.data = Hud().data;
    h.data.level = -1;
    h.data.fuel = 99.0f;
    h.data.warpOpen = 1;
    h.data.soundOn = 1; // silent once the warp is open
    FuelPickupLogic(h.Add(&FuelPickupType, 0.0f, 0.0f, 10.0f, 3), &h.data, 0.0f);
    EXPECT_TRUE(h.data.fuel == 102.0f && h.data.combo == 0 && h.data.score == 0.0f) << "tutorial: fuel only, past 100";

    GameObject* p = h.Add(&FuelPickupType, 100.0f, 0.0f, 10.0f, 1);
    p->state->angle = -1.5707964f;
    p->state->thrustY = 100.0f;
    h.data.blackHoleDistance = 40.0f;
    FuelPickupLogic(p, &h.data, 0.1f);
    EXPECT_FLOAT_EQ(102.0f, p->appearance->alpha) << "faded near the black hole";
    EXPECT_NEAR(-0.5f, p->transform->y, 1e-4f) << "from rest along its heading";
    p->transform->y = -600.0f;
    FuelPickupLogic(p, &h.data, 0.1f);
    EXPECT_TRUE(p->visible == 0 && p->transform->y == -600.0f) << "out of range: hidden, not moved";
}

TEST(FuelGauge, FadesInAfterTheLaunchAndFollowsTheFuel)
{
    Hud h;
    GameObject* bar = h.Add(&FuelGaugeFullType, 0.0f, 30.0f, 142.5f, 285);
    GameObject* frame = h.Add(&FuelGaugeEmptyType, 400.0f, 30.0f, 300.0f);
    bar->state->angle = 400.0f; // centre at full width
    bar->appearance->alpha = frame->appearance->alpha = 0.0f;
    h.data.cameraHeight = 100.0f;
    FuelGaugeFrameLogic(frame, &h.data, 0.25f);
    EXPECT_EQ(0.0f, frame->appearance->alpha) << "hidden during the launch";
    h.data.cameraHeight = 200.0f;
    FuelGaugeFrameLogic(frame, &h.data, 0.25f);
    EXPECT_EQ(127.0f, frame->appearance->alpha);
    FuelGaugeFrameLogic(frame, &h.data, 0.3f);
    EXPECT_EQ(255.0f, frame->appearance->alpha);

    auto flashes = [&] { return bar->next != NULL; };
    FuelGaugeLogic(bar, &h.data, 0.0f);
    EXPECT_TRUE(bar->transform->x == 328.75f && bar->appearance->texScaleU == 0.5f && !flashes());
    h.data.fuel = 60.0f;
    FuelGaugeLogic(bar, &h.data, 0.0f);
    EXPECT_EQ(328.75f, bar->transform->x) << "placed from last frame's width";
    EXPECT_EQ(171.0f, bar->transform->scaleX);
    ASSERT_TRUE(flashes());
    GameObject* flash = bar->next;
    EXPECT_TRUE(flash->type == &FuelIndicatorType && flash->transform->x == 400.0f) << "at the bar's right end";
    FuelGaugeLogic(bar, &h.data, 0.0f);
    EXPECT_TRUE(bar->transform->x == 343.0f && bar->next == flash) << "caught up, no new flash";

    const struct { float fuel; int level, step; float width; bool flash; } cases[] = {
        {0.0f, 1, 0, 0.0f, false}, {-5.0f, 1, 0, 0.0f, true}, {150.0f, 1, 0, 285.0f, true}, {80.0f, 0, 0, 228.0f, false},
        {20.0f, -1, 4, 57.0f, false}, {30.0f, -1, 5, 85.5f, true}};
    for (const auto& c : cases) {
        bar->transform->scaleX = 171.0f;
        h.data.fuel = c.fuel;
        h.data.level = c.level;
        h.data.tutorialStep = c.step;
        GameObject* before = bar->next;
        FuelGaugeLogic(bar, &h.data, 0.0f);
        EXPECT_FLOAT_EQ(c.width, bar->transform->scaleX) << "fuel " << c.fuel;
        EXPECT_EQ(c.flash, bar->next != before) << "fuel " << c.fuel << " level " << c.level;
    }
}

TEST(FadeParticles, LiveOneOverTheirRateSeconds)
{
    Hud h;
    h.data.shipScaleRatio = 0.5f;
    h.data.shipDepth = 50.0f;
    for (float rate : {5.0f, 0.5f}) {
        GameObject* p = h.Add(rate == 5.0f ? &Ship1AfterimageType : &BoomType, 0.0f, 0.0f, 1.0f);
        p->timer->time = rate;
        float seconds = 0.0f;
        for (; p->visible && seconds < 10.0f; seconds += 0.001f)
            FadeParticleLogic(p, &h.data, 0.001f);
        EXPECT_NEAR(1.0f / rate, seconds, 0.002f);
        EXPECT_EQ(rate == 5.0f ? 10.0f : 1.0f, p->transform->scaleX) << "afterimages take the ship's size";
    }
}
