// savedfiles.cpp -- reads and writes the saved files through the platform's
// file layer. Every write replaces the whole file at once, so a crash mid-save
// leaves the previous contents rather than a truncated file.
#include "savedfiles.h"

#include <stdio.h>
#include <string.h>

#include "platform/vtfiles.h"
#include "records.h"

static const char* const scorePath = "Data\\Score.txt";
static const char* const optionPath = "Data\\Option.txt";
static const char* const tutorialPath = "Data\\Tutorial.txt";
static const char* const unlockShipPath = "Data\\UnlockShip.txt";

// One line of at most size - 1 characters into line; line is left as it was
// when the file is missing or empty.
static void ReadLine(const char* path, char* line, int size)
{
    FILE* file = VTFileOpenRead(path, "rt");
    if (file) {
        if (!feof(file))
            fgets(line, size, file);
        fclose(file);
    }
}

// Characters before the line's end. A file edited by hand may end its line
// with "\r\n"; neither character is a value.
static int LineLength(const char* line)
{
    int length = 0;
    while (line[length] != '\0' && line[length] != '\n' && line[length] != '\r')
        ++length;
    return length;
}

// Failure is deliberately ignored: the game carries on with the record.
static void WriteText(const char* path, const char* text)
{
    VTFileWriteAtomic(path, text, strlen(text));
}

void LoadTutorialFile(GameData* data)
{
    char line[2] = "";
    ReadLine(tutorialPath, line, (int)sizeof(line));
    if (LineLength(line) >= 1)
        data->tutorialPending = line[0] != '0';
}

void LoadOptionFile(GameData* data)
{
    char line[4] = "";
    ReadLine(optionPath, line, (int)sizeof(line));
    int length = LineLength(line);
    if (length >= 1)
        data->fullScreen = line[0] != '0';
    if (length >= 2)
        data->soundOn = line[1] != '0';
    if (length >= 3) {
        if (line[2] == '0')
            data->resolution = 0;
        else if (line[2] == '2')
            data->resolution = 2;
        else
            data->resolution = 1;
    }
}

void LoadUnlockShipFile(GameData* data)
{
    // Copied exactly as read, a line break included: unlike the other files
    // there is no character test to apply here.
    ReadLine(unlockShipPath, data->unlockedShips, (int)sizeof(data->unlockedShips));
}

void SaveOptionFile(GameData* data)
{
    char text[4];
    text[0] = data->fullScreen ? '1' : '0';
    text[1] = data->soundOn ? '1' : '0';
    text[2] = data->resolution == 0 ? '0' : data->resolution == 2 ? '2' : '1';
    text[3] = '\0';
    WriteText(optionPath, text);
}

void SaveTutorialFile(GameData* data)
{
    WriteText(tutorialPath, data->tutorialPending ? "1" : "0");
}

void SaveUnlockShipFile(GameData* data)
{
    data->unlockedShips[2] = '\0';
    WriteText(unlockShipPath, data->unlockedShips);
}

void SaveScoreFile(GameData* data)
{
    // Beyond nine digits either way (or NaN) the int conversion would be
    // undefined, so such a score leaves the file empty instead.
    char text[12] = "";
    float score = data->lastScore;
    if (score > -1000000000.0f && score < 1000000000.0f)
        snprintf(text, sizeof(text), "%d", (int)score);
    WriteText(scorePath, text);
}

void GameDataSaveOnGameOver(GameData* data)
{
    // The score file holds lastScore, taken before the combo is banked.
    SaveScoreFile(data);
    SaveUnlockShipFile(data);
    data->level = 0;
    data->gameOver = 1;
    // 64-bit product: a long run's multiplier times a big combo must not wrap.
    long long bonus = (long long)data->scoreMultiplier * data->combo;
    data->score += (float)bonus;
    // The records take the score the game-over board shows, once per run.
    RecordsAddRun(data->shipType, data->score, data->levelReached);
    data->levelReached = 0;
}

void ResetSavedFiles(void)
{
    WriteText(optionPath, "111");
    WriteText(unlockShipPath, "00");
    WriteText(tutorialPath, "1");
}
