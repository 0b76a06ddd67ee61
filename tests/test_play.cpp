// The play state run as the program runs it, headless at 60 frames a
// second: a level flown with spawns, pickups and hits, the world it builds,
// pause, F4, and losing the focus or the controller.
#include <gtest/gtest.h>
#include <math.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <set>
#include <utility>

#include "harness.h"
#include "play/play.h"
#include "play/recordshud.h"
#include "states.h"
#include "vtgraphics.h"
#include "vtinput.h"
#include "vtstatemanager.h"

namespace {

int Count(ObjectType* kind, int visibleOnly = 0)
{
    int n = 0;
    for (GameObject* o = playList; o; o = o->next)
        n += o->type == kind && (!visibleOnly || o->visible);
    return n;
}

GameObject* Find(ObjectType* kind, ObjectType* orKind = NULL, ObjectType* orThird = NULL)
{
    GameObject* o = playList;
    while (o && o->type != kind && o->type != orKind && o->type != orThird)
        o = o->next;
    return o;
}

GameObject* Ship() { return Find(&Ship1Type, &Ship2Type, &Ship3Type); }

// Runs the program with sound off, entering play with the given ship and
// level on frame 0 (the state begins on frame 1), the script's checks
// inside; returns the last frame the script saw.
const TempDataHome* home;

int RunPlay(int frames, void (*onFrame)(int, GameData*), int shipType = 1, int level = 1, const char* unlocks = "00")
{
    static int* last;
    static void (*body)(int, GameData*);
    static int ship, startLevel;
    last = SharedBlock<int>();
    body = onFrame;
    ship = shipType;
    startLevel = level;
    EXPECT_EQ(0, RunInChild([frames, unlocks] {
        TempDataHome files;
        home = &files;
        files.Write("Option.txt", "001");
        files.Write("UnlockShip.txt", unlocks);
        GameScript script;
        script.frames = frames;
        script.onFrame = [](int frame, GameData* data) {
            if (frame == 0) {
                data->shipType = ship;
                data->level = startLevel;
                VTSMSetNextState(STATE_PLAY);
            }
            *last = frame;
            body(frame, data);
        };
        RunGame(script);
    }));
    return *last;
}

} // namespace

TEST(Play, AFlownLevelSpawnsCollectsAndOpensTheWarp)
{
    int last = RunPlay(500, [](int frame, GameData* data) {
        static int asteroids, satellites, pickups, booms, collected, warpOpen, maxTiles, launchFrames;
        static float lastFuel, stillCountdown;
        if (frame == 2)
            srand(20261206); // the same traffic on every run
        if (frame < 2)
            return;
        if (data->cameraHeight < 200.0f)
            launchFrames = frame;
        else
            EXPECT_EQ(200.0f, data->cameraHeight) << "the launch ends at exactly 200";
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
            if (frame == 160) {
                EXPECT_EQ(stillCountdown, sum);
            }
            stillCountdown = sum;
        }
        if (frame == 170)
            PostKey(38, 1); // thrust up from here on
        if (frame == 200)
            PostKey('Q', 1); // a pickup from every fuel spawner, every frame
        if (frame > 2)
            collected += data->fuel > lastFuel;
        lastFuel = data->fuel;
        if (frame == 480) {
            PostKey('3', 1); // the warp chord
            PostKey('4', 1);
        }
        asteroids += Count(&Asteroid1Type, 1) + Count(&Asteroid3Type, 1) > 0;
        satellites += Count(&SatelliteType, 1) + Count(&SatellitePart1Type, 1) > 0;
        pickups += Count(&FuelPickupType, 1) > 0;
        booms += Count(&BoomType) + Count(&CollideFlashType) > 0;
        warpOpen |= data->warpOpen;
        // The tiles cover the view once each and leave with it.
        std::set<std::pair<float, float>> cells;
        for (GameObject* o = playList; o; o = o->next) {
            if (o->type == &StaticBackgroundType) {
                EXPECT_TRUE(cells.insert({o->transform->x, o->transform->y}).second) << "a tile laid twice";
            }
        }
        maxTiles = std::max(maxTiles, (int)cells.size());
        if (frame < 499)
            return;
        EXPECT_NEAR(121, launchFrames, 2) << "a two-second launch";
        EXPECT_GT(asteroids, 100);
        EXPECT_GT(satellites, 100);
        EXPECT_GT(pickups, 100);
        EXPECT_GT(booms, 0) << "level 2 traffic hits the ship or itself";
        EXPECT_GT(collected, 0);
        EXPECT_EQ(1, warpOpen);
        EXPECT_GT(maxTiles, 0);
        EXPECT_LT(maxTiles, 60);
    }, 1, 2);
    EXPECT_EQ(499, last);
}

