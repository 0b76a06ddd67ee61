// The end of a run: the black hole's chase, catch and the one save. What the
// game-over screen, its answers and the pause menu show and do is in the
// reference runs (test_references.cpp).
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "harness.h"
#include "play/blackhole.h"
#include "play/score.h"

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

TEST(Score, BigCombosKeepTheirBoxAndAnEndedRunDropsTheBanner)
{
    GameData data = Record();
    data.combo = 10000; // past the colour table: a shade of white, never black
    GameObject* list = NULL;
    GameObject* box = Node(&list, &ComboBackType);
    for (int frame = 0; frame < 5; frame++)
        ComboBackLogic(box, &data, DT);
    EXPECT_EQ(215 * 3, box->appearance->red + box->appearance->green + box->appearance->blue);
    data.blackHoleDistance = 10.0f; // near, but nothing is left to flee
    data.level = 0;
    GameObject* banner = Node(&list, &BlackHoleWarningType);
    BlackHoleWarningLogic(banner, &data, DT);
    EXPECT_EQ(0, banner->visible);
    FreeObjectList(&list);
}
