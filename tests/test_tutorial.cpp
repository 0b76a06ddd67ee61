// The tutorial flown as a player would: a small autopilot holds the keys
// that steer ship 1 to each marker around the asteroids while the panels
// are confirmed, then the checkpoints, the respawn, the restart, the skip
// and the hand-over to play.
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
    struct Seen
    {
        int stepFrame[12];
        float tutorialTimerAtStep2;
        int movedBeforeThrust, turnedBeforeSteering, boostedBeforeAbility;
        int pickupsBeforeStep6, pickupsAfter;
        int flashesBeforeStep5, gaugeVisibleAfter5;
        int resets, swallowed;
        int endState, endLevel, endShip;
        char tutorialFile[8];
        int frames;
    };
    static Seen* seen;
    seen = SharedBlock<Seen>();
    static TempDataHome* home;
    EXPECT_EQ(0, RunInChild([] {
        TempDataHome files;
        home = &files;
        files.Write("Option.txt", "001");
        files.Write("Tutorial.txt", "1");
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
                if (!seen->endState) {
                    seen->endState = VTSMGetCurrentState();
                    seen->endLevel = data->level;
                    seen->endShip = data->shipType;
                    snprintf(seen->tutorialFile, 8, "%s", home->Read("Tutorial.txt").c_str());
                    seen->frames = frame;
                }
                return;
            }
            GameObject* ship = FindKind(&Ship1Type);
            GameObject* marker = FindKind(&QuestType);
            if (!ship || !marker)
                return;
            int step = data->tutorialStep;
            if (step != lastStep) {
                if (step < 12 && !seen->stepFrame[step])
                    seen->stepFrame[step] = frame;
                if (step == 2)
                    seen->tutorialTimerAtStep2 = data->tutorialTimer;
                lastStep = step;
                detour = 0;
            }
            // Controls that are still locked do nothing.
            if (step < 2) {
                keys.Set(VK_UP, 1);
                keys.Set(VK_LEFT, 1);
                keys.Tap(VK_CONTROL, frame, 20);
                seen->movedBeforeThrust |= ship->transform->y != 0.0f;
                seen->turnedBeforeSteering |= ship->state->angle != 1.5707964f;
                seen->boostedBeforeAbility |= data->boosting;
                keys.Tap(VK_SPACE, frame, 8); // panels 1 and 2
                return;
            }
            keys.Set(VK_CONTROL, 0);
            seen->pickupsBeforeStep6 += step < 6 && CountKind(&FuelPickupType) > 0;
            seen->pickupsAfter += step >= 6 && CountKind(&FuelPickupType) > 0;
            seen->flashesBeforeStep5 += step < 5 && CountKind(&FuelIndicatorType) > 0;
            if (step >= 5)
                seen->gaugeVisibleAfter5 += FindKind(&FuelGaugeFullType)->visible;
            if (ship->state->velX == 0 && ship->state->velY == 0 && frame > 300)
                seen->resets++;
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
                if (step == 9)
                    keys.Tap(VK_CONTROL, frame, 8); // panel 10: the ability
                if (step == 10)
                    keys.Tap('R', frame, 8); // panel 11
            }
        };
        RunGame(script);
    }));
    for (int step : {2, 3, 4, 5, 6, 7, 8, 9, 10})
        EXPECT_GT(seen->stepFrame[step], 0) << "step " << step << " reached";
    EXPECT_GE(seen->stepFrame[2], 1 + 2 * 90) << "two panels of at least 1.5 s";
    EXPECT_EQ(0, seen->movedBeforeThrust);
    EXPECT_EQ(0, seen->turnedBeforeSteering);
    EXPECT_EQ(0, seen->boostedBeforeAbility);
    EXPECT_EQ(0, seen->pickupsBeforeStep6);
    EXPECT_GT(seen->pickupsAfter, 0);
    EXPECT_EQ(0, seen->flashesBeforeStep5);
    EXPECT_GT(seen->gaugeVisibleAfter5, 0);
    EXPECT_EQ(STATE_PLAY, seen->endState);
    EXPECT_EQ(1, seen->endLevel);
    EXPECT_EQ(1, seen->endShip) << "ship 1 stays the chosen ship";
    EXPECT_STREQ("0", seen->tutorialFile);
    printf("tutorial flown in %d frames\n", seen->frames);
    for (int step = 2; step <= 10; step++)
        printf("step %d at %d\n", step, seen->stepFrame[step]);
    printf("resets %d\n", seen->resets);
}

