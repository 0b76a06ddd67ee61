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
