// The tutorial flown as a player would, an autopilot steering ship 1 to each
// marker; then its checkpoints, respawn, restart, skip and hand-over to play.
#include <gtest/gtest.h>
#include <math.h>
#include <string.h>

#include <map>
#include <vector>

#include "harness.h"
#include "play/tutorial.h"
#include "states.h"
#include "vtstatemanager.h"

namespace {

GameObject* FindKind(ObjectType* kind)
{
    for (GameObject* o = tutorialList; o; o = o->next)
        if (o->type == kind)
            return o;
    return NULL;
}

int CountKind(ObjectType* kind)
{
    int n = 0;
    for (GameObject* o = tutorialList; o; o = o->next)
        n += o->type == kind;
    return n;
}

// Keys as a player holds them: a change is posted only when it changes.
struct Keys
{
    std::map<unsigned long, int> held;
    void Set(unsigned long vk, int down)
    {
        if (held[vk] != down)
            PostKey(vk, down);
        held[vk] = down;
    }
    void Tap(unsigned long vk, int frame, int every)
    {
        Set(vk, frame % every == 0);
    }
};

const unsigned long VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_SPACE = 32, VK_CONTROL = 17;

// Flies toward (x, y): turn toward the velocity the ship should have, thrust
// while the heading is close, coast when fast enough.
void Steer(Keys* keys, GameObject* ship, float x, float y)
{
    float dx = x - ship->transform->x, dy = y - ship->transform->y;
    float distance = hypotf(dx, dy);
    float speed = fminf(95.0f, distance * 1.2f + 5.0f);
    float wantX = dx / distance * speed - ship->state->velX;
    float wantY = dy / distance * speed - ship->state->velY;
    float turn = atan2f(wantY, wantX) - ship->state->angle;
    while (turn > (float)M_PI)
        turn -= 2 * (float)M_PI;
    while (turn < -(float)M_PI)
        turn += 2 * (float)M_PI;
    keys->Set(VK_LEFT, turn > 0.05f);
    keys->Set(VK_RIGHT, turn < -0.05f);
    keys->Set(VK_UP, fabsf(turn) < 0.5f && hypotf(wantX, wantY) > 4.0f);
}

// Ways round the asteroid rows, then the marker itself.
const std::map<int, std::vector<std::pair<float, float>>> detours = {
    {4, {{75, 650}, {75, 860}}},
    {5, {{-105, 1090}, {-105, 1265}}},
    // Beside the moon, then let its pull carry the ship over the marker.
    {7, {{-40, 2150}, {-40, 2300}}},
};

} // namespace

TEST(Tutorial, FlownThroughByAPlayer)
{
    EXPECT_EQ(0, RunInChild([] {
        TempDataHome files;
        static TempDataHome* home = &files;
        files.Write("Option.txt", "001");
        files.Write("Tutorial.txt", "1");
        static int stepFrame[12], pickupsAfter, gaugeVisibleAfter5, gaugeShownInLaunch, boostsAt9, endState;
        static VTPadState pad;
        GameScript script;
        script.frames = 6000;
        script.onFrame = [](int frame, GameData* data) {
            static Keys keys;
            static int detour = 0, lastStep = -1;
            if (frame == 0) {
                data->shipType = 3; // the tutorial flies ship 1 whatever was chosen
                VTSMSetNextState(STATE_TUTORIAL);
                return;
            }
            if (VTSMGetCurrentState() != STATE_TUTORIAL) {
                if (!endState) {
                    endState = VTSMGetCurrentState();
                    EXPECT_EQ(1, data->level);
                    EXPECT_EQ(1, data->shipType) << "ship 1 stays the chosen ship";
                    EXPECT_EQ("0", home->Read("Tutorial.txt"));
                }
                return;
            }
            GameObject* ship = FindKind(&Ship1Type);
            GameObject* marker = FindKind(&QuestType);
            if (!ship || !marker)
                return;
            if (data->cameraHeight < 200.0f)
                gaugeShownInLaunch += FindKind(&FuelGaugeFullType)->appearance->alpha != 0.0f;
            int step = data->tutorialStep;
            if (step != lastStep) {
                if (step < 12 && !stepFrame[step])
                    stepFrame[step] = frame;
                lastStep = step;
                detour = 0;
            }
            // Controls that are still locked do nothing.
            if (step < 2) {
                keys.Set(VK_UP, 1);
                keys.Set(VK_LEFT, 1);
                keys.Tap(VK_CONTROL, frame, 20);
                EXPECT_EQ(0.0f, ship->transform->y) << "moved before the thrust panel";
                EXPECT_EQ(1.5707964f, ship->state->angle) << "turned before the steering panel";
                EXPECT_EQ(0, data->boosting) << "boosted before the ability panel";
                keys.Tap(VK_SPACE, frame, 8); // panels 1 and 2
                return;
            }
            keys.Set(VK_CONTROL, 0);
            if (step < 6) {
                EXPECT_EQ(0, CountKind(&FuelPickupType)) << "pickups before step 6";
            }
            if (step < 5) {
                EXPECT_EQ(0, CountKind(&FuelIndicatorType)) << "gauge flashes before step 5";
            }
            pickupsAfter += step >= 6 && CountKind(&FuelPickupType) > 0;
            if (step >= 5)
                gaugeVisibleAfter5 += FindKind(&FuelGaugeFullType)->visible;
            if (step <= 7) {
                float x = marker->transform->x, y = marker->transform->y;
                auto way = detours.find(step);
                if (way != detours.end() && detour < (int)way->second.size()) {
                    x = way->second[detour].first;
                    y = way->second[detour].second;
                    if (hypotf(x - ship->transform->x, y - ship->transform->y) < 20)
                        detour++;
                }
                Steer(&keys, ship, x, y);
            } else {
                keys.Set(VK_UP, 0);
                keys.Set(VK_LEFT, 0);
                keys.Set(VK_RIGHT, 0);
                if (step == 8)
                    keys.Tap(VK_SPACE, frame, 8); // panel 9
                if (step == 9) { // panel 10: the ability, by pulls that each find it ready
                    pad.rightTrigger = frame % 40 == 0 ? 255 : 0;
                    VTPlatformScriptPad(&pad);
                    boostsAt9 += data->boosting;
                }
                if (step == 10)
                    keys.Tap('R', frame, 8); // panel 11
            }
        };
        RunGame(script);
        for (int step : {2, 3, 4, 5, 6, 7, 8, 9, 10})
            EXPECT_GT(stepFrame[step], 0) << "step " << step << " reached";
        EXPECT_GE(stepFrame[2], 1 + 2 * 90) << "two panels of at least 1.5 s";
        EXPECT_GT(pickupsAfter, 0);
        EXPECT_GT(gaugeVisibleAfter5, 0);
        EXPECT_EQ(0, gaugeShownInLaunch) << "the gauge waits for the launch's end";
        EXPECT_GT(boostsAt9, 0) << "a pull uses the ability as it passes the panel";
        EXPECT_EQ(STATE_PLAY, endState);
    }));
}

