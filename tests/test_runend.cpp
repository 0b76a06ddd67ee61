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

TEST(BlackHole, WarningBannerPhases)
{
    GameData data = Record();
    GameObject* list = NULL;
    GameObject* banner = Node(&list, &BlackHoleWarningType);
    banner->timer->stage = 2.0f; // as a level starts

    SCOPED_TRACE("at level start it fades out, then hides while the black hole is far");
    data.blackHoleDistance = 300;
    int frames = 0;
    while (banner->visible && frames < 100) {
        BlackHoleWarningLogic(banner, &data, DT);
        frames++;
    }
    EXPECT_NEAR(17, frames, 1) << "15 a frame from 255";
    EXPECT_EQ(3.0f, banner->timer->stage);

    SCOPED_TRACE("an approach within 100 blinks twice, then fades out again");
    data.blackHoleDistance = 50;
    std::vector<int> stages;
    for (int i = 0; i < 120; i++) {
        BlackHoleWarningLogic(banner, &data, DT);
        if (stages.empty() || stages.back() != (int)banner->timer->stage)
            stages.push_back((int)banner->timer->stage);
        if (i == 10) {
            EXPECT_EQ(1, banner->visible);
            EXPECT_EQ(abs(banner->timer->number), (int)banner->appearance->alpha);
            int number = banner->timer->number;
            BlackHoleWarningLogic(banner, &data, 0.0f);
            EXPECT_EQ(number, banner->timer->number) << "paused: the blink waits";
        }
    }
    EXPECT_EQ((std::vector<int>{0, 1, 2}), stages);
    EXPECT_EQ(1, banner->visible) << "transparent but not hidden while the black hole is near";
    EXPECT_EQ(0.0f, banner->appearance->alpha);
    data.blackHoleDistance = 150;
    BlackHoleWarningLogic(banner, &data, DT);
    EXPECT_EQ(0, banner->visible);
    FreeObjectList(&list);
}

