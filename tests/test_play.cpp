// The play state run as the program runs it, headless at 60 frames a
// second: a level flown with spawns, pickups and hits, the world it builds,
// pause, F4, the game-over save and what Shutdown leaves for the next run.
#include <gtest/gtest.h>
#include <math.h>
#include <stdlib.h>
#include <string.h>

#include <set>
#include <utility>

#include "harness.h"
#include "play/play.h"
#include "states.h"
#include "vtinput.h"
#include "vtstatemanager.h"

namespace {

int Count(ObjectType* kind, int visibleOnly = 0)
{
    int n = 0;
    for (GameObject* o = playList; o; o = o->next)
        if (o->type == kind && (!visibleOnly || o->visible))
            n++;
    return n;
}

GameObject* Find(ObjectType* kind)
{
    for (GameObject* o = playList; o; o = o->next)
        if (o->type == kind)
            return o;
    return NULL;
}

GameObject* Ship()
{
    for (GameObject* o = playList; o; o = o->next)
        if (o->type == &Ship1Type || o->type == &Ship2Type || o->type == &Ship3Type)
            return o;
    return NULL;
}

// Starts play on frame 0 with the given ship and level; the state begins on
// frame 1.
void EnterPlay(int frame, GameData* data, int shipType, int level)
{
    if (frame == 0) {
        data->shipType = shipType;
        data->level = level;
        VTSMSetNextState(STATE_PLAY);
    }
}

} // namespace

TEST(Play, AFlownLevelSpawnsCollectsAndOpensTheWarp)
{
    struct Seen
    {
        int asteroidsSeen, satellitesSeen, pickupsSeen, boomsSeen;
        int pickupsCollected;
        float lastFuel;
        int warpOpen, warpFrame;
        int maxTiles, duplicateTiles;
        float stillCountdown[2];
        float launchHeight;
        int launchFrames;
    };
    static Seen* seen;
    seen = SharedBlock<Seen>();
    EXPECT_EQ(0, RunInChild([] {
        TempDataHome home;
        home.Write("Option.txt", "001");
        GameScript script;
        script.frames = 500;
        script.onFrame = [](int frame, GameData* data) {
            EnterPlay(frame, data, 1, 2);
            if (frame == 2)
                srand(20261206); // the same traffic on every run
            if (frame < 2)
                return;
            if (data->cameraHeight < 200.0f)
                seen->launchFrames = frame;
            else if (seen->launchHeight == 0.0f)
                seen->launchHeight = data->cameraHeight;
            // A still ship spawns nothing: held dead for a while after the
            // launch, no spawner's countdown moves.
            if (frame >= 128 && frame < 170)
                Ship()->state->velX = Ship()->state->velY = 0;
            if (frame == 132 || frame == 160) {
                float sum = 0;
                for (GameObject* o = playList; o; o = o->next)
                    if (o->type == &AsteroidSpawnerType || o->type == &SatelliteSpawnerType ||
                        o->type == &FuelSpawnerType)
                        sum += o->timer->time;
                seen->stillCountdown[frame == 160] = sum;
            }
            if (frame == 170)
                PostKey(38, 1); // thrust up from here on
            if (frame == 200)
                PostKey('Q', 1); // a pickup from every fuel spawner, every frame
            if (frame > 2)
                seen->pickupsCollected += data->fuel > seen->lastFuel;
            seen->lastFuel = data->fuel;
            if (frame == 480) {
                PostKey('3', 1); // the warp chord
                PostKey('4', 1);
            }
            seen->asteroidsSeen += Count(&Asteroid1Type, 1) + Count(&Asteroid3Type, 1) > 0;
            seen->satellitesSeen += Count(&SatelliteType, 1) + Count(&SatellitePart1Type, 1) > 0;
            seen->pickupsSeen += Count(&FuelPickupType, 1) > 0;
            seen->boomsSeen += Count(&BoomType) + Count(&CollideFlashType) > 0;
            if (data->warpOpen && !seen->warpOpen) {
                seen->warpOpen = 1;
                seen->warpFrame = frame;
            }
            // The tiles cover the view once each and leave with it.
            std::set<std::pair<float, float>> cells;
            int tiles = 0;
            for (GameObject* o = playList; o; o = o->next)
                if (o->type == &StaticBackgroundType) {
                    tiles++;
                    seen->duplicateTiles += !cells.insert({o->transform->x, o->transform->y}).second;
                }
            if (tiles > seen->maxTiles)
                seen->maxTiles = tiles;
        };
        RunGame(script);
    }));
    EXPECT_NEAR(121, seen->launchFrames, 2) << "a two-second launch";
    EXPECT_EQ(200.0f, seen->launchHeight);
    EXPECT_EQ(seen->stillCountdown[0], seen->stillCountdown[1]);
    EXPECT_GT(seen->asteroidsSeen, 100);
    EXPECT_GT(seen->satellitesSeen, 100);
    EXPECT_GT(seen->pickupsSeen, 100);
    EXPECT_GT(seen->boomsSeen, 0) << "level 2 traffic hits the ship or itself";
    EXPECT_GT(seen->pickupsCollected, 0);
    EXPECT_EQ(1, seen->warpOpen);
    EXPECT_EQ(0, seen->duplicateTiles);
    EXPECT_GT(seen->maxTiles, 0);
    EXPECT_LT(seen->maxTiles, 60);
}

