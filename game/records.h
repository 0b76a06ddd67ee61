// records.h -- each ship's ten best runs (score, level reached, date), kept
// in Data\Scores.txt. The file is plain text a later version may extend:
//
//   KELVARO SCORES 1
//   <ship> <score> <level> <date YYYY-MM-DD> [more fields, ignored]
//
// one run a line, best first. The reader skips lines it cannot use and gives
// an empty table for a missing, empty, oversized or headless file.
#ifndef RECORDS_H
#define RECORDS_H

#include <stddef.h>

enum
{
    RECORD_SHIPS = 3,
    RECORD_RUNS = 10,            // kept per ship
    RECORD_FILE_LIMIT = 65536,   // bytes; a larger Scores.txt is not ours
    RECORD_TEXT_SIZE = 2048      // room for a whole table written out
};

// Scores and levels above these are not read (nor written: they are clamped).
#define RECORD_SCORE_MAX 999999999999999999LL
#define RECORD_LEVEL_MAX 999999

typedef struct RecordRun
{
    long long score; // 0 .. RECORD_SCORE_MAX
    int level;       // the level being flown when the run ended, from 1
    char date[11];   // "YYYY-MM-DD", local time of the game over
} RecordRun;

typedef struct RecordTable
{
    int count[RECORD_SHIPS];                     // runs kept for ships 1, 2, 3
    RecordRun runs[RECORD_SHIPS][RECORD_RUNS];   // best first; equal scores in arrival order
} RecordTable;

void RecordsClear(RecordTable* table);
// Puts a run in ship's list (1..3) in score order, the oldest of equal scores
// first. Returns its place from 0, or -1 when the ship is unknown, the values
// are out of range, or ten better (or equal) runs are already kept.
int RecordsInsert(RecordTable* table, int ship, long long score, int level, const char* date);
// The ship's best score; 0 with no runs.
long long RecordsBest(const RecordTable* table, int ship);

// The table in size bytes of file text (need not end in NUL).
void RecordsDecode(const char* text, size_t size, RecordTable* table);
// The file text of a table, NUL-terminated; its length (0 when out is too small).
size_t RecordsEncode(const RecordTable* table, char* out, size_t size);

// Reads Data\Scores.txt; an empty table when it is missing or unusable.
void RecordsLoad(RecordTable* table);
// Replaces Data\Scores.txt atomically; 1 on success.
int RecordsSave(const RecordTable* table);

// The end of a run (from the game-over save, after the combo is banked): the
// run of shipType enters Scores.txt with its score (truncated), the level it
// was flying (levelReached) and today's date. Runs no play level was flown in
// (the tutorial: level 0) and runs without a whole point are not recorded.
void RecordsAddRun(int shipType, double score, int level);
// 1 when the last run handed to RecordsAddRun beat its ship's earlier best.
int RecordsLastRunIsBest(void);

#endif