TEST(Score, RunningScoreCombosAndUnlocks)
{
    GameData data = Record();
    GameObject* list = NULL;
    GameObject* box = Node(&list, &ScoreBoxType);
    GameObject* back = Node(&list, &ComboBackType);
    GameObject* watcher = Node(&list, &UnlockWatcherType);
    ScoreResetDisplay();

    SCOPED_TRACE("22.5 points a second times the multiplier; digits refreshed ten times a second");
    // One frame; the digits it shows sit behind the box, lowest last (play removes them next frame).
    auto shownAfterFrame = [&] {
        ScoreBoxLogic(box, &data, DT);
        long long value = 0;
        while (box->next && box->next->type == &ScoreDigitType) {
            value = value * 10 + (int)(box->next->appearance->texOffsetU * 10 + 0.5f);
            DeleteSuccessor(box, box->next);
        }
        return value;
    };
    data.scoreMultiplier = 2;
    data.score = 100;
    int changes = 0;
    long long shown = -1;
    for (int i = 0; i < 60; i++) {
        long long value = shownAfterFrame();
        if (data.scoreDigitCount && value != shown) {
            changes++;
            shown = value;
        }
    }
    EXPECT_NEAR(100 + 45, data.score, 0.01);
    EXPECT_FLOAT_EQ(data.score, data.lastScore);
    EXPECT_LE(changes, 10);
    EXPECT_GE(changes, 8);
    EXPECT_EQ(3, data.scoreDigitCount);
    data.score = 4294967296.0f; // 2^32: past what an int holds
    for (int i = 0; i < 7; i++)
        shown = shownAfterFrame();
    EXPECT_EQ(4294967296LL, shown);

    SCOPED_TRACE("the combo display hides at 0 and builds digits, sign and shadows otherwise");
    data.combo = 0;
    ComboBackLogic(back, &data, DT);
    EXPECT_EQ(0, back->visible);
    EXPECT_EQ(watcher, back->next) << "nothing built";
    data.combo = 12;
    ComboBackLogic(back, &data, DT);
    EXPECT_EQ(1, back->visible);
    EXPECT_EQ(4, CountKind(list, &ComboDigitType)) << "two digits and their shadows";
    EXPECT_EQ(2, CountKind(list, &ComboXType));
    EXPECT_FLOAT_EQ(20.0f - 80.0f * DT, back->timer->time) << "a pulse on the change";

    SCOPED_TRACE("ship 2 unlocks above 5000 points, ship 3 above a 1000 combo");
    data.score = 5000;
    data.combo = 1000;
    ComboBackLogic(back, &data, DT);
    UnlockWatcherLogic(watcher, &data, DT);
    EXPECT_STREQ("00", data.unlockedShips);
    data.score = 5001;
    data.combo = 1001;
    ComboBackLogic(back, &data, DT);
    data.combo = 0; // lost again: the combo was reached
    ComboBackLogic(back, &data, DT);
    UnlockWatcherLogic(watcher, &data, DT);
    EXPECT_STREQ("11", data.unlockedShips);
    data.unlockedShips[0] = '0';
    data.score = 3e9f;
    UnlockWatcherLogic(watcher, &data, DT);
    EXPECT_EQ('1', data.unlockedShips[0]) << "and far above";
    data.combo = 10000; // the table leaves its digits white; the box stays a shade darker, frame after frame
    for (int i = 0; i < 5; i++)
        ComboBackLogic(back, &data, DT);
    EXPECT_TRUE(back->appearance->red == 215 && back->appearance->green == 215 && back->appearance->blue == 215);
    FreeObjectList(&list);
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

        data.score = 4294967296.0f; // 2^32
        data.scoreMultiplier = 8;
        data.combo = 3;
        memcpy(data.unlockedShips, "11", 3);
        GameOverHudLogic(hud, &data, DT);
        GameOverHudLogic(hud, &data, DT); // once per run
        std::string digits;
        for (GameObject* o = list; o; o = o->next)
            if (o->type == &BoardDigitType)
                digits += (char)('0' + (int)(o->appearance->texOffsetU * 10 + 0.5f));
        EXPECT_EQ("4294967296", digits);
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

TEST(Pause, ItemsCursorAndChoices)
{
    EXPECT_EQ(0, RunInChild([] {
        StartTestEngine(640, 480);
        GameData data = Record();
        GameObject* list = NULL;
        GameObject* resume = Node(&list, &PauseResumeType);
        GameObject* dim = Node(&list, &PauseDimType);
        GameObject* cursor = Node(&list, &PauseCursorType);
        PauseItemLogic(resume, &data, 0);
        EXPECT_EQ(0, resume->transform->scaleX) << "hidden while playing";
        data.paused = 1;
        PauseItemLogic(resume, &data, 0);
        PauseItemLogic(dim, &data, 0);
        EXPECT_EQ(1280 / 2, resume->transform->scaleX);
        EXPECT_EQ(1280, dim->transform->scaleX);
        data.gameOver = 1;
        PauseItemLogic(resume, &data, 0);
        EXPECT_EQ(0, resume->transform->scaleX) << "hidden over the game-over screen";
        data.gameOver = 0;
        for (int row = 1; row <= 3; row++) {
            data.menuIndex = row;
            PauseCursorLogic(cursor, &data, 0);
            EXPECT_FLOAT_EQ((13 - 2 * row) * 720 / 16.0f, cursor->transform->y) << row;
        }
        // Confirm on each row.
        VTInputSetKey(VT_KEY_SPACE, 1);
        data.menuIndex = 1;
        PauseCursorLogic(cursor, &data, 0);
        EXPECT_EQ(0, data.paused) << "resumed";
        data.paused = 1;
        data.menuIndex = 2;
        PauseCursorLogic(cursor, &data, 0);
        EXPECT_EQ(STATE_MENU, VTSMGetNextState());
        data.menuIndex = 3;
        PauseCursorLogic(cursor, &data, 0);
        EXPECT_EQ(1, VTSMIsQuitting());
        FreeObjectList(&list);
    }));
}

TEST(Run, BlackHoleGameOverRetryWarpAndBackToTheMenu)
{
    static int* phase;
    phase = SharedBlock<int>();
    static TempDataHome* home;
    EXPECT_EQ(0, RunInChild([] {
        TempDataHome files;
        home = &files;
        files.Write("Option.txt", "001");
        files.Write("UnlockShip.txt", "00");
        GameScript script;
        script.frames = 1100;
        script.onFrame = [](int frame, GameData* data) {
            static int mark = 0;
            static float scoreBeforeWarp;
            switch (*phase) {
            case 0: // into play, then coast after the launch until caught
                if (frame == 0) {
                    data->shipType = 1;
                    data->level = 1;
                    VTSMSetNextState(STATE_PLAY);
                }
                if (frame == 140)
                    data->score = 6000.0f; // enough for ship 2
                if (frame > 140 && data->level == 0) {
                    EXPECT_LT(frame, 140 + 3.75 * 60 + 120) << "caught within seconds of stopping";
                    EXPECT_EQ("10", home->Read("UnlockShip.txt")) << "ship 2 unlocked, not yet announced";
                    EXPECT_GE(atoi(home->Read("Score.txt").c_str()), 6000);
                    *phase = 1;
                    mark = frame;
                }
                break;
            case 1: // the screen is built the next frame; then retry
                if (frame == mark + 5) {
                    EXPECT_TRUE(playList && data->gameOver == 0 && data->score == 0.0f) << "game-over screen built";
                    EXPECT_EQ('2', data->unlockedShips[0]);
                    for (GameObject* o = playList; o; o = o->next)
                        EXPECT_FALSE(o->type == &BlackHoleWarningType && o->visible) << "no warning over it";
                }
                // Retry, with the practice chord's points for no run.
                for (unsigned long key : {'R', '5', '6'})
                    if (frame == mark + 5 || frame == mark + 6)
                        PostKey(key, frame == mark + 5);
                if (frame > mark + 6 && data->level == 1) {
                    EXPECT_EQ(0.0f, data->score) << "the retry starts from nothing";
                    EXPECT_EQ("20", home->Read("UnlockShip.txt")) << "written again by the play Shutdown";
                    *phase = 2;
                    mark = frame;
                }
                break;
            case 2: // after the launch, the warp chord
                if (frame == mark + 130 || frame == mark + 131) {
                    PostKey('3', frame == mark + 130);
                    PostKey('4', frame == mark + 130);
                }
                if (data->level == 1)
                    scoreBeforeWarp = data->score;
                if (data->level == 2) {
                    EXPECT_EQ(2, data->scoreMultiplier);
                    EXPECT_GT(data->score, 0.0f);
                    EXPECT_NEAR(scoreBeforeWarp, data->score, 1.0f) << "the score carries into the next level";
                    *phase = 3;
                    mark = frame;
                }
                break;
            case 3: // pause, down to the main-menu row, confirm
                if (frame == mark + 10 || frame == mark + 11)
                    PostKey(27, frame == mark + 10);
                if (frame == mark + 11 || frame == mark + 30)
                    PostKey(40, frame == mark + 11);
                if (frame == mark + 32 && data->menuIndex == 2)
                    PostKey(32, 1);
                if (frame == mark + 33)
                    PostKey(32, 0);
                if (VTSMGetCurrentState() == STATE_MENU) {
                    VTSMSetNextState(STATE_PLAY); // and straight into a new run
                    *phase = 4;
                }
                break;
            case 4:
                if (VTSMGetCurrentState() == STATE_PLAY) {
                    EXPECT_TRUE(data->level == 1 && data->score == 0.0f && data->combo == 0 &&
                                data->scoreMultiplier == 1) << "a new run starts from nothing";
                    *phase = 5;
                }
                break;
            }
        };
        RunGame(script);
    }));
    EXPECT_EQ(5, *phase) << "caught, retried, warped, back to the main menu through the pause menu, a new run";
}