TEST(Tutorial, CheckpointsRespawnRestartSkipAndHandOver)
{
    EXPECT_EQ(0, RunInChild([] {
        TempDataHome files;
        static TempDataHome* home = &files;
        files.Write("Option.txt", "001");
        files.Write("Tutorial.txt", "1");
        static int lastFrame;
        GameScript script;
        script.frames = 200;
        script.onFrame = [](int frame, GameData* data) {
            GameObject* ship = FindKind(&Ship1Type);
            GameObject* extra = FindKind(&Talk8PlusType);
            // Moves ship to (x, y) at step; the next frame's expectations follow.
            auto put = [&](int step, float x, float y) {
                data->tutorialStep = step;
                ship->transform->x = x;
                ship->transform->y = y;
            };
            auto at = [&](float x, float y) {
                EXPECT_FLOAT_EQ(x, ship->transform->x) << frame;
                EXPECT_FLOAT_EQ(y, ship->transform->y) << frame;
            };
            lastFrame = frame;
            switch (frame) {
            case 0: // a run left through the pause menu must not reach the next one
                data->score = 500.0f;
                data->combo = 12;
                data->scoreMultiplier = 4;
                VTSMSetNextState(STATE_TUTORIAL);
                break;
            case 10: // a hit during step 4
                put(4, 40, 700);
                ship->state->velX = 30;
                ship->transform->rotation = ship->state->angle = 0.3f;
                data->shipHit = 1;
                break;
            case 11:
                at(100, 550); // the step-4 checkpoint
                EXPECT_FLOAT_EQ(0, ship->state->velX);
                EXPECT_FLOAT_EQ(1.5707964f, ship->state->angle);
                data->shipHit = 0;
                put(3, 400, 300); // straying from the step-3 section
                break;
            case 12:
                at(0, 300);
                put(7, 100, 2276); // into the moon
                break;
            case 13:
                at(0, 1850);
                EXPECT_EQ(1, ship->visible);
                EXPECT_EQ(1, extra->visible);
                data->tutorialStep = 6;
                break;
            case 14:
                EXPECT_EQ(0, extra->visible);
                put(8, 1000, ship->transform->y); // from here on it may fly anywhere
                break;
            case 15:
                EXPECT_FLOAT_EQ(1000, ship->transform->x);
                data->fuel = 0.0f;
                break;
            case 17:
                EXPECT_TRUE(data->tutorialStep == 0 && data->fuel == 50.0f) << "restarted on an empty tank";
                PostKey('X', 1);
                break;
            case 18:
                PostKey('X', 0);
                break;
            case 20:
                EXPECT_EQ(STATE_PLAY, VTSMGetCurrentState()) << "skipped";
                EXPECT_TRUE(data->score < 1.0f && data->combo == 0 && data->scoreMultiplier == 1) << "a fresh run";
                EXPECT_EQ(0, data->tutorialPending);
                EXPECT_EQ("0", home->Read("Tutorial.txt"));
                VTSMSetNextState(STATE_SELECT);
                break;
            case 150: // ship select confirmed with the tutorial done
            case 151:
                PostKey(32, frame == 150);
                break;
            case 199:
                EXPECT_EQ(STATE_PLAY, VTSMGetCurrentState()) << "no tutorial the second time";
                break;
            }
        };
        RunGame(script);
        EXPECT_EQ(199, lastFrame);
    }));
}
