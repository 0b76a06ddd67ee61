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

TEST_F(SavedFiles, LoadOption)
{
    // 7 marks a field the file left alone.
    struct Case { const char* name; std::string contents; int fullScreen, soundOn, resolution; };
    const Case cases[] = {
        {"fresh", "111", 1, 1, 1},         {"windowed, 1080p", "012", 0, 1, 2}, {"unknown characters", "0x9", 0, 1, 1},
        {"all off", "000", 0, 0, 0},       {"longer file", "1020", 1, 0, 2},    {"two characters", "01", 0, 1, 7},
        {"one character", "0", 0, 7, 7},   {"empty", "", 7, 7, 7},              {"missing", MISSING, 7, 7, 7},
        {"line break inside", "0\n2", 0, 7, 7}, {"CRLF after two", "01\r\n", 0, 1, 7},
        {"starts with a break", "\n11", 7, 7, 7}, {"NUL inside", std::string("0\0" "2", 3), 0, 7, 7},
        {"binary garbage", "\xff\x80\x01", 1, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Put("Option.txt", c.contents);
        GameData data = StartValues();
        data.fullScreen = data.soundOn = data.resolution = 7;
        LoadOptionFile(&data);
        EXPECT_EQ(c.fullScreen, data.fullScreen);
        EXPECT_EQ(c.soundOn, data.soundOn);
        EXPECT_EQ(c.resolution, data.resolution);
    }
}

TEST_F(SavedFiles, LoadTutorialAndUnlockShip)
{
    // The record starts with tutorialPending 7 and unlockedShips "12".
    struct Case { const char* name; std::string contents; int pending; const char unlocked[3]; };
    const Case cases[] = {
        {"zero", "0", 0, {'0', '\0', 0}},        {"one", "1", 1, {'1', '\0', 0}},
        {"other", "x", 1, {'x', '\0', 0}},       {"two chars", "02", 0, {'0', '2', 0}},
        {"three chars", "210", 1, {'2', '1', 0}},
        {"empty", "", 7, {'1', '2', 0}},         {"missing", MISSING, 7, {'1', '2', 0}},
        {"line break", "\n", 7, {'\n', '\0', 0}}, {"CR first", "\r0", 7, {'\r', '0', 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Put("Tutorial.txt", c.contents);
        Put("UnlockShip.txt", c.contents);
        GameData data = StartValues();
        data.tutorialPending = 7;
        memcpy(data.unlockedShips, "12", 3);
        LoadTutorialFile(&data);
        LoadUnlockShipFile(&data);
        EXPECT_EQ(c.pending, data.tutorialPending);
        EXPECT_EQ(0, memcmp(c.unlocked, data.unlockedShips, 3));
    }
}

TEST_F(SavedFiles, ExactBytesWritten)
{
    struct Case { const char* name; int full, sound, resolution, pending; const char *unlocked, *option, *tutorial; }
    const cases[] = {
        {"fresh",          1, 1, 1, 1, "00", "111", "1"},
        {"all off",        0, 0, 0, 0, "12", "000", "0"},
        {"odd values",     5, -1, 2, -3, "2X", "112", "1"},
        {"bad resolution", 1, 0, 7, 0, "1", "101", "0"},
        {"neg resolution", 0, 1, -1, 1, "", "011", "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GameData data = StartValues();
        data.fullScreen = c.full;
        data.soundOn = c.sound;
        data.resolution = c.resolution;
        data.tutorialPending = c.pending;
        memset(data.unlockedShips, 'Z', 3); // the third byte unterminated
        memcpy(data.unlockedShips, c.unlocked, strlen(c.unlocked) < 2 ? strlen(c.unlocked) + 1 : 2);
        SaveOptionFile(&data);
        SaveTutorialFile(&data);
        SaveUnlockShipFile(&data);
        EXPECT_EQ(c.option, Get("Option.txt"));
        EXPECT_EQ(c.tutorial, Get("Tutorial.txt"));
        EXPECT_EQ(c.unlocked, Get("UnlockShip.txt"));
        EXPECT_EQ('\0', data.unlockedShips[2]);
        EXPECT_EQ(std::set<std::string>({"Option.txt", "Tutorial.txt", "UnlockShip.txt"}), Listing());
    }
}

TEST_F(SavedFiles, ScoreFile)
{
    struct Case { const char* name; float lastScore; const char* text; };
    const Case cases[] = {
        {"plain", 250.0f, "250"}, {"truncated", 99.9f, "99"}, {"toward zero", -99.9f, "-99"},
        {"largest below 1e9", 999999936.0f, "999999936"}, {"1e9", 1e9f, ""},
        {"most negative kept", -999999936.0f, "-999999936"}, {"-1e9", -1e9f, ""},
        {"infinite", INFINITY, ""}, {"NaN", NAN, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Put("Score.txt", "old");
        GameData data = StartValues();
        data.lastScore = c.lastScore;
        SaveScoreFile(&data);
        EXPECT_EQ(c.text, Get("Score.txt"));
    }
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

TEST_F(SavedFiles, FailedWriteKeepsOldFileThenResetWrites)
{
    const std::vector<std::string> old = {"002", "0", "22", "4321"};
    Put("Option.txt", old[0]);
    Put("Tutorial.txt", old[1]);
    Put("UnlockShip.txt", old[2]);
    Put("Score.txt", old[3]);

    // A file-size limit of 0 fails every write past the temporary file's creation, as a full disk.
    struct rlimit limit;
    getrlimit(RLIMIT_FSIZE, &limit);
    struct rlimit none = {0, limit.rlim_max};
    void (*oldHandler)(int) = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &none);
    WriteEverything();
    setrlimit(RLIMIT_FSIZE, &limit);
    signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(old, AllFour());
    EXPECT_EQ(allFour, Listing());

    // With room again the reset goes through and keeps the score.
    ResetSavedFiles();
    EXPECT_EQ((std::vector<std::string>{"111", "1", "00", "4321"}), AllFour());
    EXPECT_EQ(allFour, Listing());
}
