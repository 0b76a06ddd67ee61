// The tutorial's checkpoints, respawn, restart, skip and hand-over to play;
// its panels and markers are in the reference runs (test_references.cpp).
#include <gtest/gtest.h>
#include <string.h>

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

} // namespace

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
            case 5: // the launch: the fuel gauges have not faded in yet
                for (GameObject* o = tutorialList; o; o = o->next) {
                    if (o->type == &FuelGaugeFullType || o->type == &FuelGaugeEmptyType) {
                        EXPECT_EQ(0.0f, o->appearance->alpha) << "a gauge shows during the launch";
                    }
                }
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
