// The player's records: Scores.txt read and written, a run entering it at
// the game-over save.
#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>

#include <string>

#include "harness.h"
#include "records.h"
#include "savedfiles.h"

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
