// The player's records: Scores.txt read and written, a run entering it at
// the game-over save, the panels that show it clear of what they must not
// cover at the three resolutions, and the full-screen keys.
#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "frontend/options.h"
#include "frontend/recordspanel.h"
#include "frontend/select.h"
#include "harness.h"
#include "play/recordshud.h"
#include "play/score.h"
#include "records.h"
#include "savedfiles.h"
#include "states.h"
#include "vtstatemanager.h"

namespace {

const std::string head = "KELVARO SCORES 1\n";

// "ship:score/level ..." for every run kept, best first.
std::string Describe(const RecordTable& t)
{
    std::string out;
    for (int ship = 0; ship < RECORD_SHIPS; ship++)
        for (int i = 0; i < t.count[ship]; i++)
            out += std::to_string(ship + 1) + ":" + std::to_string(t.runs[ship][i].score) + "/" +
                   std::to_string(t.runs[ship][i].level) + " ";
    return out;
}

std::string Lines(int count, const char* pattern)
{
    std::string out;
    char line[64];
    for (int i = 0; i < count; i++) {
        snprintf(line, sizeof line, pattern, i);
        out += line;
    }
    return out;
}

struct Rect
{
    float x0, y0, x1, y1;
};

Rect Of(const GameObject* o)
{
    const Transform* t = o->transform;
    // Ships stand on end: a quarter turn swaps their sides on screen.
    bool turned = t->rotation > 1.0f;
    float w = turned ? t->scaleY : t->scaleX, h = turned ? t->scaleX : t->scaleY;
    return {t->x - w / 2, t->y - h / 2, t->x + w / 2, t->y + h / 2};
}

bool Overlap(const Rect& a, const Rect& b)
{
    return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;
}

bool Within(const Rect& inner, const Rect& outer)
{
    return inner.x0 >= outer.x0 && inner.y0 >= outer.y0 && inner.x1 <= outer.x1 && inner.y1 <= outer.y1;
}

GameObject* Find(GameObject* list, const ObjectType* kind)
{
    while (list && list->type != kind)
        list = list->next;
    return list;
}

const int sizes[3][2] = {{1024, 768}, {1280, 720}, {1920, 1080}};

} // namespace

