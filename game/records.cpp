// records.cpp -- the records table, its file and the run that enters it at
// game over. Owns only the verdict on the last run (new best or not), which
// the game-over screen reads in the frames after the save.
#include "records.h"

#include <stdio.h>
#include <string.h>
#include <time.h>

#include "platform/vtfiles.h"

static const char* const scoresPath = "Data\\Scores.txt";
// The first line of every Scores.txt; a number follows it, the format's
// version. A later version keeps these four fields first and adds after them.
static const char header[] = "KELVARO SCORES ";
static const int formatVersion = 1;

static int lastRunIsBest;

void RecordsClear(RecordTable* table)
{
    memset(table, 0, sizeof *table);
}

static int DateIsValid(const char* date)
{
    int valid = strlen(date) == 10;
    for (int i = 0; valid && i < 10; i++)
        valid = (i == 4 || i == 7) ? date[i] == '-' : (date[i] >= '0' && date[i] <= '9');
    return valid;
}

int RecordsInsert(RecordTable* table, int ship, long long score, int level, const char* date)
{
    int place = -1;
    if (ship >= 1 && ship <= RECORD_SHIPS && score >= 0 && score <= RECORD_SCORE_MAX && level >= 1 &&
        level <= RECORD_LEVEL_MAX && DateIsValid(date)) {
        int* count = &table->count[ship - 1];
        RecordRun* runs = table->runs[ship - 1];
        place = 0;
        // After every run at least as good: an equal score does not push an older one down.
        while (place < *count && runs[place].score >= score)
            place++;
        if (place < RECORD_RUNS) {
            int moved = *count - place - (*count == RECORD_RUNS ? 1 : 0);
            memmove(&runs[place + 1], &runs[place], (size_t)moved * sizeof *runs);
            runs[place].score = score;
            runs[place].level = level;
            memcpy(runs[place].date, date, sizeof runs[place].date);
            if (*count < RECORD_RUNS)
                (*count)++;
        } else {
            place = -1;
        }
    }
    return place;
}

long long RecordsBest(const RecordTable* table, int ship)
{
    long long best = 0;
    if (ship >= 1 && ship <= RECORD_SHIPS && table->count[ship - 1] > 0)
        best = table->runs[ship - 1][0].score;
    return best;
}

// --- the file text ------------------------------------------------------------------

static int IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

// The next field of a line: its start and length; 0 at the line's end.
static size_t NextField(const char** at, const char* end, const char** field)
{
    const char* p = *at;
    while (p < end && IsSpace(*p))
        p++;
    *field = p;
    while (p < end && !IsSpace(*p))
        p++;
    *at = p;
    return (size_t)(p - *field);
}

// A decimal number of at most maxDigits digits; -1 when the field is anything else.
static long long Number(const char* field, size_t length, size_t maxDigits)
{
    long long value = length > 0 && length <= maxDigits ? 0 : -1;
    for (size_t i = 0; value >= 0 && i < length; i++)
        value = field[i] >= '0' && field[i] <= '9' ? value * 10 + (field[i] - '0') : -1;
    return value;
}

// One run line; a line that is not one (a comment, a blank, damage) adds nothing.
static void DecodeLine(const char* line, const char* end, RecordTable* table)
{
    const char* fields[4];
    size_t lengths[4];
    const char* at = line;
    int complete = 1;
    for (int i = 0; complete && i < 4; i++) {
        lengths[i] = NextField(&at, end, &fields[i]);
        complete = lengths[i] > 0;
    }
    if (complete && lengths[3] == 10) {
        char date[11];
        memcpy(date, fields[3], 10);
        date[10] = '\0';
        long long ship = Number(fields[0], lengths[0], 1);
        long long score = Number(fields[1], lengths[1], 18);
        long long level = Number(fields[2], lengths[2], 6);
        RecordsInsert(table, (int)ship, score, (int)level, date);
    }
}

void RecordsDecode(const char* text, size_t size, RecordTable* table)
{
    RecordsClear(table);
    const char* end = text + size;
    const char* line = text;
    const char* lineEnd = (const char*)memchr(text, '\n', size);
    if (!lineEnd)
        lineEnd = end;
    // The header and a version; without them the file is not a table at all.
    size_t headerLength = sizeof header - 1;
    const char* version = line + headerLength;
    int usable = size <= RECORD_FILE_LIMIT && (size_t)(lineEnd - line) > headerLength &&
                 memcmp(line, header, headerLength) == 0 && *version >= '1' && *version <= '9';
    while (usable && lineEnd < end) {
        line = lineEnd + 1;
        lineEnd = (const char*)memchr(line, '\n', (size_t)(end - line));
        if (!lineEnd)
            lineEnd = end;
        DecodeLine(line, lineEnd, table);
    }
}

size_t RecordsEncode(const RecordTable* table, char* out, size_t size)
{
    int length = snprintf(out, size, "%s%d\n", header, formatVersion);
    for (int ship = 0; ship < RECORD_SHIPS && length >= 0 && (size_t)length < size; ship++) {
        for (int i = 0; i < table->count[ship] && length >= 0 && (size_t)length < size; i++) {
            const RecordRun* run = &table->runs[ship][i];
            int added = snprintf(out + length, size - (size_t)length, "%d %lld %d %s\n", ship + 1, run->score,
                                 run->level, run->date);
            length = added < 0 ? -1 : length + added;
        }
    }
    size_t result = length >= 0 && (size_t)length < size ? (size_t)length : 0;
    if (result == 0 && size > 0)
        out[0] = '\0';
    return result;
}

// --- the saved file -----------------------------------------------------------------

void RecordsLoad(RecordTable* table)
{
    // One byte past the limit tells an oversized file from one that fits.
    static char text[RECORD_FILE_LIMIT + 1];
    size_t size = 0;
    FILE* file = VTFileOpenRead(scoresPath, "rb");
    if (file) {
        size = fread(text, 1, sizeof text, file);
        fclose(file);
    }
    RecordsDecode(text, size, table);
}

int RecordsSave(const RecordTable* table)
{
    char text[RECORD_TEXT_SIZE];
    size_t length = RecordsEncode(table, text, sizeof text);
    return length > 0 && VTFileWriteAtomic(scoresPath, text, length);
}

void RecordsAddRun(int shipType, double score, int level)
{
    lastRunIsBest = 0;
    if (level >= 1 && score >= 1.0) {
        // Scores past the 64-bit range are held at the largest the file takes.
        long long points = score >= (double)RECORD_SCORE_MAX ? RECORD_SCORE_MAX : (long long)score;
        if (level > RECORD_LEVEL_MAX)
            level = RECORD_LEVEL_MAX;
        char date[16] = "";
        time_t now = time(NULL);
        struct tm local;
        if (localtime_r(&now, &local) == NULL || strftime(date, sizeof date, "%Y-%m-%d", &local) != 10)
            strcpy(date, "0000-00-00");
        // Play flies ship 1 for any shipType but 2 and 3.
        int ship = shipType == 2 || shipType == 3 ? shipType : 1;
        RecordTable table;
        RecordsLoad(&table);
        lastRunIsBest = points > RecordsBest(&table, ship);
        if (RecordsInsert(&table, ship, points, level, date) >= 0)
            RecordsSave(&table);
    }
}

int RecordsLastRunIsBest(void)
{
    return lastRunIsBest;
}
