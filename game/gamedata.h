// gamedata.h -- the game record every state and object logic shares: options,
// window size, the chosen ship, the progress of a run and the open menu's
// cursor. The state manager owns the one live copy after start-up.
#ifndef GAMEDATA_H
#define GAMEDATA_H

typedef struct GameData
{
    float shipAngle;          // ship heading, radians
    float shipDepth;          // z of the ship; afterimages sit 0.1 behind
    float shipRadius;         // half the ship's width: fuel pickup reach
    float fuel;               // 0..FULL_FUEL; full opens the warp, below -10 kills
    float shipScaleRatio;     // current width / base width
    float shipWidth;
    float shipHeight;
    float blackHoleDistance;  // lead over the black hole, at most 300; below 0 swallowed
    int boosting;             // 1 while the ship's special ability acts
    int shipHit;              // 1 when a collision hit the ship; the shield consumes it
    int shipType;             // 1, 2 or 3
    float hitGraceTimer;      // seconds of grace after a costly hit
    float shipX;
    float shipY;
    int antigravityActive;    // 1 while ship 3's wind reverses the planets' pull
    float shipHeading;
    int shipVisible;
    float screenWidth;        // client size in pixels
    float screenHeight;
    int fullScreen;           // option: 1 = full screen
    int soundOn;              // option: 1 = sound on
    int tutorialPending;      // 1 = the next start runs the tutorial
    int resolution;           // option: 0 = 1024x768, 1 = 1280x720, 2 = 1920x1080
    int paused;
    float focusX;             // camera focus: the ship's x and y + FOCUS_LEAD
    float focusY;
    float cameraHeight;       // eye height; CRUISE_HEIGHT once the launch is over
    float cameraShake;        // shake amplitude; also the warp-out timer
    float cameraX;
    float cameraY;
    float shipStepY;          // ship displacement over the last frame
    float shipStepX;
    float score;
    int combo;
    int comboDigitCount;
    int scoreMultiplier;      // doubles at every warp
    float lastScore;          // score of the living run; saved at game over
    float tutorialTimer;      // seconds since the current tutorial panel appeared
    int scoreDigitCount;
    int gameOver;             // 1 once the end-of-game save has run
    int warpOpen;
    int scoreBoardReady;
    int menuIndex;            // selected row of the open menu, from 1
    float menuRepeatTimer;
    int menuHeldDirection;    // direction of the cursor's last move while still held
    int level;                // 1, 2, ... playing; 0 dead; -1 tutorial
    char unlockedShips[3];    // ship 2 then ship 3: '0' locked, '1'/'2' unlocked; NUL
    int bigComboReached;
    int tryNewBlink;
    int gameOverPending;      // 1 until the end-of-game save has run since the reset
    int tutorialStep;
    int tutorialSwallowed;
    float stateTimer;
    float nearMissDistance;   // gap left by a graze, at most NEAR_MISS
    int levelReached;         // last level (from 1) play flew since the reset; 0 none. Kept
                              // through the death that sets level 0, for the records
} GameData;

// The fuel that fills the gauge and opens the warp.
static const float FULL_FUEL = 100.0f;
// The camera's eye height once the launch is over.
static const float CRUISE_HEIGHT = 200.0f;
// How far ahead of the ship the camera looks: focusY is the ship's y plus this.
static const float FOCUS_LEAD = 100.0f;

// The record as a fresh installation starts: everything 0, no ship unlocked,
// full screen, sound on, 1280x720, tutorial pending, level 1 with ship 1.
// Call before the saved files are read.
void GameDataSetStartValues(GameData* data);

// Opens every state's Init: reseeds rand(), takes the current window size and
// resets the per-run fields; score and combo are cleared only when level is 0.
void GameDataResetSession(GameData* data);

#endif
