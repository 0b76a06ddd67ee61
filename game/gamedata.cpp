// gamedata.cpp -- start values of the game record and the reset that opens
// every state's Init.
#include "gamedata.h"

#include <stdlib.h>
#include <string.h>
#include <time.h>

#include "vtapplication.h"

void GameDataSetStartValues(GameData* data)
{
    memset(data, 0, sizeof(*data));

    // A fresh installation, in case the saved files are missing or short.
    strcpy(data->unlockedShips, "00");
    data->fullScreen = 1;
    data->soundOn = 1;
    data->resolution = 1;
    data->tutorialPending = 1;

    data->shipType = 1;
    data->score = 0.0f;
    data->combo = 0;
    data->scoreMultiplier = 1;
    data->gameOver = 0;
    data->level = 1;
}

void GameDataResetSession(GameData* data)
{
    srand((unsigned)time(NULL));

    // Taken here rather than on every resize, so a resolution change reaches
    // the layout at the next state's Init.
    data->screenWidth = (float)VTApplicationGetWidth();
    data->screenHeight = (float)VTApplicationGetHeight();

    data->shipAngle = 0.0f;
    data->shipDepth = 0.0f;
    data->shipRadius = 0.0f;
    data->fuel = 50.0f;
    data->shipScaleRatio = 0.0f;
    data->shipWidth = 0.0f;
    data->shipHeight = 0.0f;
    data->blackHoleDistance = 0.0f;
    data->boosting = 0;
    data->shipHit = 0;
    data->hitGraceTimer = 0.0f;
    data->shipX = 0.0f;
    data->shipY = 0.0f;
    data->antigravityActive = 0;
    data->shipHeading = 0.0f;
    data->paused = 0;
    data->focusX = 0.0f;
    data->focusY = 0.0f;
    data->cameraHeight = 100.0f;
    data->cameraShake = 0.0f;
    data->cameraX = 0.0f;
    data->cameraY = 0.0f;
    data->shipStepY = 0.0f;
    data->shipStepX = 0.0f;
    data->tutorialTimer = 0.0f;
    data->gameOver = 0;
    data->warpOpen = 0;
    data->scoreBoardReady = 0;
    data->menuIndex = 0;
    data->menuRepeatTimer = 0.0f;
    data->menuHeldDirection = 0;
    data->bigComboReached = 0;
    data->tryNewBlink = 0;
    data->gameOverPending = 1;
    data->tutorialStep = 0;
    data->tutorialSwallowed = 0;
    data->nearMissDistance = 0.0f;
    data->levelReached = 0;

    // Level 0 means the last run ended in death; a warp or a front-end screen
    // carries the running score and combo on.
    if (data->level == 0) {
        data->score = 0.0f;
        data->combo = 0;
    }
}