TEST(Play, TheWorldFollowsShipAndLevel)
{
    struct Seen
    {
        int ship1, ship2, cover, homeVisible, spawners, pauseItems;
        int firstIsTiler, lastIsPauseItem;
        float gaugeWidth;
    };
    struct Case
    {
        int shipType, level;
    } cases[] = {{4, 1}, {2, 2}, {3, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "ship " << c.shipType << " level " << c.level);
        static Seen* seen;
        static Case current;
        current = c;
        seen = SharedBlock<Seen>();
        EXPECT_EQ(0, RunInChild([] {
            TempDataHome home;
            home.Write("Option.txt", "001");
            GameScript script;
            script.frames = 3;
            script.onFrame = [](int frame, GameData* data) {
                EnterPlay(frame, data, current.shipType, current.level);
                if (frame != 2)
                    return;
                seen->ship1 = Count(&Ship1Type);
                seen->ship2 = Count(&Ship2Type);
                seen->cover = Count(&Ship3CoverType);
                seen->homeVisible = Find(&HomeEarthType)->visible;
                seen->spawners = Count(&AsteroidSpawnerType) + Count(&FuelSpawnerType) + Count(&PlanetSpawnerType);
                seen->firstIsTiler = playList->type == &BackgroundTileType;
                GameObject* last = playList;
                while (last->next)
                    last = last->next;
                seen->lastIsPauseItem = last->type == &PauseResumeType;
                seen->gaugeWidth = Find(&FuelGaugeFullType)->transform->scaleX;
            };
            RunGame(script);
        }));
        EXPECT_EQ(c.shipType == 2 ? 0 : c.shipType == 3 ? 0 : 1, seen->ship1);
        EXPECT_EQ(c.shipType == 2 ? 1 : 0, seen->ship2);
        EXPECT_EQ(c.shipType == 3 ? 1 : 0, seen->cover);
        EXPECT_EQ(c.level == 1 ? 1 : 0, seen->homeVisible);
        EXPECT_EQ(7, seen->spawners);
        EXPECT_EQ(1, seen->firstIsTiler);
        EXPECT_EQ(1, seen->lastIsPauseItem) << "the pause items are drawn last, on top";
        EXPECT_FLOAT_EQ(285 * 0.5f, seen->gaugeWidth);
    }
}

TEST(Play, PauseFreezesTheWorldAndF4Quits)
{
    struct Seen
    {
        int pausedAfterBoth, pausedAfterSecond;
        float shipYPaused[2], cameraHeightPaused[2];
        int menuIndexMoved;
        int quitting, frames;
    };
    static Seen* seen;
    seen = SharedBlock<Seen>();
    EXPECT_EQ(0, RunInChild([] {
        TempDataHome home;
        home.Write("Option.txt", "001");
        GameScript script;
        script.frames = 400;
        script.onFrame = [](int frame, GameData* data) {
            EnterPlay(frame, data, 1, 1);
            seen->frames = frame;
            if (frame == 60) {
                PostKey(27, 1); // escape and tab in one frame: one toggle
                PostKey(9, 1);
            }
            if (frame == 61) {
                PostKey(27, 0);
                PostKey(9, 0);
                seen->pausedAfterBoth = data->paused;
                seen->shipYPaused[0] = Ship()->transform->y;
                seen->cameraHeightPaused[0] = data->cameraHeight;
                PostKey(40, 1); // the pause menu still runs
            }
            if (frame == 90) {
                PostKey(40, 0);
                seen->shipYPaused[1] = Ship()->transform->y;
                seen->cameraHeightPaused[1] = data->cameraHeight;
                seen->menuIndexMoved = data->menuIndex;
                PostKey(27, 1);
            }
            if (frame == 91) {
                PostKey(27, 0);
                seen->pausedAfterSecond = data->paused;
            }
            if (frame == 100)
                PostKey(115, 1); // F4
        };
        RunGame(script);
        seen->quitting = VTSMIsQuitting();
    }));
    EXPECT_EQ(1, seen->pausedAfterBoth);
    EXPECT_EQ(0, seen->pausedAfterSecond);
    EXPECT_EQ(seen->shipYPaused[0], seen->shipYPaused[1]);
    EXPECT_EQ(seen->cameraHeightPaused[0], seen->cameraHeightPaused[1]) << "the launch waits too";
    EXPECT_GT(seen->menuIndexMoved, 1) << "the pause menu moved down";
    EXPECT_EQ(1, seen->quitting);
    EXPECT_LT(seen->frames, 110) << "F4 ended the program";
}