TEST(Play, TheWorldFollowsShipAndLevel)
{
    struct Case { int shipType, level; };
    static const Case cases[] = {{4, 1}, {2, 2}, {3, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "ship " << c.shipType << " level " << c.level);
        static const Case* now;
        now = &c;
        RunPlay(3, [](int frame, GameData* data) {
            if (frame != 2)
                return;
            EXPECT_GT(Find(&FuelGaugeEmptyType)->transform->y, data->screenHeight / 2) << "the gauge is clear of the ship";
            EXPECT_EQ(now->shipType == 2 || now->shipType == 3 ? 0 : 1, Count(&Ship1Type));
            EXPECT_EQ(now->shipType == 2, Count(&Ship2Type));
            EXPECT_EQ(now->shipType == 3, Count(&Ship3CoverType));
            EXPECT_EQ(now->level == 1, Find(&HomeEarthType)->visible);
            EXPECT_EQ(7, Count(&AsteroidSpawnerType) + Count(&FuelSpawnerType) + Count(&PlanetSpawnerType));
            EXPECT_EQ(&BackgroundTileType, playList->type);
            GameObject* last = playList;
            while (last->next)
                last = last->next;
            EXPECT_EQ(&PauseResumeType, last->type) << "the pause items are drawn last, on top";
        }, c.shipType, c.level);
    }
}

TEST(Play, TheLaunchViewHasNoLineAcrossIt)
{
    // Every frame of the first four seconds at 1280 x 720, the camera rising
    // past the earth and the black hole's edge: no row differs from the rows
    // above and below it across (nearly) the whole width, as a picture's
    // edge bleeding through filtering would make it.
    RunPlay(240, [](int frame, GameData*) {
        static VTCapture capture;
        if (capture.pixels) {
            const int w = capture.width, h = capture.height;
            auto lum = [&](int x, int y) {
                const unsigned char* p = capture.pixels + 3 * (y * w + x);
                return p[0] + p[1] + p[2];
            };
            for (int y = 1; y + 1 < h; y++) {
                int lit = 0;
                for (int x = 0; x < w; x++)
                    lit += abs(2 * lum(x, y) - lum(x, y - 1) - lum(x, y + 1)) > 2 * 3 * 4;
                EXPECT_LT(lit, w * 9 / 10) << "a line across row " << h - 1 - y << " of frame " << frame - 1;
            }
            VTGraphicsFreeCapture(&capture);
        }
        if (frame < 236) // the last capture is read and freed before the run ends
            VTGraphicsCaptureNextFrame(&capture);
    });
}

