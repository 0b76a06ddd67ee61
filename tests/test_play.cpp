// The play state run as the program runs it, headless at 60 frames a
// second: the launch view's rows, losing the focus or the controller. What
// play shows and does is in the reference runs (test_references.cpp).
#include <gtest/gtest.h>
#include <stdlib.h>

#include "harness.h"
#include "states.h"
#include "vtgraphics.h"
#include "vtstatemanager.h"

namespace {

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