TEST(Records, ScoresFileReadWrittenAndRanked)
{
    TempDataHome home;
    struct Case { const char* name; std::string file; const char* table; };
    const Case cases[] = {
        {"missing", "<none>", ""},
        {"empty", "", ""},
        {"no header", "1 500 2 2026-01-02\n", ""},
        {"damaged header", "KELVARO SCORE 1\n1 500 2 2026-01-02\n", ""},
        {"larger than 64 KiB", head + Lines(2000, "1 %05d 1 2026-01-02 padding-padding\n"), ""},
        {"damaged lines skipped, good ones kept",
         head + "1 12x 1 2026-01-02\n1 50 0 2026-01-02\n1 50 1 2026-1-2\n9 50 1 2026-01-02\n1 40 3 2026-01-02\n", "1:40/3 "},
        {"a later version's fields, tabs and CRLF", "KELVARO SCORES 2\r\n2\t300 4 2026-01-02 NAME 9\r\n# a note\n", "2:300/4 "},
        {"ten best kept, ties in file order",
         head + Lines(11, "3 %d 1 2026-01-02\n") + "3 7 2 2026-01-02\n3 5 2 2026-01-02\n",
         "3:10/1 3:9/1 3:8/1 3:7/1 3:7/2 3:6/1 3:5/1 3:5/2 3:4/1 3:3/1 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        remove(home.File("Scores.txt").c_str());
        if (c.file != "<none>")
            home.Write("Scores.txt", c.file);
        RecordTable table;
        memset(&table, 0x5A, sizeof table);
        RecordsLoad(&table);
        EXPECT_EQ(c.table, Describe(table));
    }

    // A full list takes a better run and drops its last; an equal one stays out.
    RecordTable table;
    RecordsClear(&table);
    for (int i = 0; i < RECORD_RUNS; i++)
        EXPECT_EQ(i, RecordsInsert(&table, 1, 100 - i, 1, "2026-01-02"));
    EXPECT_EQ(-1, RecordsInsert(&table, 1, 91, 5, "2026-01-02"));
    EXPECT_EQ(2, RecordsInsert(&table, 1, 99, 5, "2026-01-03"));
    EXPECT_EQ(-1, RecordsInsert(&table, 4, 500, 1, "2026-01-02"));
    EXPECT_EQ(100, RecordsBest(&table, 1));
    EXPECT_EQ(0, RecordsBest(&table, 2));
    ASSERT_EQ(1, RecordsSave(&table));
    EXPECT_EQ(head + "1 100 1 2026-01-02\n1 99 1 2026-01-02\n1 99 5 2026-01-03\n1 98 1 2026-01-02\n"
                     "1 97 1 2026-01-02\n1 96 1 2026-01-02\n1 95 1 2026-01-02\n1 94 1 2026-01-02\n"
                     "1 93 1 2026-01-02\n1 92 1 2026-01-02\n",
              home.Read("Scores.txt"));
}

TEST(Records, ARunEntersAtTheGameOverSaveAndTheResetChordKeepsIt)
{
    TempDataHome home;
    home.Write("Scores.txt", head + "2 500 1 2026-01-02\n");
    GameData data;
    GameDataSetStartValues(&data);
    struct Run { int ship, levelReached; float score; int multiplier, combo; const char* table; int best; };
    const Run runs[] = {
        {2, 3, 450.9f, 2, 30, "2:510/3 2:500/1 ", 1},       // the banked score counts
        {2, 1, 505.0f, 1, 0, "2:510/3 2:505/1 2:500/1 ", 0}, // a good run, not the best
        {4, 2, 80.0f, 1, 0, "1:80/2 2:510/3 2:505/1 2:500/1 ", 1}, // flown as ship 1
        {1, 0, 999.0f, 1, 0, "1:80/2 2:510/3 2:505/1 2:500/1 ", 0}, // no level flown: the tutorial
        {3, 2, 0.5f, 1, 0, "1:80/2 2:510/3 2:505/1 2:500/1 ", 0},   // not a whole point
    };
    for (const Run& r : runs) {
        SCOPED_TRACE(r.table);
        data.shipType = r.ship;
        data.levelReached = r.levelReached;
        data.level = 0;
        data.score = r.score;
        data.scoreMultiplier = r.multiplier;
        data.combo = r.combo;
        GameDataSaveOnGameOver(&data);
        RecordTable table;
        RecordsLoad(&table);
        EXPECT_EQ(r.table, Describe(table));
        EXPECT_EQ(r.best, RecordsLastRunIsBest());
        EXPECT_EQ(0, data.levelReached) << "a run enters once";
    }
    std::string kept = home.Read("Scores.txt");
    ResetSavedFiles();
    EXPECT_EQ(kept, home.Read("Scores.txt")) << "the 7+8 reset leaves the records alone";
    EXPECT_EQ("111", home.Read("Option.txt"));
}

TEST(Records, PanelsStayClearAtEveryResolution)
{
    for (const auto& size : sizes) {
        static float W, H;
        W = (float)size[0];
        H = (float)size[1];
        SCOPED_TRACE(size[0]);
        TempDataHome home;
        home.Write("Scores.txt", head + "3 123456789 12 2026-01-02\n");
        EXPECT_EQ(0, RunInChild([] {
            StartTestEngine((int)W, (int)H);
            GameData data;
            GameDataSetStartValues(&data);
            data.soundOn = 0;
            data.shipType = 3; // the largest ship
            SelectLoad(&data);
            SelectInit(&data);
            GameObject* panel = Find(selectList, &RecordsPanelType);
            ASSERT_NE(nullptr, panel);
            RecordsPanelLogic(panel, &data, 0);
            Rect area = Of(panel);
            EXPECT_TRUE(Within(area, {0, 0, W, H}));
            for (ObjectType* kind : {&SelectShip1Type, &Ship1InfoType, &LeftArrowType, &RightArrowType,
                                     &SelectTutorialType, &SelectTutorial2Type}) {
                GameObject* o = Find(selectList, kind);
                ASSERT_NE(nullptr, o);
                EXPECT_FALSE(Overlap(area, Of(o))) << "the records panel covers kind " << kind - &SelectShip1Type;
            }
            int numbers = 0;
            for (GameObject* o = panel->next; o && (o->type == &RecordDigitType || o->type == &RecordDashType);
                 o = o->next, numbers++) {
                EXPECT_TRUE(Within(Of(o), area));
            }
            EXPECT_EQ(9 + 11 + 9 + 2 + 10 + 9, numbers) << "best, ranks, one run, dashes of nine empty places";
            SelectShutdown(&data);
            SelectUnload(&data);

            // Game over with both ships unlocked (two pictures) and with one
            // (one large picture), the new record above the title.
            for (const char* unlocks : {"11", "10"}) {
                GameObject* list = NULL;
                AddObject(&list);
                list->type = &GameOverHudType;
                data.screenWidth = W;
                data.screenHeight = H;
                data.level = 0;
                data.gameOver = 1;
                data.score = 1000;
                memcpy(data.unlockedShips, unlocks, 3);
                RecordsAddRun(1, unlocks[1] == '1' ? 1e12 : 2e12, 1); // a best for ship 1
                GameOverHudLogic(list, &data, 0);
                GameObject* notice = Find(list, &NewRecordType);
                ASSERT_NE(nullptr, notice);
                Rect record = Of(notice);
                EXPECT_TRUE(Within(record, {0, 0, W, H}));
                Find(list, &GameOverTitleType)->transform->x = W / 2 - 2 * W / 9; // where they come to rest
                Find(list, &ScoreBoardType)->transform->x = W / 8;
                for (GameObject* o = list->next; o; o = o->next) {
                    if (o != notice) {
                        EXPECT_FALSE(Overlap(record, Of(o))) << unlocks << ": covers a piece at " << o->transform->x;
                    }
                }
                FreeObjectList(&list);
            }
        }));
    }
}

TEST(Records, LevelStandsUnderTheScoreInPlayOnly)
{
    GameData data;
    GameDataSetStartValues(&data);
    data.screenWidth = 1280;
    data.screenHeight = 720;
    GameObject* list = NULL;
    AddObject(&list);
    list->type = &LevelBoxType;
    AddTransform(list);
    struct Case { int level, gameOver, visible, digits, reached; };
    const Case cases[] = {{12, 0, 1, 2, 12}, {-1, 0, 0, 0, 12}, {0, 1, 0, 0, 12}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        data.level = c.level;
        data.gameOver = c.gameOver;
        LevelBoxLogic(list, &data, 0);
        EXPECT_EQ(c.visible, list->visible);
        EXPECT_EQ(c.reached, data.levelReached) << "kept through the death";
        int digits = 0;
        float y, height;
        LevelLinePlace(1280, 720, &y, &height);
        for (GameObject* o = list->next; o; o = o->next, digits++) {
            EXPECT_EQ(&ScoreDigitType, o->type);
            EXPECT_FLOAT_EQ(y, o->transform->y);
        }
        EXPECT_EQ(c.digits, digits);
        if (c.visible) {
            EXPECT_FLOAT_EQ(0.1f, list->next->appearance->texOffsetU) << "tens first";
            EXPECT_FLOAT_EQ(59 * 1280 / 60.0f, list->next->next->transform->x) << "units under the score's";
            EXPECT_LT(Of(list).x1, Of(list->next).x0) << "the label stands left of the digits";
            EXPECT_LT(y + height / 2, 19 * 720 / 20.0f - 1280 / 80.0f) << "under the score's digits";
        }
        while (list->next)
            DeleteSuccessor(list, list->next);
    }
    FreeObjectList(&list);
}

TEST(Records, FullScreenKeysToggleLikeTheOptionRowAndPersist)
{
    // Full screen switches a real display: only where Xvfb's single mode refuses it.
    if (RunInChild([] { VTPlatformInit(); _exit(VTPlatformCountDisplayModes() == 1 ? 0 : 10); }) != 0)
        GTEST_SKIP() << "would change a real display's mode";
    static TempDataHome* files;
    TempDataHome home;
    files = &home;
    home.Write("Option.txt", "001");
    EXPECT_EQ(0, RunInChild([] {
        GameScript script;
        script.frames = 40;
        script.onFrame = [](int frame, GameData* d) {
            // F11 on the splash screen, its auto-repeat ignored.
            if (frame >= 3 && frame <= 6)
                PostKey(0x7A, frame < 6);
            if (frame == 7) {
                EXPECT_EQ(1, d->fullScreen);
                EXPECT_EQ("101", files->Read("Option.txt"));
                EXPECT_EQ(1u, ShownBoxes().size()) << "Xvfb refuses the mode, as on the options row";
                VTSMSetNextState(STATE_OPTION);
            }
            GameObject* row = optionList ? Find(optionList, &FullscreenOnType) : NULL;
            if (frame == 12) {
                EXPECT_NE(nullptr, row) << "the options screen shows it";
            }
            // Alt+Enter in the options screen: the Enter reaches no menu.
            if (frame == 14 || frame == 15)
                PostMessage(frame == 14 ? VT_WM_SYSKEYDOWN : VT_WM_KEYUP, 13, 0);
            if (frame == 16) {
                EXPECT_EQ(0, d->fullScreen);
                EXPECT_EQ("001", files->Read("Option.txt"));
                EXPECT_NE(nullptr, Find(optionList, &FullscreenOffType)) << "the row follows at once";
            }
        };
        RunGame(script);
    }));
}
