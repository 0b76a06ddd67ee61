// The player's records: a run entering Scores.txt at the game-over save and
// the full-screen keys. Reading the file is the fuzz oracle's (replayed on
// the corpus); the panels are in the reference runs.
#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "frontend/options.h"
#include "harness.h"
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

GameObject* Find(GameObject* list, const ObjectType* kind)
{
    while (list && list->type != kind)
        list = list->next;
    return list;
}

} // namespace

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
