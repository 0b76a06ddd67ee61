// Game record: the start values of a fresh installation and the reset that
// opens every state, checked field by field so a forgotten field shows up.
#include <gtest/gtest.h>

#include <stddef.h>
#include <string.h>

#include "gamedata.h"
#include "vtapplication.h"

// Every field but unlockedShips is one 32-bit word; compare those words so the
// failing offset names the field that differs.
static void ExpectSameWords(const GameData& expected, const GameData& actual)
{
    for (size_t offset = 0; offset + 4 <= sizeof(GameData); offset += 4) {
        if (offset == offsetof(GameData, unlockedShips))
            continue;
        SCOPED_TRACE(offset);
        EXPECT_EQ(0, memcmp((const char*)&expected + offset, (const char*)&actual + offset, 4));
    }
}

TEST(GameData, StartValuesAreAFreshInstallation)
{
    GameData data;
    memset(&data, 0x5A, sizeof data);
    GameDataSetStartValues(&data);

    GameData expected;
    memset(&expected, 0, sizeof expected);
    expected.fullScreen = 1;
    expected.soundOn = 1;
    expected.resolution = 1;
    expected.tutorialPending = 1;
    expected.shipType = 1;
    expected.scoreMultiplier = 1;
    expected.level = 1;
    ExpectSameWords(expected, data);
    EXPECT_EQ(0, memcmp("00", data.unlockedShips, 3));
}