TEST(Play, GameOverSavesOnceAndShutdownPreparesTheNextRun)
{
    struct Seen
    {
        int shipHidden;
        char scoreAfterDeath[16], unlockAfterDeath[8];
        int level, multiplier, combo;
    };
    static Seen* seen;
    seen = SharedBlock<Seen>();
    static TempDataHome* home;
    EXPECT_EQ(0, RunInChild([] {
        TempDataHome files;
        home = &files;
        files.Write("Option.txt", "001");
        files.Write("UnlockShip.txt", "10");
        GameScript script;
        script.frames = 40;
        script.onFrame = [](int frame, GameData* data) {
            EnterPlay(frame, data, 1, 1);
            if (frame == 10) {
                data->lastScore = 1234.0f;
                data->scoreMultiplier = 4;
                data->combo = 5;
                data->level = 0; // a fatal hit
            }
            if (frame == 12)
                seen->shipHidden = !Ship()->visible;
            if (frame == 20) {
                snprintf(seen->scoreAfterDeath, sizeof seen->scoreAfterDeath, "%s",
                         home->Read("Score.txt").c_str());
                home->Write("Score.txt", "untouched");
            }
            if (frame == 30)
                VTSMSetNextState(STATE_CREDIT);
            if (frame == 32) {
                seen->level = data->level;
                seen->multiplier = data->scoreMultiplier;
                seen->combo = data->combo;
                snprintf(seen->unlockAfterDeath, sizeof seen->unlockAfterDeath, "%s",
                         home->Read("UnlockShip.txt").c_str());
            }
        };
        RunGame(script);
        EXPECT_EQ("untouched", files.Read("Score.txt")) << "the save ran once";
    }));
    EXPECT_EQ(1, seen->shipHidden);
    EXPECT_STREQ("1234", seen->scoreAfterDeath);
    // Ship 2 unlocked earlier but not yet announced: the game-over screen
    // announces it and the Shutdown writes that down.
    EXPECT_STREQ("20", seen->unlockAfterDeath);
    EXPECT_EQ(1, seen->level);
    EXPECT_EQ(1, seen->multiplier);
    EXPECT_EQ(0, seen->combo);
}

TEST(Play, LosingFocusOrTheControllerPausesPlayOnly)
{
    struct Seen
    {
        int afterFocusLoss, afterResume, afterUnplug, afterPlugIn, menuPausedAfterFocusLoss, menuState;
    };
    static Seen* seen;
    seen = SharedBlock<Seen>();
    EXPECT_EQ(0, RunInChild([] {
        TempDataHome home;
        home.Write("Option.txt", "001");
        GameScript script;
        script.frames = 140;
        script.onFrame = [](int frame, GameData* data) {
            static VTPadState pad;
            EnterPlay(frame, data, 1, 1);
            switch (frame) {
            case 20:
                VTPlatformScriptPad(&pad); // a controller is there
                PostMessage(VT_WM_KILLFOCUS, 0, 0);
                break;
            case 21:
                seen->afterFocusLoss = data->paused;
                PostKey(27, 1);
                break;
            case 22:
                PostKey(27, 0);
                seen->afterResume = data->paused;
                VTPlatformScriptPad(NULL); // unplugged: noticed at the next frame's poll
                break;
            case 24:
                seen->afterUnplug = data->paused;
                PostKey(27, 1);
                break;
            case 25:
                PostKey(27, 0);
                VTPlatformScriptPad(&pad); // plugged in again: nothing happens
                break;
            case 28:
                seen->afterPlugIn = data->paused;
                VTSMSetNextState(STATE_MENU);
                break;
            case 130:
                seen->menuState = VTSMGetCurrentState();
                PostMessage(VT_WM_KILLFOCUS, 0, 0);
                VTPlatformScriptPad(NULL);
                break;
            case 132:
                seen->menuPausedAfterFocusLoss = data->paused;
                break;
            }
        };
        RunGame(script);
    }));
    EXPECT_EQ(1, seen->afterFocusLoss);
    EXPECT_EQ(0, seen->afterResume);
    EXPECT_EQ(1, seen->afterUnplug);
    EXPECT_EQ(0, seen->afterPlugIn);
    EXPECT_EQ(STATE_MENU, seen->menuState);
    EXPECT_EQ(0, seen->menuPausedAfterFocusLoss) << "menus are left alone";
}
