// Saved files: exact bytes, what bad files do to the record, and failed writes
// that keep the old file. Each test has its own XDG_DATA_HOME.
#include <gtest/gtest.h>

#include <dirent.h>
#include <math.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "gamedata.h"
#include "harness.h"
#include "savedfiles.h"

static const char* const MISSING = "<missing>";

class SavedFiles : public ::testing::Test
{
protected:
    TempDataHome home;
    // Writes a saved file byte for byte; MISSING removes it.
    void Put(const char* name, const std::string& bytes)
    {
        home.Write(name, bytes);
        if (bytes == MISSING)
            remove(home.File(name).c_str());
    }
    std::string Get(const char* name) { return home.Read(name); }
    // The four files' contents: option, tutorial, unlocked ships, score.
    std::vector<std::string> AllFour()
    {
        return {Get("Option.txt"), Get("Tutorial.txt"), Get("UnlockShip.txt"), Get("Score.txt")};
    }
    // Everything in the Data folder: catches a temporary file left behind.
    std::set<std::string> Listing()
    {
        std::set<std::string> names;
        DIR* dir = opendir((home.path + "/kelvaro/Data").c_str());
        for (struct dirent* entry; dir && (entry = readdir(dir)) != NULL;)
            if (entry->d_name[0] != '.')
                names.insert(entry->d_name);
        if (dir)
            closedir(dir);
        return names;
    }
};

static const std::set<std::string> allFour = {"Option.txt", "Score.txt", "Tutorial.txt", "UnlockShip.txt"};

static GameData StartValues()
{
    GameData data;
    GameDataSetStartValues(&data);
    return data;
}

TEST_F(SavedFiles, GameOverSave)
{
    struct Case { const char* name; float score, lastScore; int multiplier, combo; float expected; const char* text; };
    const Case cases[] = {
        {"combo banked",   100.0f, 100.0f, 4, 25, 200.0f, "100"},
        {"no combo",       10.5f, 9.9f, 1, 0, 10.5f, "9"},
        {"beyond 32 bits", 0.0f, 0.0f, 65536, 65536, 4294967296.0f, "0"},
        {"negative combo", 50.0f, 50.0f, 2, -5, 40.0f, "50"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GameData data = StartValues();
        data.level = 4;
        data.score = c.score;
        data.lastScore = c.lastScore;
        data.scoreMultiplier = c.multiplier;
        data.combo = c.combo;
        memcpy(data.unlockedShips, "21Z", 3);
        GameDataSaveOnGameOver(&data);
        EXPECT_EQ(0, data.level);
        EXPECT_EQ(1, data.gameOver);
        EXPECT_EQ(c.expected, data.score);
        // lastScore as it was: the combo is banked into score after the write.
        EXPECT_EQ(c.text, Get("Score.txt"));
        EXPECT_EQ("21", Get("UnlockShip.txt"));
        EXPECT_EQ(0, memcmp("21", data.unlockedShips, 3));
    }
}

// Every writer once; the record still reaches game over when nothing is saved.
static void WriteEverything(void)
{
    GameData data = StartValues();
    data.lastScore = 250;
    data.combo = 3;
    data.scoreMultiplier = 2;
    SaveOptionFile(&data);
    SaveTutorialFile(&data);
    SaveUnlockShipFile(&data);
    SaveScoreFile(&data);
    ResetSavedFiles();
    GameDataSaveOnGameOver(&data);
    EXPECT_EQ(0, data.level);
    EXPECT_EQ(1, data.gameOver);
    EXPECT_EQ(6.0f, data.score);
}

TEST_F(SavedFiles, UnwritableLocationIsSkipped)
{
    // We run as root, so permissions stop nothing; a file where a folder must be does.
    struct Case { const char* name; int dataIsFile; };
    const Case cases[] = {{"Data is a file", 1}, {"data home is a file", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string blocker = c.dataIsFile ? home.path + "/kelvaro/Data" : home.path + "/home-file";
        mkdir((home.path + "/kelvaro").c_str(), 0755);
        std::ofstream(blocker) << "keep";
        if (!c.dataIsFile)
            setenv("XDG_DATA_HOME", blocker.c_str(), 1);

        WriteEverything();
        GameData data = StartValues();
        data.resolution = 2;
        GameData before = data;
        LoadOptionFile(&data);
        LoadTutorialFile(&data);
        LoadUnlockShipFile(&data);
        EXPECT_EQ(0, memcmp(&before, &data, sizeof data));

        std::string text;
        std::getline(std::ifstream(blocker), text);
        EXPECT_EQ("keep", text);
        remove(blocker.c_str());
        setenv("XDG_DATA_HOME", home.path.c_str(), 1);
    }
}

