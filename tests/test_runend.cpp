// The ends of a run: the black hole, its banner, score, combo, unlocks, the
// game-over screen and the pause menu; then a whole run played through them.
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "harness.h"
#include "play/blackhole.h"
#include "play/pause.h"
#include "play/play.h"
#include "play/score.h"
#include "states.h"
#include "vtinput.h"
#include "vtstatemanager.h"

namespace {

const float DT = 1.0f / 60.0f;

GameData Record()
{
    GameData data;
    memset(&data, 0, sizeof data);
    data.screenWidth = 1280;
    data.screenHeight = 720;
    data.level = 1;
    data.scoreMultiplier = 1;
    data.gameOverPending = 1;
    memcpy(data.unlockedShips, "00", 3);
    return data;
}

GameObject* Node(GameObject** head, ObjectType* kind)
{
    GameObject* last = *head;
    while (last && last->next)
        last = last->next;
    AddObject(last ? &last : head);
    GameObject* o = last ? last->next : *head;
    o->type = kind;
    o->screenSpace = 1;
    AddTransform(o);
    AddTimer(o);
    AddAppearance(o);
    return o;
}

int CountKind(GameObject* head, ObjectType* kind)
{
    int n = 0;
    for (GameObject* o = head; o; o = o->next)
        n += o->type == kind;
    return n;
}

} // namespace

TEST(BlackHole, ChasesCatchesAndSavesOnce)
{
    EXPECT_EQ(0, RunInChild([] {
        TempDataHome home;
        GameData data = Record();
        data.focusY = 100.0f;
        data.lastScore = 77.0f;
        GameObject* list = NULL;
        GameObject* hole = Node(&list, &BlackHoleType);
        Node(&list, &HomeEarthType); // keeps the chase line

        SCOPED_TRACE("a ship that outruns it keeps it at most 300 behind");
        for (int i = 0; i < 600; i++) {
            data.focusY += 200.0f * DT;
            BlackHoleLogic(hole, &data, DT);
            ASSERT_LE(data.blackHoleDistance, 300.0f + 200.0f * DT);
        }
        EXPECT_NEAR(300.0f, data.blackHoleDistance, 200.0f * DT + 1e-3);
        EXPECT_FLOAT_EQ(data.focusY - 3 * data.blackHoleDistance, hole->transform->y);

        SCOPED_TRACE("a ship that stops is caught within 3.75 s; the save runs one frame later, once");
        int caughtAt = -1, savedAt = -1;
        for (int i = 0; i < 400; i++) {
            BlackHoleLogic(hole, &data, DT);
            if (caughtAt < 0 && data.blackHoleDistance < 0)
                caughtAt = i;
            if (savedAt < 0 && data.level == 0)
                savedAt = i;
        }
        EXPECT_LE(caughtAt, 3.75f * 60 + 1);
        EXPECT_GE(caughtAt, 3.75f * 60 - 2);
        EXPECT_EQ(caughtAt + 1, savedAt);
        EXPECT_EQ(0, data.gameOverPending);
        EXPECT_EQ("77", home.Read("Score.txt"));
        home.Write("Score.txt", "x");
        for (int i = 0; i < 10; i++)
            BlackHoleLogic(hole, &data, DT);
        EXPECT_EQ("x", home.Read("Score.txt")) << "never twice";

        SCOPED_TRACE("after the save it stops following sideways; paused it stands still");
        data.focusX = 500;
        BlackHoleLogic(hole, &data, DT);
        EXPECT_NE(500, hole->transform->x);
        float distance = data.blackHoleDistance;
        data.focusY += 10;
        BlackHoleLogic(hole, &data, 0.0f);
        EXPECT_GE(data.blackHoleDistance, distance);
        FreeObjectList(&list);
    }));
}

TEST(Score, GameOverScreenIsBuiltOnceAndAnswersRetryAndBack)
{
    EXPECT_EQ(0, RunInChild([] {
        StartTestEngine(640, 480);
        GameData data = Record();
        GameObject* list = NULL;
        GameObject* hud = Node(&list, &GameOverHudType);
        data.level = 0;
        data.gameOver = 1;
        data.score = 0;
        GameOverHudLogic(hud, &data, DT);
        EXPECT_EQ(nullptr, hud->next) << "no screen for a score of 0";

        data.score = 4071;
        data.scoreMultiplier = 8;
        data.combo = 3;
        memcpy(data.unlockedShips, "11", 3);
        GameOverHudLogic(hud, &data, DT);
        GameOverHudLogic(hud, &data, DT); // once per run
        EXPECT_EQ(4, CountKind(list, &BoardDigitType));
        for (ObjectType* kind : {&GameOverTitleType, &ScoreBoardType, &SelectMessageType, &UnlockedShip2Type,
                                 &UnlockedShip3Type, &TryNewType})
            EXPECT_EQ(1, CountKind(list, kind));
        EXPECT_STREQ("22", data.unlockedShips) << "announced";
        EXPECT_EQ(0.0f, data.score);
        EXPECT_EQ(1, data.scoreMultiplier);
        EXPECT_EQ(0, data.gameOver);

        // Retry and back only once the ship is dead.
        data.level = 1;
        VTInputSetKey(VT_KEY_R, 1);
        GameOverHudLogic(hud, &data, DT);
        EXPECT_EQ(0, VTSMIsRestarting());
        data.level = 0;
        GameOverHudLogic(hud, &data, DT);
        EXPECT_EQ(1, VTSMIsRestarting());
        VTInputReleaseKey(VT_KEY_R);
        VTInputUpdate();
        VTInputUpdate();
        VTInputSetKey(VT_KEY_ESCAPE, 1);
        data.level = 1;
        int before = CountKind(list, &LoadingScreenType);
        GameOverHudLogic(hud, &data, DT);
        EXPECT_EQ(before, CountKind(list, &LoadingScreenType));
        data.level = 0;
        GameOverHudLogic(hud, &data, DT);
        EXPECT_EQ(before + 1, CountKind(list, &LoadingScreenType));
        EXPECT_EQ(STATE_MENU, VTSMGetNextState());
        FreeObjectList(&list);
    }));
}