TEST(Play, PauseFreezesTheWorldAndF4Quits)
{
    int last = RunPlay(400, [](int frame, GameData* data) {
        static float shipY, cameraHeight;
        if (frame == 60 || frame == 61) {
            PostKey(27, frame == 60); // escape and tab in one frame: one toggle
            PostKey(9, frame == 60);
        }
        if (frame == 61) {
            EXPECT_EQ(1, data->paused);
            shipY = Ship()->transform->y;
            cameraHeight = data->cameraHeight;
            PostKey(40, 1); // the pause menu still runs
        }
        if (frame == 90) {
            PostKey(40, 0);
            EXPECT_EQ(shipY, Ship()->transform->y);
            EXPECT_EQ(cameraHeight, data->cameraHeight) << "the launch waits too";
            EXPECT_GT(data->menuIndex, 1) << "the pause menu moved down";
            PostKey(27, 1);
        }
        if (frame == 91) {
            PostKey(27, 0);
            EXPECT_EQ(0, data->paused);
        }
        if (frame == 100)
            PostKey(115, 1); // F4
    });
    EXPECT_GT(last, 91);
    EXPECT_LT(last, 110) << "F4 ended the program";
}

TEST(Play, GameOverSavesOnceAndShutdownPreparesTheNextRun)
{
    int last = RunPlay(40, [](int frame, GameData* data) {
        if (frame == 10) {
            data->lastScore = 1234.0f;
            data->score = 5000.0f;
            data->scoreMultiplier = 4;
            data->combo = 5;
            data->level = 0; // a fatal hit
        }
        if (frame == 12) {
            EXPECT_EQ(0, Ship()->visible);
        }
        if (frame == 20) {
            EXPECT_EQ("1234", home->Read("Score.txt"));
            home->Write("Score.txt", "untouched");
            // The run enters the records with the level flown and the banked score.
            long long score = 0;
            int level = 0;
            EXPECT_EQ(2, sscanf(home->Read("Scores.txt").c_str(), "KELVARO SCORES 1\n1 %lld %d ", &score, &level));
            EXPECT_EQ(2, level);
            EXPECT_EQ(5000 + 4 * 5, score);
            EXPECT_EQ(1, Count(&NewRecordType)) << "the first run is a record";
        }
        if (frame == 30)
            VTSMSetNextState(STATE_CREDIT);
        if (frame == 32) {
            EXPECT_EQ(1, data->level);
            EXPECT_EQ(1, data->scoreMultiplier);
            EXPECT_EQ(0, data->combo);
            // Ship 2 unlocked earlier but not yet announced: the game-over
            // screen announces it and the Shutdown writes that down.
            EXPECT_EQ("20", home->Read("UnlockShip.txt"));
        }
        if (frame == 39) {
            EXPECT_EQ("untouched", home->Read("Score.txt")) << "the save ran once";
            std::string scores = home->Read("Scores.txt");
            EXPECT_EQ(2, std::count(scores.begin(), scores.end(), '\n')) << "and entered the records once";
        }
    }, 1, 2, "10");
    EXPECT_EQ(39, last);
}

TEST(Play, LosingFocusOrTheControllerPausesPlayOnly)
{
    int last = RunPlay(140, [](int frame, GameData* data) {
        static VTPadState pad;
        const int pausedAt[][2] = {{21, 1}, {22, 0}, {24, 1}, {28, 0}};
        for (const auto& check : pausedAt) {
            if (frame == check[0]) {
                EXPECT_EQ(check[1], data->paused) << frame;
            }
        }
        switch (frame) {
        case 20:
            VTPlatformScriptPad(&pad); // a controller is there
            PostMessage(VT_WM_KILLFOCUS, 0, 0);
            break;
        case 21:
        case 24:
            PostKey(27, 1);
            break;
        case 22:
            PostKey(27, 0);
            VTPlatformScriptPad(NULL); // unplugged: noticed at the next frame's poll
            break;
        case 25:
            PostKey(27, 0);
            VTPlatformScriptPad(&pad); // plugged in again: nothing happens
            break;
        case 28:
            VTSMSetNextState(STATE_MENU);
            break;
        case 130:
            EXPECT_EQ(STATE_MENU, VTSMGetCurrentState());
            PostMessage(VT_WM_KILLFOCUS, 0, 0);
            VTPlatformScriptPad(NULL);
            break;
        case 132:
            EXPECT_EQ(0, data->paused) << "menus are left alone";
            break;
        }
    });
    EXPECT_EQ(139, last);
}