TEST(Tutorial, CheckpointsRespawnRestartSkipAndHandOver)
{
    struct Seen
    {
        float afterHit[4], afterStraying[2], afterSwallow[3], farAtStep8;
        int talk8PlusAt6, talk8PlusAt7;
        int restartedOnEmptyTank;
        int afterSkipState, pending;
        char tutorialFile[8];
        int secondStartState;
    };
    static Seen* seen;
    seen = SharedBlock<Seen>();
    static TempDataHome* home;
    EXPECT_EQ(0, RunInChild([] {
        TempDataHome files;
        home = &files;
        files.Write("Option.txt", "001");
        files.Write("Tutorial.txt", "1");
        GameScript script;
        script.frames = 200;
        script.onFrame = [](int frame, GameData* data) {
            GameObject* ship = FindKind(&Ship1Type);
            GameObject* extra = FindKind(&Talk8PlusType);
            switch (frame) {
            case 0:
                VTSMSetNextState(STATE_TUTORIAL);
                break;
            case 10: // a hit during step 4
                data->tutorialStep = 4;
                ship->transform->x = 40;
                ship->transform->y = 700;
                ship->state->velX = 30;
                ship->transform->rotation = ship->state->angle = 0.3f;
                data->shipHit = 1;
                break;
            case 11:
                seen->afterHit[0] = ship->transform->x;
                seen->afterHit[1] = ship->transform->y;
                seen->afterHit[2] = ship->state->velX;
                seen->afterHit[3] = ship->state->angle;
                data->shipHit = 0;
                data->tutorialStep = 3; // straying from the step-3 section
                ship->transform->x = 400;
                ship->transform->y = 300;
                break;
            case 12:
                seen->afterStraying[0] = ship->transform->x;
                seen->afterStraying[1] = ship->transform->y;
                data->tutorialStep = 7;
                ship->transform->x = 100; // into the moon
                ship->transform->y = 2276;
                break;
            case 13:
                seen->afterSwallow[0] = ship->transform->x;
                seen->afterSwallow[1] = ship->transform->y;
                seen->afterSwallow[2] = (float)ship->visible;
                seen->talk8PlusAt7 = extra->visible;
                data->tutorialStep = 6;
                break;
            case 14:
                seen->talk8PlusAt6 = extra->visible;
                data->tutorialStep = 8; // from here on it may fly anywhere
                ship->transform->x = 1000;
                break;
            case 15:
                seen->farAtStep8 = ship->transform->x;
                data->fuel = 0.0f;
                break;
            case 17:
                seen->restartedOnEmptyTank = data->tutorialStep == 0 && data->fuel == 50.0f;
                PostKey('X', 1);
                break;
            case 18:
                PostKey('X', 0);
                break;
            case 20:
                seen->afterSkipState = VTSMGetCurrentState();
                seen->pending = data->tutorialPending;
                snprintf(seen->tutorialFile, 8, "%s", home->Read("Tutorial.txt").c_str());
                VTSMSetNextState(STATE_SELECT);
                break;
            case 150: // ship select confirmed with the tutorial done
                PostKey(32, 1);
                break;
            case 151:
                PostKey(32, 0);
                break;
            case 199:
                seen->secondStartState = VTSMGetCurrentState();
                break;
            }
        };
        RunGame(script);
    }));
    EXPECT_FLOAT_EQ(100, seen->afterHit[0]) << "the step-4 checkpoint";
    EXPECT_FLOAT_EQ(550, seen->afterHit[1]);
    EXPECT_FLOAT_EQ(0, seen->afterHit[2]);
    EXPECT_FLOAT_EQ(1.5707964f, seen->afterHit[3]);
    EXPECT_FLOAT_EQ(0, seen->afterStraying[0]);
    EXPECT_FLOAT_EQ(300, seen->afterStraying[1]);
    EXPECT_FLOAT_EQ(0, seen->afterSwallow[0]);
    EXPECT_FLOAT_EQ(1850, seen->afterSwallow[1]);
    EXPECT_FLOAT_EQ(1, seen->afterSwallow[2]);
    EXPECT_EQ(0, seen->talk8PlusAt6);
    EXPECT_EQ(1, seen->talk8PlusAt7);
    EXPECT_FLOAT_EQ(1000, seen->farAtStep8);
    EXPECT_EQ(1, seen->restartedOnEmptyTank);
    EXPECT_EQ(STATE_PLAY, seen->afterSkipState);
    EXPECT_EQ(0, seen->pending);
    EXPECT_STREQ("0", seen->tutorialFile);
    EXPECT_EQ(STATE_PLAY, seen->secondStartState) << "no tutorial the second time";
}
